// msgFrm's panels, buttons, keys and entry points; the balloon's shape and shadow are in
// msg_frm_balloon.cpp.
#include "ui/win32/msg_frm.h"

#include <commctrl.h>

#include <algorithm>

#include "base/win32/controls.h"
#include "base/win32/mouse_leave.h"
#include "base/win32/paint.h"
#include "base/win32/subclass.h"
#include "resource.h"

namespace quelvar {

namespace {

constexpr COLORREF kDefaultBalloonColor = RGB(255, 255, 204);
constexpr UINT_PTR kAutoCloseTimer = 1;
constexpr const char* kHotProperty = "msgFrmHot";

// The self-closing notice on screen, if any: a new notice replaces it.
msgFrm* g_autoBox = nullptr;

// The close button's hover look: a property on the button, cleared when the mouse leaves.
LRESULT CloseButtonHook(Subclass& hook, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND button = hook.window();
  switch (message) {
    case WM_MOUSEMOVE:
      if (!::GetPropA(button, kHotProperty)) {
        ::SetPropA(button, kHotProperty, reinterpret_cast<HANDLE>(1));
        TrackMouseLeave(button);
        ::InvalidateRect(button, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      ::RemovePropA(button, kHotProperty);
      ::InvalidateRect(button, nullptr, FALSE);
      break;
    case WM_NCDESTROY: ::RemovePropA(button, kHotProperty); break;
    default: break;
  }
  return hook.CallNext(message, wParam, lParam);
}

}  // namespace

// A panel: the balloon-coloured container of one entry point's controls. It hands its
// controls' notifications to the box and lets mouse presses fall through to it (dragging).
class msgFrm::Panel : public Window {
 public:
  explicit Panel(HBRUSH brush) : m_brush(brush) {}

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_NCHITTEST: return HTTRANSPARENT;
      case WM_ERASEBKGND: return Fill(reinterpret_cast<HDC>(wParam));
      case WM_PRINTCLIENT: return Fill(reinterpret_cast<HDC>(wParam));
      case WM_COMMAND:
      case WM_DRAWITEM:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLOREDIT:
        return ::SendMessageA(::GetParent(hwnd()), message, wParam, lParam);
      default: return DefaultProc(message, wParam, lParam);
    }
  }
  void OnFinalDestroy() override { delete this; }

 private:
  LRESULT Fill(HDC dc) {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    ::FillRect(dc, &client, m_brush);
    return 1;
  }

  HBRUSH m_brush;
};

bool msgFrm::Load(const Content& content, HWND owner, bool NoPointer, float X, float Y) {
  m_content = content;
  const COLORREF color = content.color == 0 ? kDefaultBalloonColor : content.color;
  m_content.color = color;
  m_brush = SolidBrush(color);
  if (content.intensity != 0) m_intensity = ClampShadowIntensity(content.intensity);
  m_draggable = content.panel != PanelKind::Auto;

  const DWORD exStyle =
      content.panel == PanelKind::Auto ? WS_EX_TOPMOST | WS_EX_TOOLWINDOW : WS_EX_CONTROLPARENT;
  if (!Create(kMsgFrmClass, content.caption.c_str(), WS_POPUP | WS_CLIPCHILDREN, exStyle, 0, 0,
              WindowWidth(), Scale(100), owner)) {
    return false;
  }
  LoadImageCells();
  BuildPanel();
  if (!m_panel) return false;
  DrawBalloon(NoPointer, X, Y, m_intensity);
  return true;
}

int msgFrm::WindowWidth() const {
  // Wide enough for the title and for three buttons; the message wraps inside.
  int needed = Scale(300);
  ClientDc screen(nullptr);
  SIZE size{};
  {
    SelectGuard font(screen.get(), UiFontBold());
    ::GetTextExtentPoint32A(screen.get(), m_content.caption.c_str(),
                            static_cast<int>(m_content.caption.size()), &size);
  }
  needed = std::max<int>(needed, size.cx + Scale(60) + 30);
  if (m_content.panel == PanelKind::Input && !m_content.checkboxText.empty()) {
    // The check box shares its line with "Cancel" and "OK".
    SelectGuard font(screen.get(), UiFont());
    ::GetTextExtentPoint32A(screen.get(), m_content.checkboxText.c_str(),
                            static_cast<int>(m_content.checkboxText.size()), &size);
    needed = std::max<int>(needed, size.cx + Scale(24) + 2 * Scale(75) + Scale(22) + 30);
  }
  const int buttons = static_cast<int>(m_content.buttons.size());
  if (buttons > 0) {
    SelectGuard font(screen.get(), UiFont());
    int widest = Scale(75);
    for (const MsgButton& button : m_content.buttons) {
      ::GetTextExtentPoint32A(screen.get(), button.caption.c_str(),
                              static_cast<int>(button.caption.size()), &size);
      widest = std::max<int>(widest, size.cx + Scale(20));
    }
    needed = std::max(needed, buttons * widest + (buttons + 1) * Scale(12) + 30);
  }
  return std::min(needed, Scale(560));
}

HWND msgFrm::AddControl(const char* className, const char* text, DWORD style, int x, int y,
                        int width, int height, int id, DWORD exStyle) {
  return ::CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                           height, m_panel->hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ::GetModuleHandleA(nullptr), nullptr);
}

// The panel sits 8 pixels from the left and 30 from the top, 30 pixels narrower than the
// window; its height follows its content and the window's height follows the panel.
void msgFrm::BuildPanel() {
  RECT window;
  ::GetWindowRect(hwnd(), &window);
  m_width = window.right - window.left;
  const int width = m_width - 30;
  m_panel = new Panel(m_brush);
  if (!m_panel->Create("msgFrmPanel", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                       WS_EX_CONTROLPARENT, 8, 30, width, Scale(100), hwnd(),
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MSGBOX_PANEL)))) {
    delete m_panel;
    m_panel = nullptr;
    return;
  }
  int height = 0;
  switch (m_content.panel) {
    case PanelKind::Message: height = LayoutMessagePanel(width); break;
    case PanelKind::Input: height = LayoutInputPanel(width); break;
    case PanelKind::Auto: height = LayoutAutoPanel(width); break;
  }
  ApplyUiFont(hwnd());
  ::SendMessageA(m_title, WM_SETFONT, reinterpret_cast<WPARAM>(UiFontBold()), FALSE);
  ::SetWindowPos(m_panel->hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
  m_height = 30 + height + 8 + kBalloonBottomInset;
  ::SetWindowPos(hwnd(), nullptr, 0, 0, m_width, m_height, SWP_NOMOVE | SWP_NOZORDER);
  SetDisplayIcon();
}

// Icon and title on the first line, the message wrapped below; returns the message's bottom.
int msgFrm::LayoutHeader(int panelWidth) {
  const int margin = Scale(4);
  m_icon = AddControl("STATIC", "", SS_OWNERDRAW, margin, margin, 16, 16, IDC_MSGBOX_ICON);
  const int titleRight = panelWidth - margin - (m_content.panel == PanelKind::Auto ? 20 : 0);
  m_title = AddControl("STATIC", m_content.caption.c_str(), SS_NOPREFIX | SS_LEFTNOWORDWRAP,
                       margin + 22, margin, titleRight - margin - 22, Scale(16), IDC_MSGBOX_TITLE);

  const int top = margin + std::max(Scale(16), 16) + Scale(8);
  const int width = panelWidth - 2 * margin;
  RECT measure{0, 0, width, 0};
  {
    ClientDc screen(nullptr);
    SelectGuard font(screen.get(), UiFont());
    ::DrawTextA(screen.get(), m_content.prompt.c_str(), static_cast<int>(m_content.prompt.size()),
                &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  }
  const int height = std::max<int>(measure.bottom, Scale(16));
  m_prompt = AddControl("STATIC", m_content.prompt.c_str(), SS_NOPREFIX | SS_LEFT, margin, top,
                        width, height, IDC_MSGBOX_PROMPT);
  return top + height;
}

int msgFrm::LayoutMessagePanel(int panelWidth) {
  const int margin = Scale(4);
  int y = LayoutHeader(panelWidth) + Scale(10);
  if (!m_content.checkboxText.empty()) {
    m_check = AddControl("BUTTON", m_content.checkboxText.c_str(),
                         BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, margin, y,
                         panelWidth - 2 * margin, Scale(18), IDX_MSGBOX_CHECK);
    y += Scale(18) + Scale(8);
  }
  SetupButtons(y, panelWidth);
  SetDefaultButton();
  return y + Scale(23) + Scale(6);
}

// Captions, codes and places of the buttons: one centred, two on the thirds, three with the
// middle one centred.
void msgFrm::SetupButtons(int top, int panelWidth) {
  const int count = static_cast<int>(m_content.buttons.size());
  int buttonWidth = Scale(75);
  {
    ClientDc screen(nullptr);
    SelectGuard font(screen.get(), UiFont());
    for (const MsgButton& button : m_content.buttons) {
      SIZE size{};
      ::GetTextExtentPoint32A(screen.get(), button.caption.c_str(),
                              static_cast<int>(button.caption.size()), &size);
      buttonWidth = std::max<int>(buttonWidth, size.cx + Scale(20));
    }
  }
  buttonWidth = std::min(buttonWidth, (panelWidth - 4 * Scale(8)) / std::max(count, 1));
  const std::vector<int> lefts = ButtonLefts(count, panelWidth, buttonWidth, Scale(8));
  for (int i = 0; i < count; ++i) {
    const MsgButton& button = m_content.buttons[static_cast<std::size_t>(i)];
    m_buttonWindows.push_back(AddControl(
        "BUTTON", button.caption.c_str(),
        BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP | (i == 0 && !m_check ? WS_GROUP : 0),
        lefts[static_cast<std::size_t>(i)], top, buttonWidth, Scale(23), IDC_MSGBOX_BUTTON1 + i));
    m_buttonCodes.push_back(button.code);
  }
}

void msgFrm::SetDefaultButton() {
  const int index = DefaultButtonIndex(m_content.flags, m_content.buttons);
  m_defaultButton = index + 1;
  if (index >= 0) {
    m_initialFocus = m_buttonWindows[static_cast<std::size_t>(index)];
    MarkDefault(index);
  }
}

int msgFrm::LayoutInputPanel(int panelWidth) {
  const int margin = Scale(4);
  int y = LayoutHeader(panelWidth) + Scale(6);
  const int width = panelWidth - 2 * margin;
  m_edit = AddControl("EDIT", m_content.defaultText.c_str(), ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP,
                      margin, y, width, Scale(21), IDE_MSGBOX_TEXT, WS_EX_CLIENTEDGE);
  y += Scale(21) + Scale(8);

  const int buttonWidth = Scale(75);
  const int okLeft = margin + width - buttonWidth;
  const int cancelLeft = okLeft - Scale(6) - buttonWidth;
  if (!m_content.checkboxText.empty()) {
    m_check = AddControl("BUTTON", m_content.checkboxText.c_str(), BS_AUTOCHECKBOX | WS_TABSTOP,
                         margin, y + Scale(2), cancelLeft - margin - Scale(4), Scale(19),
                         IDX_MSGBOX_CHECK);
  }
  m_buttonWindows.push_back(AddControl("BUTTON", "OK", BS_DEFPUSHBUTTON | BS_NOTIFY | WS_TABSTOP,
                                       okLeft, y, buttonWidth, Scale(23), IDC_MSGBOX_BUTTON1));
  m_buttonCodes.push_back(0);
  m_buttonWindows.push_back(AddControl("BUTTON", "Cancel", BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP,
                                       cancelLeft, y, buttonWidth, Scale(23), IDC_MSGBOX_BUTTON2));
  m_buttonCodes.push_back(-1);
  m_defaultButton = 1;
  m_initialFocus = m_edit;
  EditControl(m_edit).SelectAll();
  return y + Scale(23) + Scale(6);
}

int msgFrm::LayoutAutoPanel(int panelWidth) {
  const int bottom = LayoutHeader(panelWidth);
  m_close = AddControl("BUTTON", "Close", BS_OWNERDRAW, panelWidth - Scale(4) - 16, Scale(4), 16,
                       16, IDC_MSGBOX_CLOSE);
  Subclass::HookForLife(m_close, &CloseButtonHook);
  // A tool tip names the picture-only button; it goes with the box, which owns it.
  HWND tip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(),
                               nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (tip) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(m_close);
    tool.lpszText = const_cast<char*>("Close");
    ::SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return bottom + Scale(8);
}

// No icon: the title moves left to where the message begins.
void msgFrm::SetDisplayIcon() {
  const int cell = IconCellOf(m_content.flags);
  if (cell != 0 && m_cells[static_cast<std::size_t>(cell)]) return;
  ::ShowWindow(m_icon, SW_HIDE);
  RECT title;
  ::GetWindowRect(m_title, &title);
  ::MapWindowPoints(nullptr, m_panel->hwnd(), reinterpret_cast<POINT*>(&title), 2);
  const int left = Scale(4);
  ::SetWindowPos(m_title, nullptr, left, title.top, title.right - left, title.bottom - title.top,
                 SWP_NOZORDER);
}

void msgFrm::MarkDefault(int index) {
  for (std::size_t i = 0; i < m_buttonWindows.size(); ++i) {
    ButtonControl(m_buttonWindows[i]).SetDefault(static_cast<int>(i) == index);
  }
}

void msgFrm::ShowModal(HWND owner) {
  const bool disableOwner = owner && ::IsWindowEnabled(owner);
  if (disableOwner) ::EnableWindow(owner, FALSE);
  ::ShowWindow(hwnd(), SW_SHOW);
  ::SetForegroundWindow(hwnd());
  ::SetFocus(m_initialFocus ? m_initialFocus : hwnd());

  MSG message;
  while (!m_done && ::IsWindow(hwnd())) {
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got < 0) break;
    if (PreTranslate(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  // The owner comes back before the box is hidden, so activation returns to it.
  if (disableOwner) ::EnableWindow(owner, TRUE);
  if (hwnd()) ::ShowWindow(hwnd(), SW_HIDE);
}

void msgFrm::ShowAuto(int seconds) {
  if (g_autoBox && g_autoBox != this && g_autoBox->hwnd()) ::DestroyWindow(g_autoBox->hwnd());
  g_autoBox = this;
  ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::SetTimer(hwnd(), kAutoCloseTimer, static_cast<UINT>(seconds) * 1000u, nullptr);
}

bool msgFrm::checked() const {
  return m_check && IsChecked(m_check);
}

std::string msgFrm::text() const { return WindowText(m_edit); }

// Enter presses the focused button, else the default one; Escape means Cancel.
bool msgFrm::PreTranslate(MSG& message) {
  if (!hwnd() || (message.hwnd != hwnd() && !::IsChild(hwnd(), message.hwnd))) return false;
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
    OnEnter();
    return true;
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
    OnEscape();
    return true;
  }
  return ::IsDialogMessageA(hwnd(), &message) != 0;
}

void msgFrm::OnEnter() {
  const HWND focus = ::GetFocus();
  const auto focused = std::find(m_buttonWindows.begin(), m_buttonWindows.end(), focus);
  if (focused != m_buttonWindows.end()) {
    cmdButton_Click(static_cast<int>(focused - m_buttonWindows.begin()));
  } else if (m_defaultButton > 0) {
    cmdButton_Click(m_defaultButton - 1);
  }
}

void msgFrm::OnEscape() {
  for (std::size_t i = 0; i < m_buttonWindows.size(); ++i) {
    if (WindowText(m_buttonWindows[i]) == "Cancel") {
      cmdButton_Click(static_cast<int>(i));
      return;
    }
  }
  // A lone "OK" is what Escape means on a box that only informs.
  if (m_content.panel == PanelKind::Message && ButtonSetOf(m_content.flags) == OKOnly) {
    cmdButton_Click(0);
  }
}

void msgFrm::OnCommand(int id, int code, HWND control) {
  if (id >= IDC_MSGBOX_BUTTON1 && id <= IDC_MSGBOX_BUTTON3) {
    if (code == BN_CLICKED) cmdButton_Click(id - IDC_MSGBOX_BUTTON1);
    if (code == BN_SETFOCUS) MarkDefault(id - IDC_MSGBOX_BUTTON1);
    if (code == BN_KILLFOCUS) MarkDefault(m_defaultButton - 1);
  } else if (id == IDC_MSGBOX_CLOSE && code == BN_CLICKED) {
    cmdClose_Click();
  } else if (id == IDCANCEL && !control) {
    OnEscape();
  }
}

void msgFrm::cmdButton_Click(int index) {
  if (index < 0 || index >= static_cast<int>(m_buttonWindows.size())) return;
  const std::int16_t code = m_buttonCodes[static_cast<std::size_t>(index)];
  // The input box's "OK" does nothing while its text box is empty.
  if (m_content.panel == PanelKind::Input && code == 0 && ::GetWindowTextLengthA(m_edit) == 0) {
    return;
  }
  m_result = code;
  m_done = true;
  // A click sent from elsewhere (BM_CLICK) runs inside GetMessage: wake the modal loop.
  ::PostMessageA(hwnd(), WM_NULL, 0, 0);
}

void msgFrm::cmdClose_Click() { ::DestroyWindow(hwnd()); }

LRESULT msgFrm::OnCtlColor(HDC dc) {
  ::SetBkColor(dc, m_content.color);
  ::SetTextColor(dc, RGB(0, 0, 0));
  return reinterpret_cast<LRESULT>(m_brush);
}

void msgFrm::OnDrawItem(const DRAWITEMSTRUCT& item) {
  ::FillRect(item.hDC, &item.rcItem, m_brush);
  if (item.CtlID == IDC_MSGBOX_ICON) {
    DrawCell(item.hDC, IconCellOf(m_content.flags), 0, 0);
  } else if (item.CtlID == IDC_MSGBOX_CLOSE) {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool hot = ::GetPropA(item.hwndItem, kHotProperty) != nullptr;
    DrawCell(item.hDC, pressed ? 11 : hot ? 10 : 9, 0, 0);
  }
}

LRESULT msgFrm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return OnCtlColor(reinterpret_cast<HDC>(wParam));
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: OnPaint(); return 0;
    case WM_LBUTTONDOWN: BeginDrag(); return 0;
    case WM_MOUSEMOVE:
      // Back on the panel: the close button returns to its normal look.
      if (m_close && ::GetPropA(m_close, kHotProperty)) {
        ::RemovePropA(m_close, kHotProperty);
        ::InvalidateRect(m_close, nullptr, FALSE);
      }
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd(), focus)) m_lastFocus = focus;
      } else if (m_content.panel != PanelKind::Auto) {
        const HWND focus = m_lastFocus ? m_lastFocus : m_initialFocus;
        ::SetFocus(focus ? focus : hwnd());
      }
      return 0;
    case WM_MOUSEACTIVATE:
      return m_content.panel == PanelKind::Auto ? MA_NOACTIVATE : MA_ACTIVATE;
    case WM_TIMER:
      if (wParam == kAutoCloseTimer) {
        ::KillTimer(hwnd(), kAutoCloseTimer);
        ::DestroyWindow(hwnd());
      }
      return 0;
    case WM_CLOSE:
      if (m_content.panel == PanelKind::Auto) {
        ::DestroyWindow(hwnd());
      } else {
        OnEscape();
      }
      return 0;
    case WM_DESTROY: m_done = true; return 0;
    default: return DefaultProc(message, wParam, lParam);
  }
}

void msgFrm::OnFinalDestroy() {
  if (g_autoBox == this) g_autoBox = nullptr;
  if (m_content.panel == PanelKind::Auto) delete this;
}

}  // namespace quelvar
