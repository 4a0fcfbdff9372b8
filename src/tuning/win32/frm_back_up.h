// The backup manager: lists the backup files, sorts them, deletes one or writes one back
// into the registry.
#pragma once
#include "app/win32/child_window.h"

namespace quelvar {

class frmBackUp : public ChildWindow {
 public:
  explicit frmBackUp(MainWindowHost& host) : ChildWindow(host) {}

  // Empties and refills the list from the backup folder; leaves both buttons disabled.
  void intializeList();

 protected:
  const char* ClassName() const override { return "QuelvarBackUp"; }
  void CreateControls() override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  HWND m_frame = nullptr;
};

}  // namespace quelvar
