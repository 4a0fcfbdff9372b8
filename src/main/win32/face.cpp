// The main window's face: its content, buttons and events; see face.h. How it is drawn is in
// face_paint.cpp.
#include "main/win32/face.h"

#include <commctrl.h>

#include "base/file_system.h"
#include "base/win32/failure_net.h"
#include "base/win32/mouse_leave.h"
#include "base/win32/subclass.h"

namespace quelvar {

bool Face::Create(HWND parent, FaceEvents& events, int firstId) {
  m_events = &events;
  m_firstId = firstId;
  MakeFonts();
  // The logo in both sizes the face draws, loaded once.
  m_logo.reset(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1),
                                               IMAGE_ICON, Scale(24), Scale(24), 0)));
  m_bigLogo.reset(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                  MAKEINTRESOURCEA(1), IMAGE_ICON, Scale(48),
                                                  Scale(48), 0)));
  return Window::Create("QuelvarFace", "Quelvar",
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        WS_EX_CONTROLPARENT, 0, 0, Scale(kFaceWidth), Scale(kFaceHeight), parent,
                        nullptr, reinterpret_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
}

void Face::MakeFonts() {
  LOGFONTA base{};
  ::GetObjectA(UiFont(), sizeof(base), &base);
  auto make = [&](int pixels, int weight) {
    LOGFONTA font = base;
    font.lfHeight = -Scale(pixels);
    font.lfWeight = weight;
    font.lfQuality = CLEARTYPE_QUALITY;
    return UniqueFont(::CreateFontIndirectA(&font));
  };
  m_fonts.normal = make(12, FW_NORMAL);
  m_fonts.bold = make(12, FW_BOLD);
  m_fonts.small = make(10, FW_BOLD);
  m_fonts.title = make(16, FW_BOLD);
  m_fonts.heading = make(21, FW_BOLD);
  m_fonts.large = make(30, FW_BOLD);
}

bool Face::LoadMovie(int layer, const std::string& path) {
  if (layer != 0) return false;
  bool loaded = false;
  std::string text;
  if (Files().ReadWholeFile(path, &text)) {
    FaceParseResult parsed = ParseFaceContent(text);
    if (parsed.content) {
      m_content = std::move(*parsed.content);
      loaded = true;
    }
  }
  if (!loaded) m_content = BuiltInFaceContent();
  m_view = FaceView::Home;
  m_page = -1;
  BuildButtons();
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return loaded;
}

void Face::SetVariable(const std::string& name, const std::string& value) {
  if (name == "_root.home" && value == "true") {
    m_page = -1;
    SetView(FaceView::Home);
  }
}

void Face::MarkPageShown() {
  m_page = m_raising;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  for (HWND button : m_buttons) {
    if (button) ::InvalidateRect(button, nullptr, FALSE);
  }
}

void Face::PageClosed() {
  m_page = -1;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  for (HWND button : m_buttons) {
    if (button) ::InvalidateRect(button, nullptr, FALSE);
  }
}

void Face::SetView(FaceView view) {
  m_view = view;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  for (HWND button : m_buttons) {
    if (button) ::InvalidateRect(button, nullptr, FALSE);
  }
}

HWND Face::ButtonWindow(std::size_t index) const {
  return index < m_buttons.size() ? m_buttons[index] : nullptr;
}

RECT Face::Scaled(const FaceRect& rect) const {
  return RECT{Scale(rect.x), Scale(rect.y), Scale(rect.x + rect.width),
              Scale(rect.y + rect.height)};
}

void Face::DestroyButtons() {
  for (HWND button : m_buttons) {
    if (button) ::DestroyWindow(button);
  }
  m_buttons.clear();
  if (m_toolTip) ::DestroyWindow(m_toolTip);
  m_toolTip = nullptr;
}

void Face::BuildButtons() {
  DestroyButtons();
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  m_toolTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                instance, nullptr);
  ::SendMessageA(m_toolTip, TTM_SETMAXTIPWIDTH, 0, Scale(320));
  bool complete = true;
  for (std::size_t i = 0; i < m_content.buttons.size(); ++i) {
    const FaceButton& button = m_content.buttons[i];
    const RECT rect = Scaled(button.rect);
    HWND window = ::CreateWindowExA(
        0, "BUTTON", button.caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, hwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(m_firstId + static_cast<int>(i))), instance,
        nullptr);
    if (!window) {
      complete = false;
      m_buttons.push_back(nullptr);  // keeps the others at their content's index
      continue;
    }
    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts.normal.get()), FALSE);
    Subclass::HookForLife(window, [this](Subclass& hook, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
      OnButtonMouse(hook.window(), message);
      return hook.CallNext(message, wParam, lParam);
    });
    m_buttons.push_back(window);

    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = const_cast<char*>(button.toolTip.c_str());
    if (m_toolTip) ::SendMessageA(m_toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  if (!complete) {
    RecordFailure(
        "Quelvar could not create every button of its main window, so some of its commands "
        "are missing. Close it with Alt+F4 and start it again.");
  }
}

// The buttons' hover look: the button under the mouse is hot until the mouse leaves it.
void Face::OnButtonMouse(HWND button, UINT message) {
  const int index = ::GetDlgCtrlID(button) - m_firstId;
  if (message == WM_MOUSEMOVE && m_hot != index) {
    if (HWND before = m_hot >= 0 ? ButtonWindow(static_cast<std::size_t>(m_hot)) : nullptr) {
      ::InvalidateRect(before, nullptr, FALSE);
    }
    m_hot = index;
    TrackMouseLeave(button);
    ::InvalidateRect(button, nullptr, FALSE);
  } else if (message == WM_MOUSELEAVE && m_hot == index) {
    m_hot = -1;
    ::InvalidateRect(button, nullptr, FALSE);
  }
}

LRESULT Face::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= m_firstId) {
        OnButtonClicked(static_cast<std::size_t>(LOWORD(wParam) - m_firstId));
      }
      return 0;
    case WM_LBUTTONDOWN: {
      const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const RECT titleBar = Scaled(m_content.titleBar);
      if (::PtInRect(&titleBar, point) && m_events) m_events->FSCommand("IDC_FS_drag", "");
      return 0;
    }
    case WM_DESTROY: DestroyButtons(); return 0;
    default: return DefaultProc(message, wParam, lParam);
  }
}

void Face::OnButtonClicked(std::size_t index) {
  if (index >= m_content.buttons.size() || !m_events) return;
  const FaceButton button = m_content.buttons[index];
  if (button.view != FaceView::None) SetView(button.view);
  m_raising = static_cast<int>(index);
  m_events->FSCommand(button.command, "");
  m_raising = -1;
}

}  // namespace quelvar
