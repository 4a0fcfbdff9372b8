// Ram Configuration window; see frm_ram_configuration.h.
#include "memory/win32/frm_ram_configuration.h"

#include "resource.h"

namespace quelvar {

void frmRamConfiguration::CreateControls() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  m_frame = ::CreateWindowExA(0, "BUTTON", "Ram Configuration", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0,
                              client.right, client.bottom, hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FRAME_RAM_CONFIGURATION)),
                              ::GetModuleHandleA(nullptr), nullptr);
}

}  // namespace quelvar
