// Advanced mode: an eight-page wizard that sets every tuning value by hand, then applies
// the profile.
// For now the window holds its outer frame; its controls are added with its subsystem.
#pragma once
#include "base/win32/child_window.h"

namespace quelvar {

class frmAdvancedMode : public ChildWindow {
 public:
  explicit frmAdvancedMode(MainWindowHost& host) : ChildWindow(host) {}

 protected:
  const char* ClassName() const override { return "QuelvarAdvancedMode"; }
  void CreateControls() override;

 private:
  HWND m_frame = nullptr;
};

}  // namespace quelvar
