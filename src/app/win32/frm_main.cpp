// Main window start-up and shutdown.
#include "app/win32/frm_main.h"

#include "app/os_family.h"
#include "app/win32/windows_version.h"
#include "tuning/tuning_profile.h"

namespace quelvar {

namespace {
constexpr int kWidthTwips = 10710;
constexpr int kHeightTwips = 7485;
}  // namespace

bool frmMain::Start(int showCommand) {
  const int width = kWidthTwips / TwipsPerPixelX();
  const int height = kHeightTwips / TwipsPerPixelY();
  if (!Create("QuelvarMain", "Quelvar", WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX,
              0, CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr)) {
    return false;
  }
  setOsFamily(QueryWindowsVersion());
  LoadTuningPresets();
  ::ShowWindow(hwnd(), showCommand);
  return true;
}

bool frmMain::PreTranslate(MSG& message) { return ::IsDialogMessageA(hwnd(), &message) != 0; }

LRESULT frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: Form_Unload(); return 0;
    default: return DefaultProc(message, wParam, lParam);
  }
}

void frmMain::Form_Unload() {
  ::DestroyWindow(hwnd());
  ::PostQuitMessage(0);
}

}  // namespace quelvar
