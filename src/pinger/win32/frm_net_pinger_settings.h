// The pinger window: enable the pinger, choose automatic or manual mode, the host and the
// interval, a sound at each ping, "Ping Now" and "Save". It owns the schedule's timer, which
// runs whether the window is on show or not. Pings run on a thread of their own and report
// back with kMsgPingDone, so the window never waits for a reply; only one runs at a time. A
// problem of the sockets library comes back with the ping and is told here, over the main
// window.
// A status label tells how the last ping went and when the next is due, and the tray tip
// gets a line when a scheduled ping goes unanswered.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include <memory>

#include "base/win32/child_window.h"
#include "base/win32/tool_tips.h"
#include "pinger/win32/mdl_ping.h"
#include "pinger/pinger_settings.h"
#include "pinger/pinger_status.h"

namespace quelvar {

class frmNetPingerSettings : public ChildWindow {
 public:
  explicit frmNetPingerSettings(MainWindowHost& host) : ChildWindow(host) {}

  // A ping is over: wParam its serial (see mdlPing::PingHostAsync).
  static constexpr UINT kMsgPingDone = WM_APP + 1;
  // The schedule's timer.
  static constexpr UINT_PTR kTmrPinger = 1;

  void loadSettings();
  // Saves and runs the schedule as saved; the value that could not be stored, if any.
  std::optional<StoreFailure> saveSettings();
  void setSettingsChanged(bool changed);

 protected:
  const char* ClassName() const override { return "QuelvarNetPingerSettings"; }
  void CreateControls() override;
  void Form_Load() override;
  void ShowLoadedState() override;
  void Form_Unload() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  enum class PingKind { None, Scheduled, Now };

  void Layout();
  void AddToolTips();
  // Shows the model's state in the controls (their own notifications are ignored meanwhile).
  void ShowSettings();
  void ShowEnabledStates();
  void ApplyTimer();
  // The status label and the tray's line, from the last ping and the schedule.
  void ShowStatus();
  // When the next scheduled ping is due, in the user's time format; "" when none is.
  std::string NextPingDueText() const;

  void chkDoPinging_Click();
  void optAuto_Click();
  void optManual_Click();
  void txtPingHost_Change();
  void cmbPingInterval_Click();
  void chkSound_Click();
  void cmdSave_Click();
  void cmdPingNow_Click();
  void tmrPinger_Timer();
  void StartPing(PingKind kind);
  // kMsgPingDone: the outcome of the ping under way, when the serial is its own.
  void OnPingMessage(WPARAM serial);
  void OnPingDone(bool answered, std::uint32_t roundTripMs);
  // Tells the user what went wrong with the sockets library (one box at a time).
  void TellSocketsProblem(const mdlPing::SocketsProblem& problem);
  void PlayPingSound();

  PingerSettingsModel m_model;
  bool m_showing = false;  // true while ShowSettings sets the controls
  bool m_timerRunning = false;
  PingKind m_pingUnderWay = PingKind::None;
  std::shared_ptr<const mdlPing::BackgroundPing> m_ping;  // the ping under way, if any
  bool m_tellingProblem = false;  // a sockets problem's box is open
  std::string m_pingHost;        // the host of the ping under way
  PingerStatus m_status;
  SYSTEMTIME m_lastPingAt{};     // local time the last ping finished
  DWORD m_lastTickAt = 0;        // tick count at the timer's start or its last tick

  HWND m_frameNetPingerSettings = nullptr;
  HWND m_chkDoPinging = nullptr;
  HWND m_frameConfigurations = nullptr;
  HWND m_optAuto = nullptr;
  HWND m_optManual = nullptr;
  HWND m_lblHostName = nullptr;
  HWND m_txtPingHost = nullptr;
  HWND m_lblPingInterval = nullptr;
  HWND m_cmbPingInterval = nullptr;
  HWND m_chkSound = nullptr;
  HWND m_cmdPingNow = nullptr;
  HWND m_cmdSave = nullptr;
  HWND m_lblPingerDescription = nullptr;
  HWND m_lblPingStatus = nullptr;
  ToolTips m_toolTips;
};

}  // namespace quelvar
