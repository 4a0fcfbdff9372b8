// Run-time lookups of the functions in optional_api.h: one static per entry, resolved once.
#include "base/win32/optional_api.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quelvar::optional_api {

namespace {

// The hidden-entry list is read once; the environment does not change under a running program.
const std::string& HiddenList() {
  static const std::string list = [] {
    char buffer[512] = {};
    const DWORD length = ::GetEnvironmentVariableA("QUELVAR_HIDE_API", buffer, sizeof buffer);
    std::string names;
    if (length > 0 && length < sizeof buffer) {
      names.reserve(length + 2);
      names.push_back(',');
      names.append(buffer, length);
      names.push_back(',');
    }
    return names;
  }();
  return list;
}

template <typename Fn>
Fn Lookup(HMODULE module, const char* exportName, const char* entryName) {
  if (module == nullptr || IsHidden(entryName)) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, exportName)));
}

// A system DLL the program already maps, or one it loads for good (never freed: the pointers
// handed out stay valid for the life of the process).
HMODULE Module(const char* name) {
  HMODULE module = ::GetModuleHandleA(name);
  return module != nullptr ? module : ::LoadLibraryA(name);
}

}  // namespace

bool IsHidden(const char* name) {
  const std::string& list = HiddenList();
  if (list.empty()) return false;
  std::string needle(1, ',');
  needle.append(name);
  needle.push_back(',');
  return list.find(needle) != std::string::npos;
}

TrackMouseEventFn TrackMouseEvent() {
  static const auto fn =
      Lookup<TrackMouseEventFn>(Module("user32.dll"), "TrackMouseEvent", "TrackMouseEvent");
  return fn;
}

TrackMouseEventFn ComctlTrackMouseEvent() {
  static const auto fn =
      Lookup<TrackMouseEventFn>(Module("comctl32.dll"), "_TrackMouseEvent", "_TrackMouseEvent");
  return fn;
}

InitCommonControlsExFn InitCommonControlsEx() {
  static const auto fn = Lookup<InitCommonControlsExFn>(Module("comctl32.dll"),
                                                        "InitCommonControlsEx", "InitCommonControlsEx");
  return fn;
}

GlobalMemoryStatusExFn GlobalMemoryStatusEx() {
  static const auto fn = Lookup<GlobalMemoryStatusExFn>(Module("kernel32.dll"),
                                                        "GlobalMemoryStatusEx", "GlobalMemoryStatusEx");
  return fn;
}

MoveFileExAFn MoveFileExA() {
  static const auto fn = Lookup<MoveFileExAFn>(Module("kernel32.dll"), "MoveFileExA", "MoveFileExA");
  return fn;
}

NtQuerySystemInformationFn NtQuerySystemInformation() {
  static const auto fn = Lookup<NtQuerySystemInformationFn>(
      ::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation", "NtQuerySystemInformation");
  return fn;
}

const IcmpFunctions& Icmp() {
  static const IcmpFunctions functions = [] {
    for (const char* library : {"icmp.dll", "iphlpapi.dll"}) {
      IcmpFunctions found;
      HMODULE module = IsHidden("Icmp") ? nullptr : ::LoadLibraryA(library);
      found.create = Lookup<IcmpCreateFileFn>(module, "IcmpCreateFile", "Icmp");
      found.close = Lookup<IcmpCloseHandleFn>(module, "IcmpCloseHandle", "Icmp");
      found.sendEcho = Lookup<IcmpSendEchoFn>(module, "IcmpSendEcho", "Icmp");
      if (found) return found;
      if (module != nullptr) ::FreeLibrary(module);
    }
    return IcmpFunctions{};
  }();
  return functions;
}

const TokenFunctions& Token() {
  static const TokenFunctions functions = [] {
    HMODULE module = Module("advapi32.dll");
    TokenFunctions found;
    found.openProcessToken = Lookup<OpenProcessTokenFn>(module, "OpenProcessToken", "Token");
    found.lookupPrivilegeValue = Lookup<LookupPrivilegeValueAFn>(module, "LookupPrivilegeValueA", "Token");
    found.adjustTokenPrivileges = Lookup<AdjustTokenPrivilegesFn>(module, "AdjustTokenPrivileges", "Token");
    return found ? found : TokenFunctions{};
  }();
  return functions;
}

namespace {

// The packed version a DLL's DllGetVersion reports, 0 when it has none or it fails.
unsigned DllVersion(const char* library, const char* entryName) {
  // Same layout as the SDK's DLLVERSIONINFO (cbSize, major, minor, build, platform).
  struct VersionInfo {
    DWORD cbSize, dwMajorVersion, dwMinorVersion, dwBuildNumber, dwPlatformID;
  };
  using DllGetVersionFn = HRESULT(CALLBACK*)(VersionInfo*);
  const auto getVersion = Lookup<DllGetVersionFn>(Module(library), "DllGetVersion", entryName);
  if (getVersion == nullptr) return 0;
  VersionInfo info{};
  info.cbSize = sizeof(info);
  if (FAILED(getVersion(&info))) return 0;
  return static_cast<unsigned>(info.dwMajorVersion * 100 + std::min<DWORD>(info.dwMinorVersion, 99));
}

}  // namespace

unsigned CommonControlsVersion() {
  static const unsigned version = [] {
    const unsigned reported = DllVersion("comctl32.dll", "ComctlDllGetVersion");
    if (reported != 0) return reported;
    return InitCommonControlsEx() != nullptr ? 470u : 400u;
  }();
  return version;
}

unsigned ShellVersion() {
  static const unsigned version = [] {
    const unsigned reported = DllVersion("shell32.dll", "ShellDllGetVersion");
    return reported != 0 ? reported : 400u;
  }();
  return version;
}

}  // namespace quelvar::optional_api
