// The pinger window's state without the window: its six stored controls, the two modes, the
// "Save" rule and the host and interval that the pings use. The window (win32/
// frm_net_pinger_settings.h) shows this state and forwards its control events here.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "pinger/pinger_schedule.h"
#include "registry/settings.h"

namespace quelvar {

// The host of automatic mode, and the stored default of "txtPingHost".
inline constexpr const char* kDefaultPingHost = kTxtPingHost.defaultValue;
// What the host box shows in automatic mode.
inline constexpr const char* kAutomaticHostText = "Automatic";
// The interval of automatic mode: list index 5, 6 minutes.
inline constexpr int kAutomaticIntervalIndex = 5;
inline constexpr int kIntervalCount = 60;

// List item i: i + 1 minutes ("1 min.", ..., "60 min.").
std::string IntervalItemText(int index);
// A list index as decimal text; anything that is not an index of the list gives
// kAutomaticIntervalIndex.
int IntervalIndexFromText(std::string_view text);

// What the six stored controls show.
struct PingerControls {
  int chkDoPinging = 0;  // 0 clear, 1 ticked
  bool optAuto = true;
  bool optManual = false;
  std::string txtPingHost = kAutomaticHostText;
  int cmbPingInterval = 0;
  int chkSound = 0;
  friend bool operator==(const PingerControls&, const PingerControls&) = default;
};

class PingerSettingsModel {
 public:
  // `root` is only ever changed by tests.
  explicit PingerSettingsModel(std::string root = kSettingsRoot) : m_root(std::move(root)) {}

  // Reads the six values, shows the mode, derives the host, the interval and the schedule's
  // period; no unsaved edits afterwards.
  void loadSettings();
  // Writes the six values and derives the host, the interval, the timer and the period.
  // When a value cannot be stored the rest are not written and nothing is derived: the pings
  // go on as before, and the failure is returned.
  std::optional<StoreFailure> saveSettings();

  // The controls' events.
  void chkDoPinging_Click(int state);
  void optAuto_Click();
  void optManual_Click();
  void txtPingHost_Change(const std::string& text);
  void cmbPingInterval_Click(int index);
  void chkSound_Click(int state);
  // Saves; after a failed save the edits are still unsaved ("Save" stays enabled).
  std::optional<StoreFailure> cmdSave_Click();

  const PingerControls& controls() const { return m_controls; }
  // There are edits not yet saved ("Save" is enabled exactly then).
  bool settingsChanged() const { return m_settingsChanged; }
  // frameConfigurations (with "Ping Now") follows "Enable Pinger".
  bool frameConfigurationsEnabled() const { return m_controls.chkDoPinging == 1; }
  // The host box and the interval list can be edited (manual mode).
  bool hostAndIntervalEnabled() const { return !m_controls.optAuto; }
  // tmrPinger runs: set by load and Save, never by ticking the box alone.
  bool timerEnabled() const { return m_timerEnabled; }

  // The host and interval the pings use: those of the last load or save.
  const std::string& PingHostName() const { return m_PingHostName; }
  const std::string& PingIntervalText() const { return m_PingIntervalText; }
  PingSchedule& schedule() { return m_schedule; }
  const PingSchedule& schedule() const { return m_schedule; }

 private:
  void setSettingsChanged(bool changed) { m_settingsChanged = changed; }
  void ShowAutomaticMode();
  void DerivePingTarget();

  std::string m_root;
  PingerControls m_controls;
  bool m_settingsChanged = false;
  bool m_timerEnabled = false;
  std::string m_PingHostName = kDefaultPingHost;
  std::string m_PingIntervalText = "5";
  PingSchedule m_schedule;
};

}  // namespace quelvar
