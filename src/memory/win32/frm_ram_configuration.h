// The RAM configuration window: the low-memory alarm, its sound and automatic freeing.
// For now the window holds its outer frame; its controls are added with its subsystem.
#pragma once
#include "base/win32/child_window.h"

namespace quelvar {

class frmRamConfiguration : public ChildWindow {
 public:
  explicit frmRamConfiguration(MainWindowHost& host) : ChildWindow(host) {}

 protected:
  const char* ClassName() const override { return "QuelvarRamConfiguration"; }
  void CreateControls() override;

 private:
  HWND m_frame = nullptr;
};

}  // namespace quelvar
