// The shell services the main window uses: starting a command line, opening a document,
// and restarting Windows. Behind an interface so tests record the calls instead of running
// Control Panel applets or restarting the machine.
#pragma once
#include <cstdint>
#include <string>

namespace quelvar {

inline constexpr unsigned kExitWindowsReboot = 2;
inline constexpr unsigned kShutdownReasonAll = 0xFFFFFFFFu;
inline constexpr int kShowNormal = 1;

class ShellService {
 public:
  virtual ~ShellService() = default;
  // Starts `commandLine` with the given show-window style and does not wait for it.
  virtual long RunCommandLine(const std::string& commandLine, int windowStyle) = 0;
  // Shell-executes `file` with the default verb and no parameters.
  virtual long OpenDocument(std::uintptr_t owner, const std::string& file,
                            const std::string& directory, int showCommand) = 0;
  // Enables the shutdown privilege in the process's token. True when it is enabled, or where
  // the system has no privileges (the 95 line: shutting down needs none); false when Windows
  // would refuse to shut down for the want of it.
  virtual bool EnableShutdownPrivilege() = 0;
  // Asks Windows to end the session.
  virtual long EndWindowsSession(unsigned flags, unsigned reason) = 0;
};

void SetShellService(ShellService& shell);
ShellService& Shell();

}  // namespace quelvar
