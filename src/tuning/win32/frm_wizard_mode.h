// Wizard mode: eight fixed optimisation modes; a click loads the preset into the tuning
// profile and shows its values, "Optimize Now" applies the profile.
#pragma once
#include "app/win32/child_window.h"

namespace quelvar {

class frmWizardMode : public ChildWindow {
 public:
  explicit frmWizardMode(MainWindowHost& host) : ChildWindow(host) {}

 protected:
  const char* ClassName() const override { return "QuelvarWizardMode"; }
  void CreateControls() override;
  void Form_Load() override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  HWND m_frame = nullptr;
};

}  // namespace quelvar
