// Advanced Mode window; see frm_advanced_mode.h.
#include "tuning/win32/frm_advanced_mode.h"

#include "resource.h"

namespace quelvar {

void frmAdvancedMode::CreateControls() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  m_frame = ::CreateWindowExA(0, "BUTTON", "Advanced Mode", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0,
                              client.right, client.bottom, hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FRAME_ADVANCED_MODE)),
                              ::GetModuleHandleA(nullptr), nullptr);
}

}  // namespace quelvar
