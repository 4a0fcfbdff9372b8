// What a child window needs from the main window, and the base every child window derives
// from: created hidden inside the main window's child frame at load, with its state, timers
// and models; its controls are created and skinned when it is first shown (the child window
// contract: "controlForm" on itself, then applyAllControls), and go with it at unload.
#pragma once
#include <windows.h>

#include <string>

#include "base/win32/window.h"

namespace quelvar {

class MainWindowHost {
 public:
  virtual ~MainWindowHost() = default;
  // Applies the named skin object to a window.
  virtual void Skin(const char* objectName, HWND window) = 0;
  // Skins every control of `window` by its kind.
  virtual void applyAllControls(HWND window) = 0;
  // The home view: the face to the front, then "_root.home" = "true".
  virtual void ShowHomeView() = 0;
  // Only the second half: "_root.home" = "true", z-order untouched.
  virtual void SetHomeVariable() = 0;
  // The frame that hosts the child windows (framChildWindow).
  virtual HWND ChildFrame() const = 0;
  // The main window itself (owner of message boxes).
  virtual HWND MainHandle() const = 0;
  // Puts `text` on the tray icon as its tool tip (a host without a tray ignores it).
  virtual void SetTrayToolTip(const std::string& text) { (void)text; }
  // Draws `figure` (a few characters) into the tray icon; empty gives the program icon back.
  virtual void SetTrayFigure(const std::string& figure) { (void)figure; }
  // Puts a short status line beneath that tool tip ("" takes it away again); the text given
  // to SetTrayToolTip is kept as it is.
  virtual void SetTrayStatusLine(const std::string& line) { (void)line; }
};

class ChildWindow : public Window {
 public:
  explicit ChildWindow(MainWindowHost& host) : m_host(host) {}

  // Creates the window hidden in the child frame and runs the load handler. Loading a
  // loaded window does nothing.
  bool Load();
  // Runs the unload handler and destroys the window with its controls; not loaded: nothing
  // happens.
  void Unload();
  bool IsLoaded() const { return hwnd() != nullptr; }
  // Creates, skins and fills the controls of a loaded window unless it has them: done when
  // the window is first shown, or earlier by whoever needs them.
  void CreateControlsNow();
  bool ControlsCreated() const { return m_controlsCreated; }

 protected:
  virtual const char* ClassName() const = 0;
  // The controls of the window, created in their tab order (client size of the frame).
  virtual void CreateControls() = 0;
  // The window's own loading: its state, models and timers, which run shown or not. It must
  // not need the controls (ControlsCreated() tells whether they are there).
  virtual void Form_Load() {}
  // Puts the window's state on its controls once they are created and skinned.
  virtual void ShowLoadedState() {}
  // The window's own unloading, before the window goes. It stops the window's timers and
  // work and puts back what a new object holds: a window loaded again (after a restart of
  // Windows that did not happen) starts from the same state as the first time.
  virtual void Form_Unload() {}

  MainWindowHost& host() const { return m_host; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // WM_COMMAND from a control.
  virtual void OnCommand(int id, int code, HWND control);
  virtual LRESULT OnNotify(const NMHDR& header);

  // Helpers for building controls in 96-dpi pixels (scaled to the screen).
  HWND AddControl(const char* className, const char* text, DWORD style, int x, int y, int width,
                  int height, int id, DWORD exStyle = 0);

 private:
  MainWindowHost& m_host;
  bool m_controlsCreated = false;
};

}  // namespace quelvar
