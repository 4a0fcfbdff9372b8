// Backup manager window; see frm_back_up.h.
#include "tuning/win32/frm_back_up.h"

namespace quelvar {

void frmBackUp::CreateControls() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  m_frame = ::CreateWindowExA(0, "BUTTON", "Backup", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0,
                              client.right, client.bottom, hwnd(), nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
}

void frmBackUp::intializeList() {}

void frmBackUp::OnCommand(int, int, HWND) {}

}  // namespace quelvar
