// The shell service on Windows: CreateProcessA without waiting, ShellExecuteA, the token's
// shutdown privilege and ExitWindowsEx.
#pragma once
#include "base/shell.h"

namespace quelvar {

class Win32Shell final : public ShellService {
 public:
  long RunCommandLine(const std::string& commandLine, int windowStyle) override;
  long OpenDocument(std::uintptr_t owner, const std::string& file, const std::string& directory,
                    int showCommand) override;
  bool EnableShutdownPrivilege() override;
  long EndWindowsSession(unsigned flags, unsigned reason) override;
};

}  // namespace quelvar
