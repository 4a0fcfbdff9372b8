// System Status window; see frm_system_status.h.
#include "memory/win32/frm_system_status.h"

#include "resource.h"

namespace quelvar {

void frmSystemStatus::CreateControls() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  m_frame = ::CreateWindowExA(0, "BUTTON", "System Status", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0,
                              client.right, client.bottom, hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FRAME_SYSTEM_STATUS)),
                              ::GetModuleHandleA(nullptr), nullptr);
}

}  // namespace quelvar
