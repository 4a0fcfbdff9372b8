// Net Pinger Settings window; see frm_net_pinger_settings.h.
#include "pinger/win32/frm_net_pinger_settings.h"

#include "resource.h"

namespace quelvar {

void frmNetPingerSettings::CreateControls() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  m_frame = ::CreateWindowExA(0, "BUTTON", "Net Pinger Settings", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0,
                              client.right, client.bottom, hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FRAME_NET_PINGER)),
                              ::GetModuleHandleA(nullptr), nullptr);
}

}  // namespace quelvar
