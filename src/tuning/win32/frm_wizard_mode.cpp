// Wizard mode window; see frm_wizard_mode.h.
#include "tuning/win32/frm_wizard_mode.h"

namespace quelvar {

void frmWizardMode::CreateControls() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  m_frame = ::CreateWindowExA(0, "BUTTON", "Wizard Mode", WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                              0, 0, client.right, client.bottom, hwnd(), nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
}

void frmWizardMode::Form_Load() {}

void frmWizardMode::OnCommand(int, int, HWND) {}

}  // namespace quelvar
