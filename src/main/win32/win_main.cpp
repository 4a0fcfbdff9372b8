// WinMain: wires the Win32 services into the program, runs the main window's start-up and
// the message loop. Only the main window ends the loop. Everything runs behind the failure
// net; a failure that no message loop is left to report is shown before the program ends.
#include <windows.h>
#include <commctrl.h>

#include "base/clock.h"
#include "base/file_system.h"
#include "base/message_box.h"
#include "base/program_folder.h"
#include "base/shell.h"
#include "base/system_features.h"
#include "base/win32/failure_net.h"
#include "base/win32/module_file.h"
#include "base/win32/optional_api.h"
#include "base/win32/win32_clock.h"
#include "base/win32/win32_file_system.h"
#include "base/win32/win32_message_box.h"
#include "base/win32/win32_shell.h"
#include "base/os_family.h"
#include "base/win32/windows_version.h"
#include "main/command_line.h"
#include "main/win32/frm_main.h"
#include "tuning/tuning_profile.h"
#include "ui/win32/msg_frm.h"
#include "memory/free_ram.h"
#include "memory/win32/win32_memory_system.h"
#include "registry/win32/win32_registry.h"

namespace {

// Whether a balloon box of this process is still up (other copies of Quelvar may show theirs).
bool OwnNoticeShown() {
  for (HWND notice = ::FindWindowExA(nullptr, nullptr, quelvar::kMsgFrmClass, nullptr);
       notice != nullptr;
       notice = ::FindWindowExA(nullptr, notice, quelvar::kMsgFrmClass, nullptr)) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(notice, &process);
    if (process == ::GetCurrentProcessId()) return true;
  }
  return false;
}

// A command given on the command line: run without a window; the usage (/?) in the balloon box
// until the user closes it, a refusal of the arguments in a balloon that closes by itself, so a
// script with a wrong line does not wait for a click.
int RunCommandLine(const quelvar::ParsedCommand& command, const std::string& commandLine) {
  quelvar::setOsFamily(quelvar::QueryWindowsVersion());
  quelvar::LoadTuningPresets();
  char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD computerLength = sizeof computer;
  if (!::GetComputerNameA(computer, &computerLength)) computer[0] = '\0';
  const quelvar::CommandReport report = quelvar::RunCommand(command, commandLine, computer);
  if (report.boxText.empty()) return report.exitCode;
  const float x = static_cast<float>(::GetSystemMetrics(SM_CXSCREEN)) / 2 - 100;
  const float y = static_cast<float>(::GetSystemMetrics(SM_CYSCREEN)) / 3;
  if (command.action == quelvar::CommandAction::kUsage) {
    quelvar::msg_Box(report.boxText, quelvar::OKOnly + quelvar::Information,
                     "Quelvar command line", true, "", "", "", "", 0, x, y, 0);
    return report.exitCode;
  }
  constexpr std::int16_t kNoticeSeconds = 30;
  quelvar::MsgAuto_box(report.boxText, quelvar::Exclamation, "Quelvar command line",
                       kNoticeSeconds, true, 0, x, y, 0);
  while (OwnNoticeShown()) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT);
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
  return report.exitCode;
}

int RunQuelvar(int showCommand, const std::string& commandLine) {
  quelvar::PrepareFailureReport();
  // Only the flags the installed common controls know: a flag they do not know fails the whole
  // registration. The original ones (4.00, Windows 95 and NT 4) have only InitCommonControls,
  // which registers every class they offer; it stands in wherever the registration fails.
  const auto features = quelvar::CommonControlsFeaturesFor(quelvar::optional_api::CommonControlsVersion());
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  if (features.standardClasses) controls.dwICC |= ICC_STANDARD_CLASSES;
  const auto initEx = quelvar::optional_api::InitCommonControlsEx();
  if (initEx == nullptr || !initEx(&controls)) ::InitCommonControls();

  const std::string exePath = quelvar::ModuleFileName();
  if (exePath.empty()) {
    ::MessageBoxA(nullptr,
                  "Quelvar cannot find out which folder it was started from, so it cannot read "
                  "its data files. Start it again from its own folder.",
                  "Quelvar", MB_OK | MB_ICONSTOP);
    return 1;
  }
  quelvar::SetProgramFolder(quelvar::FolderOfPath(exePath));

  quelvar::Win32FileSystem files;
  quelvar::SetFileSystem(files);
  quelvar::Win32Clock clock;
  quelvar::SetClock(clock);
  quelvar::Win32MessageBox messageBoxes;
  quelvar::SetMessageBoxService(messageBoxes);
  static quelvar::Win32Registry registry;
  quelvar::SetRegistryBackend(registry);

  quelvar::Win32Shell shell;
  quelvar::SetShellService(shell);

  // Arguments make a command that runs without the main window.
  const quelvar::ParsedCommand command =
      quelvar::ParseCommandLine(quelvar::SplitCommandLine(commandLine));
  if (command.action != quelvar::CommandAction::kNone || !command.problem.empty()) {
    return RunCommandLine(command, commandLine);
  }

  quelvar::Win32MemorySystem memory;
  quelvar::SetMemorySystem(memory);

  quelvar::frmMain mainWindow;
  if (!mainWindow.Start(showCommand)) {
    ::MessageBoxA(nullptr, "Quelvar could not open its main window.", "Quelvar",
                  MB_OK | MB_ICONSTOP);
    return 1;
  }

  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (mainWindow.PreTranslate(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showCommand) {
  const std::string arguments = commandLine != nullptr ? commandLine : "";
  const int result = quelvar::Guarded(1, [&] { return RunQuelvar(showCommand, arguments); });
  quelvar::ReportFailureNow();
  return result;
}
