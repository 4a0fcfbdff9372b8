// The system status window: live processor and memory graphs and memory freeing on demand.
// For now the window holds its outer frame; its controls are added with its subsystem.
#pragma once
#include "base/win32/child_window.h"

namespace quelvar {

class frmSystemStatus : public ChildWindow {
 public:
  explicit frmSystemStatus(MainWindowHost& host) : ChildWindow(host) {}

 protected:
  const char* ClassName() const override { return "QuelvarSystemStatus"; }
  void CreateControls() override;

 private:
  HWND m_frame = nullptr;
};

}  // namespace quelvar
