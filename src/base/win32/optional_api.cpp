// Run-time lookups of the functions in optional_api.h: one static per entry, resolved once.
#include "base/win32/optional_api.h"

#include <algorithm>
#include <cstring>

namespace quelvar::optional_api {

namespace {

// True when the comma-separated list in the environment variable holds `name`. No allocation,
// no static and no lock: the runtime's lock set-up asks it before the program has started.
bool Listed(const char* variable, const char* name) {
  char list[512];
  const DWORD length = ::GetEnvironmentVariableA(variable, list, sizeof list);
  if (length == 0 || length >= sizeof list) return false;
  const std::size_t size = std::strlen(name);
  for (const char* item = list;;) {
    const char* comma = std::strchr(item, ',');
    const std::size_t itemSize = comma != nullptr ? static_cast<std::size_t>(comma - item) : std::strlen(item);
    if (itemSize == size && std::strncmp(item, name, size) == 0) return true;
    if (comma == nullptr) return false;
    item = comma + 1;
  }
}

// ---- The stubs QUELVAR_STUB_API puts in place: each does nothing and fails. ----------------

BOOL Refuse() {
  ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return FALSE;
}
BOOL WINAPI StubTrackMouseEvent(LPTRACKMOUSEEVENT) { return Refuse(); }
BOOL WINAPI StubInitCommonControlsEx(const INITCOMMONCONTROLSEX*) { return Refuse(); }
BOOL WINAPI StubGlobalMemoryStatusEx(LPMEMORYSTATUSEX) { return Refuse(); }
BOOL WINAPI StubMoveFileExA(LPCSTR, LPCSTR, DWORD) { return FALSE; }
LONG WINAPI StubNtQuerySystemInformation(ULONG, PVOID, ULONG, PULONG) {
  return static_cast<LONG>(0xC0000002L);  // STATUS_NOT_IMPLEMENTED
}
HANDLE WINAPI StubIcmpCreateFile() {
  Refuse();
  return INVALID_HANDLE_VALUE;
}
BOOL WINAPI StubIcmpCloseHandle(HANDLE) { return Refuse(); }
DWORD WINAPI StubIcmpSendEcho(HANDLE, ULONG, LPVOID, WORD, LPVOID, LPVOID, DWORD, DWORD) { return Refuse(); }
BOOL WINAPI StubOpenProcessToken(HANDLE, DWORD, PHANDLE) { return Refuse(); }
BOOL WINAPI StubLookupPrivilegeValueA(LPCSTR, LPCSTR, PLUID) { return Refuse(); }
BOOL WINAPI StubAdjustTokenPrivileges(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD) {
  return Refuse();
}

// The export, or null when the entry is hidden or the module lacks it; the stub when stubbed.
template <typename Fn>
Fn Lookup(HMODULE module, const char* exportName, const char* entryName, Fn stub) {
  if (IsHidden(entryName)) return nullptr;
  if (IsStubbed(entryName)) return stub;
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, exportName)));
}

// A system DLL the program already maps, or one it loads for good (never freed: the pointers
// handed out stay valid for the life of the process).
HMODULE Module(const char* name) {
  HMODULE module = ::GetModuleHandleA(name);
  return module != nullptr ? module : ::LoadLibraryA(name);
}

}  // namespace

bool IsHidden(const char* name) { return Listed("QUELVAR_HIDE_API", name); }
bool IsStubbed(const char* name) { return Listed("QUELVAR_STUB_API", name); }

TrackMouseEventFn TrackMouseEvent() {
  static const auto fn = Lookup<TrackMouseEventFn>(Module("user32.dll"), "TrackMouseEvent",
                                                   "TrackMouseEvent", &StubTrackMouseEvent);
  return fn;
}

TrackMouseEventFn ComctlTrackMouseEvent() {
  static const auto fn = Lookup<TrackMouseEventFn>(Module("comctl32.dll"), "_TrackMouseEvent",
                                                   "_TrackMouseEvent", &StubTrackMouseEvent);
  return fn;
}

InitCommonControlsExFn InitCommonControlsEx() {
  static const auto fn =
      Lookup<InitCommonControlsExFn>(Module("comctl32.dll"), "InitCommonControlsEx",
                                     "InitCommonControlsEx", &StubInitCommonControlsEx);
  return fn;
}

GlobalMemoryStatusExFn GlobalMemoryStatusEx() {
  static const auto fn =
      Lookup<GlobalMemoryStatusExFn>(Module("kernel32.dll"), "GlobalMemoryStatusEx",
                                     "GlobalMemoryStatusEx", &StubGlobalMemoryStatusEx);
  return fn;
}

MoveFileExAFn MoveFileExA() {
  static const auto fn =
      Lookup<MoveFileExAFn>(Module("kernel32.dll"), "MoveFileExA", "MoveFileExA", &StubMoveFileExA);
  return fn;
}

NtQuerySystemInformationFn NtQuerySystemInformation() {
  static const auto fn = Lookup<NtQuerySystemInformationFn>(
      ::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation", "NtQuerySystemInformation",
      &StubNtQuerySystemInformation);
  return fn;
}

const IcmpFunctions& Icmp() {
  static const IcmpFunctions functions = [] {
    for (const char* library : {"icmp.dll", "iphlpapi.dll"}) {
      IcmpFunctions found;
      const bool lookUp = !IsHidden("Icmp") && !IsStubbed("Icmp");
      HMODULE module = lookUp ? ::LoadLibraryA(library) : nullptr;
      found.create = Lookup<IcmpCreateFileFn>(module, "IcmpCreateFile", "Icmp", &StubIcmpCreateFile);
      found.close = Lookup<IcmpCloseHandleFn>(module, "IcmpCloseHandle", "Icmp", &StubIcmpCloseHandle);
      found.sendEcho = Lookup<IcmpSendEchoFn>(module, "IcmpSendEcho", "Icmp", &StubIcmpSendEcho);
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
    found.openProcessToken =
        Lookup<OpenProcessTokenFn>(module, "OpenProcessToken", "Token", &StubOpenProcessToken);
    found.lookupPrivilegeValue = Lookup<LookupPrivilegeValueAFn>(
        module, "LookupPrivilegeValueA", "Token", &StubLookupPrivilegeValueA);
    found.adjustTokenPrivileges = Lookup<AdjustTokenPrivilegesFn>(
        module, "AdjustTokenPrivileges", "Token", &StubAdjustTokenPrivileges);
    return found ? found : TokenFunctions{};
  }();
  return functions;
}

namespace {

// Same layout as the SDK's DLLVERSIONINFO (cbSize, major, minor, build, platform).
struct VersionInfo {
  DWORD cbSize, dwMajorVersion, dwMinorVersion, dwBuildNumber, dwPlatformID;
};
using DllGetVersionFn = HRESULT(CALLBACK*)(VersionInfo*);
HRESULT CALLBACK StubDllGetVersion(VersionInfo*) { return E_NOTIMPL; }

// The packed version a DLL's DllGetVersion reports; 4.00 when it has none or it fails, since
// every later version of the common controls and the shell has one.
unsigned DllVersion(const char* library, const char* entryName) {
  const auto getVersion = Lookup<DllGetVersionFn>(Module(library), "DllGetVersion", entryName, &StubDllGetVersion);
  VersionInfo info{};
  info.cbSize = sizeof(info);
  if (getVersion == nullptr || FAILED(getVersion(&info)) || info.dwMajorVersion == 0) return 400;
  return static_cast<unsigned>(info.dwMajorVersion * 100 + std::min<DWORD>(info.dwMinorVersion, 99));
}

}  // namespace

unsigned CommonControlsVersion() {
  static const unsigned version = DllVersion("comctl32.dll", "ComctlDllGetVersion");
  return version;
}

unsigned ShellVersion() {
  static const unsigned version = DllVersion("shell32.dll", "ShellDllGetVersion");
  return version;
}

}  // namespace quelvar::optional_api
