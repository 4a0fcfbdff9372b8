// The main window's tray icon: its image, tip and status line, the figure drawn into it,
// hiding the window to the tray, and the icon's clicks and menu. The rest of the window is in
// frm_main.cpp.
#include "main/win32/frm_main.h"

#include "base/os_family.h"
#include "base/system_features.h"
#include "base/win32/optional_api.h"
#include "ui/tray_text.h"
#include "ui/win32/figure_icon.h"
#include "ui/win32/msg_frm.h"

namespace quelvar {

// Without its own icon the tray shows the system's application icon (shared, never owned).
HICON frmMain::ProgramTrayIcon() const {
  return m_trayImage ? m_trayImage.get() : ::LoadIconA(nullptr, IDI_APPLICATION);
}

void frmMain::SetTrayToolTip(const std::string& text) {
  m_trayTipText = text;
  ShowTrayTip();
}

void frmMain::SetTrayStatusLine(const std::string& line) {
  if (line == m_trayStatusLine) return;
  // Until the tip's text is set, the line goes beneath the tip the icon has.
  if (!m_trayTipText) m_trayTipText = m_tray1.TrayToolTip();
  m_trayStatusLine = line;
  ShowTrayTip();
}

void frmMain::ShowTrayTip() {
  // The shells of Windows 95, 98 and NT 4 show a tray tip on one line (OsFamily is the
  // version code plus one).
  const int windows = OsFamily - 1;
  const bool oneLine = windows == 1 || windows == 2 || windows == 4;
  const std::string tip = ComposeTrayTip(m_trayTipText.value_or(""), m_trayStatusLine,
                                         oneLine ? kTrayTipOneLineSeparator : kTrayTipLineBreak);
  m_tray1.SetTrayToolTip(tip);
  // The control's window carries the tip as its caption too, where other programs can read it.
  ::SetWindowTextA(m_tray1.hwnd(), tip.c_str());
  // A removed icon (at shutdown) is not brought back by a late sample.
  if (m_tray1.IsVisible()) m_tray1.Show(true);
}

void frmMain::SetTrayFigure(const std::string& figure) {
  // At the small icon size the shell shows; a figure that cannot be drawn leaves the program
  // icon, as does an empty one.
  UniqueIcon drawn;
  if (!figure.empty()) drawn = MakeFigureIcon(figure, ::GetSystemMetrics(SM_CXSMICON));
  m_tray1.SetTrayImage(drawn ? drawn.get() : ProgramTrayIcon());
  if (m_tray1.IsVisible()) m_tray1.Show(true);
  // The shell has its own copy now: the figure shown before goes.
  m_figureIcon = std::move(drawn);
}

void frmMain::hideToTray() {
  ::ShowWindow(hwnd(), SW_HIDE);
  m_inTray = true;
  if (StillRunningUsesNoticeBox(OsFamily, optional_api::ShellVersion())) {
    // The 95 line's self-closing notice at the lower right corner, where the tray is; shells
    // before 5.0 (NT 4) show no balloons, so their users see it too.
    const float screenW = static_cast<float>(::GetSystemMetrics(SM_CXSCREEN));
    const float screenH = static_cast<float>(::GetSystemMetrics(SM_CYSCREEN));
    MsgAuto_box("The Program Still Running Here", Information, "Program notification", 5, true,
                RGB(242, 248, 200), screenW - 40, screenH, 0);
  } else {
    m_tray1.showBalloonoolTip(true);
  }
}

void frmMain::RemoveTrayIcon() { m_tray1.Show(false); }

void frmMain::ShowTrayIcon() { m_tray1.Show(true); }

// --- Tray icon and its menu ---

void frmMain::Tray1_LeftClick() { mnuMainWindow_Click(); }

void frmMain::Tray1_RightClick() {
  if (!m_mnuPopup) {
    mnuMainWindow_Click();
    return;
  }
  POINT cursor{};
  ::GetCursorPos(&cursor);
  // The menu closes when the user clicks elsewhere only if its owner is in the foreground.
  ::SetForegroundWindow(hwnd());
  ::TrackPopupMenu(m_mnuPopup.get(), 0, cursor.x, cursor.y, 0, hwnd(), nullptr);
  ::PostMessageA(hwnd(), WM_NULL, 0, 0);
}

void frmMain::Tray1_MouseClick(int) { mnuMainWindow_Click(); }

void frmMain::mnuMainWindow_Click() {
  m_inTray = false;
  ::ShowWindow(hwnd(), ::IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
  ::SetForegroundWindow(hwnd());
}

void frmMain::mnuHelp_Click() { OpenHelp(); }

void frmMain::mnuExit_Click() { Form_Unload(); }

}  // namespace quelvar
