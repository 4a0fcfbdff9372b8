// Tool tips of the windows; see tool_tips.h.
#include "base/win32/tool_tips.h"

#include <commctrl.h>

#include <string>

namespace quelvar {

void ToolTips::Create(HWND owner, int maxWidth) {
  m_owner = owner;
  m_tips = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
  if (m_tips) ::SendMessageA(m_tips, TTM_SETMAXTIPWIDTH, 0, maxWidth);
}

void ToolTips::Add(HWND control, const char* text) {
  if (!m_tips || !control) return;
  std::string copy(text);
  TTTOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = m_owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = copy.data();
  ::SendMessageA(m_tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTips::Remove(HWND control) {
  if (!m_tips || !control) return;
  TTTOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.hwnd = m_owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  ::SendMessageA(m_tips, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTips::Set(HWND control, const std::string& text) {
  if (!m_tips || !control) return;
  std::string copy(text);
  TTTOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.hwnd = m_owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  const bool known = ::SendMessageA(m_tips, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
  if (!known) {
    Add(control, copy.c_str());
    return;
  }
  tool.lpszText = copy.data();
  ::SendMessageA(m_tips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace quelvar
