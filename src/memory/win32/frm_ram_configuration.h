// The RAM configuration window: the low-memory alarm's settings, the tray tip's form and
// whether the icon shows free memory, stored under the program's settings key, and the alarm
// itself (tmrAlarm) with its warning sound (tmrSoundPlayer), both running from load on, shown
// or not. The rules live in
// RamConfiguration; this window shows its state and passes the user's edits in.
#pragma once
#include <array>

#include "base/win32/child_window.h"
#include "base/win32/tool_tips.h"
#include "memory/ram_configuration.h"
#include "memory/sound_player.h"

namespace quelvar {

class frmSystemStatus;

// PlaySoundA by file name, asynchronously.
class Win32SoundPlayer final : public SoundPlayer {
 public:
  bool PlayFileAsync(const std::string& path) override;
};

class frmRamConfiguration : public ChildWindow {
 public:
  explicit frmRamConfiguration(MainWindowHost& host) : ChildWindow(host) {}

  // The status window whose processor meter the alarm consults (loaded when needed).
  void UseSystemStatus(frmSystemStatus& status) { m_systemStatus = &status; }
  // "Percentage of Free RAM" chosen.
  bool optPer() const { return m_form.optPer(); }
  // "Show free memory in the tray icon" ticked (saved or not).
  bool ShowsTrayFigure() const { return m_form.chkTrayFigure() == 1; }
  const RamConfiguration& Form() const { return m_form; }

 protected:
  const char* ClassName() const override { return "QuelvarRamConfiguration"; }
  void CreateControls() override;
  void Form_Load() override;
  void ShowLoadedState() override { ShowState(); }
  void Form_Unload() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  void Layout();
  void AddToolTips();
  // Puts the form's state on the controls, when they are there, and on the alarm's timer.
  void ShowState();
  // The controls' part: texts only where they differ.
  void ShowControls();
  // The alarm's timer runs at the form's interval while a switch is on.
  void UpdateAlarmTimer();
  void tmrAlarm_Timer();
  void tmrSoundPlayer_Timer();

  RamConfiguration m_form;
  Win32SoundPlayer m_player;
  frmSystemStatus* m_systemStatus = nullptr;
  unsigned m_alarmInterval = 0;  // 0 while the alarm timer rests
  int m_settingText = 0;  // texts being put on the boxes by the window itself

  HWND m_frame = nullptr;
  HWND m_frameAutomatic = nullptr;
  HWND m_frameTray = nullptr;
  HWND m_frameOnOff = nullptr;
  std::array<HWND, kRamBoxCount> m_box{};
  std::array<HWND, kRamBoxCount> m_label{};
  std::array<HWND, kRamBoxCount> m_spinner{};  // null for the two amount boxes
  HWND m_optMB = nullptr;
  HWND m_optPer = nullptr;
  HWND m_chkSoundon = nullptr;
  HWND m_chkAutomatic = nullptr;
  HWND m_chkTrayFigure = nullptr;
  HWND m_cmdSave = nullptr;
  ToolTips m_toolTips;
};

}  // namespace quelvar
