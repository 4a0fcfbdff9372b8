// The main window: start-up, the face, the child window host and the orderly shutdown.
#pragma once
#include "app/win32/window.h"

namespace quelvar {

class frmMain : public Window {
 public:
  // Runs the start-up steps and shows the window; false when the window cannot be created.
  bool Start(int showCommand);
  // Dialog-style keyboard navigation for the window's controls.
  bool PreTranslate(MSG& message);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Form_Unload();
};

}  // namespace quelvar
