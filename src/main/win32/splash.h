// The splash screen shown while the main window starts: a borderless window in the middle
// of the screen showing the splash file ("\RQLVSpl.spl", a Windows bitmap). A missing or
// unreadable file shows a plain built-in panel instead.
#pragma once
#include <string>

#include "base/win32/unique_handle.h"
#include "base/win32/window.h"

namespace quelvar {

class Splash : public Window {
 public:
  void SetSplashFile(std::string path) { m_path = std::move(path); }
  // Shows the splash. `closeAfterSeconds` 0 keeps it up until Close.
  bool Start(int closeAfterSeconds);
  void Close();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnPaint();

  std::string m_path;
  UniqueBitmap m_bitmap;
  SIZE m_size{};
};

}  // namespace quelvar
