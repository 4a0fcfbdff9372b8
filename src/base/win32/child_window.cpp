// Child window base; see child_window.h.
#include "base/win32/child_window.h"

#include "base/win32/skin.h"

namespace quelvar {

bool ChildWindow::Load() {
  if (IsLoaded()) return true;
  RECT frame{};
  ::GetClientRect(host().ChildFrame(), &frame);
  if (!Create(ClassName(), "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
              0, 0, frame.right - frame.left, frame.bottom - frame.top, host().ChildFrame())) {
    return false;
  }
  m_controlsCreated = false;
  host().Skin("controlForm", hwnd());
  Form_Load();
  return true;
}

void ChildWindow::CreateControlsNow() {
  if (!IsLoaded() || m_controlsCreated) return;
  m_controlsCreated = true;
  CreateControls();
  ApplyUiFont(hwnd());
  host().applyAllControls(hwnd());
  ShowLoadedState();
}

void ChildWindow::Unload() {
  if (!IsLoaded()) return;
  Form_Unload();
  Destroy();
  m_controlsCreated = false;
}

LRESULT ChildWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_SHOWWINDOW:
      if (wParam) CreateControlsNow();
      return DefaultProc(message, wParam, lParam);
    default: {
      LRESULT skinned = 0;
      if (SkinHostMessage(hwnd(), message, wParam, lParam, &skinned)) return skinned;
      return DefaultProc(message, wParam, lParam);
    }
  }
}

void ChildWindow::OnCommand(int, int, HWND) {}
LRESULT ChildWindow::OnNotify(const NMHDR&) { return 0; }

HWND ChildWindow::AddControl(const char* className, const char* text, DWORD style, int x, int y,
                             int width, int height, int id, DWORD exStyle) {
  return ::CreateWindowExA(exStyle, className, text, style | WS_CHILD | WS_VISIBLE, Scale(x),
                           Scale(y), Scale(width), Scale(height), hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ::GetModuleHandleA(nullptr), nullptr);
}

}  // namespace quelvar
