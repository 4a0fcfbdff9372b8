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
#include "main/win32/frm_main.h"
#include "memory/free_ram.h"
#include "memory/win32/win32_memory_system.h"
#include "registry/win32/win32_registry.h"

namespace {

int RunQuelvar(int showCommand) {
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

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  const int result = quelvar::Guarded(1, [&] { return RunQuelvar(showCommand); });
  quelvar::ReportFailureNow();
  return result;
}
