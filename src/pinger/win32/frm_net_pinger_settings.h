// The pinger window: the host, the interval and the schedule that keep a dial-up line alive.
// For now the window holds its outer frame; its controls are added with its subsystem.
#pragma once
#include "base/win32/child_window.h"

namespace quelvar {

class frmNetPingerSettings : public ChildWindow {
 public:
  explicit frmNetPingerSettings(MainWindowHost& host) : ChildWindow(host) {}

 protected:
  const char* ClassName() const override { return "QuelvarNetPingerSettings"; }
  void CreateControls() override;

 private:
  HWND m_frame = nullptr;
};

}  // namespace quelvar
