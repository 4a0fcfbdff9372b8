// Shell service on Windows; see win32_shell.h.
#include "base/win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "base/win32/optional_api.h"
#include "base/win32/unique_handle.h"

namespace quelvar {

long Win32Shell::RunCommandLine(const std::string& commandLine, int windowStyle) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION process{};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return 0;
  }
  UniqueKernelHandle thread(process.hThread);
  UniqueKernelHandle handle(process.hProcess);
  return static_cast<long>(process.dwProcessId);
}

long Win32Shell::OpenDocument(std::uintptr_t owner, const std::string& file,
                              const std::string& directory, int showCommand) {
  const HINSTANCE result =
      ::ShellExecuteA(reinterpret_cast<HWND>(owner), nullptr, file.c_str(), nullptr,
                      directory.c_str(), showCommand);
  return static_cast<long>(reinterpret_cast<INT_PTR>(result));
}

long Win32Shell::EnableShutdownPrivilege() {
  // The 95 line has no privileges: nothing to enable, and shutting down needs none.
  const optional_api::TokenFunctions& api = optional_api::Token();
  if (!api) return 0;
  // Where the functions are there but fail (the 95 line's stubs), there is nothing to adjust.
  HANDLE rawToken = nullptr;
  if (!api.openProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) {
    return 0;
  }
  UniqueKernelHandle token(rawToken);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  if (!api.lookupPrivilegeValue("", "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return 0;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  // The previous-state buffer holds one privilege (16 bytes).
  TOKEN_PRIVILEGES previous{};
  DWORD previousSize = sizeof(previous);
  return api.adjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof(previous), &previous,
                                 &previousSize);
}

long Win32Shell::EndWindowsSession(unsigned flags, unsigned reason) {
  return ::ExitWindowsEx(flags, reason);
}

}  // namespace quelvar
