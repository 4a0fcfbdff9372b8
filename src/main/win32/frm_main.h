// The main window: start-up, the face, the child window host, the tray icon and its menu,
// the command dispatch and the three ways out. Owns every component for the life of the
// process.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "main/command_dispatch.h"
#include "base/win32/child_window.h"
#include "main/win32/face.h"
#include "base/win32/skin.h"
#include "main/win32/splash.h"
#include "base/win32/unique_handle.h"
#include "base/win32/window.h"
#include "ui/win32/tray.h"

namespace quelvar {

class frmMainSettings;
class frmBackUp;

class frmMain : public Window,
                public MainWindowHost,
                public MainWindowActions,
                private FaceEvents,
                private TrayEvents {
 public:
  frmMain();
  ~frmMain() override;

  // Runs the start-up steps and shows the window (unless it starts in the tray); false when
  // the window cannot be created.
  bool Start(int showCommand);
  // Dialog-style keyboard navigation for the window's controls.
  bool PreTranslate(MSG& message);

  // MainWindowHost.
  void Skin(const char* objectName, HWND window) override;
  void applyAllControls(HWND window) override;
  void ShowHomeView() override;
  void SetHomeVariable() override;
  HWND ChildFrame() const override { return m_framChildWindow.hwnd(); }
  HWND MainHandle() const override { return hwnd(); }
  void SetTrayToolTip(const std::string& text) override;
  void SetTrayFigure(const std::string& figure) override;
  void SetTrayStatusLine(const std::string& line) override;

  // MainWindowActions (the movie commands).
  void MinimizeWindow() override;
  void hideToTray() override;
  void BringFaceToFront() override;
  void showChildForm(ChildForm form) override;
  void intializeList() override;
  void dragWindow() override;
  void OpenHelp() override;
  void UnloadChild(ChildForm form) override;
  void RemoveTrayIcon() override;
  void LoadChild(ChildForm form) override;
  void ShowTrayIcon() override;
  void WatchRestart() override;
  void EndProcess() override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The frame that hosts the child windows.
  class ChildFrameWindow : public Window {
   protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  };

  // FaceEvents: the movie command handler.
  void FSCommand(const std::string& command, const std::string& args) override;
  // TrayEvents.
  void LeftClick() override { Tray1_LeftClick(); }
  void RightClick() override { Tray1_RightClick(); }
  void MouseClick(int Button) override { Tray1_MouseClick(Button); }

  void Form_Load();
  void Form_Unload();
  void Tray1_LeftClick();
  void Tray1_RightClick();
  void Tray1_MouseClick(int Button);
  void mnuMainWindow_Click();
  void mnuHelp_Click();
  void mnuExit_Click();
  void OnPaint();
  // The dialog manager's request to move the keyboard (a label's mnemonic sends it).
  void OnNextDlgCtl(WPARAM wParam, LPARAM lParam);
  // The end of the session Windows announces, and the watch on a restart Windows took.
  LRESULT OnQueryEndSession();
  void OnEndSession(bool ending);
  void StopRestartWatch();

  ChildWindow& Child(ChildForm form);
  // The program's own icon for the tray, or the system's application icon without it.
  HICON ProgramTrayIcon() const;
  // Puts the tip's text and the status line beneath it on the icon.
  void ShowTrayTip();
  static int LayoutDpi();
  // Twips of the 96-dpi layout in pixels at the layout dpi.
  int Px(int twips) const;

  Splash m_splash;
  SkinControl m_skin;
  ChildFrameWindow m_framChildWindow;
  Face m_flash;
  Tray m_tray1;
  UniqueMenu m_mnuPopup;
  UniqueIcon m_trayImage;
  UniqueIcon m_figureIcon;  // the figure drawn into the tray icon, while one is shown
  int m_dpi = 96;  // the layout's dpi: the screen's, or less where the window would not fit
  bool m_inTray = false;
  // A restart Windows took: watched until the session ends or is called off.
  enum class Restart { None, Watched, SessionEnding };
  Restart m_restart = Restart::None;
  HWND m_lastFocus = nullptr;  // the control that had the keyboard when the window lost it
  std::array<std::unique_ptr<ChildWindow>, 7> m_children;
  frmMainSettings* m_frmMainSettings = nullptr;
  frmBackUp* m_frmBackUp = nullptr;
  std::optional<std::string> m_trayTipText;  // as SetTrayToolTip gave it
  std::string m_trayStatusLine;
};

}  // namespace quelvar
