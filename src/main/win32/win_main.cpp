// WinMain: wires the Win32 services into the program, runs the main window's start-up and
// the message loop. Only the main window ends the loop.
#include <windows.h>
#include <commctrl.h>

#include "base/clock.h"
#include "base/file_system.h"
#include "base/message_box.h"
#include "base/program_folder.h"
#include "base/shell.h"
#include "main/win32/frm_main.h"
#include "base/win32/optional_api.h"
#include "base/win32/win32_clock.h"
#include "base/win32/win32_file_system.h"
#include "base/win32/win32_message_box.h"
#include "base/win32/win32_shell.h"
#include "registry/win32/win32_registry.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  // The original common controls (4.00, Windows 95 and NT 4) have only InitCommonControls,
  // which registers every class they offer.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  const auto initEx = quelvar::optional_api::InitCommonControlsEx();
  if (initEx == nullptr || !initEx(&controls)) ::InitCommonControls();

  char exePath[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, exePath, MAX_PATH);
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

  quelvar::frmMain mainWindow;
  if (!mainWindow.Start(showCommand)) return 1;

  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (mainWindow.PreTranslate(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
