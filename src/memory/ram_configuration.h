// The RAM configuration window without its window: the values its controls hold, their
// loading and saving, the corrections of the amount boxes, "Save" following unsaved edits,
// and the low-memory alarm with its warning sound. The Win32 window (win32/) shows this
// state, passes the user's edits in, and runs the two timers.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "memory/memory_system.h"
#include <optional>

#include "memory/processor_meter.h"
#include "memory/sound_player.h"
#include "memory/status_rules.h"
#include "registry/settings.h"

namespace quelvar {

// The five text boxes, three of them bound to a spinner.
enum class RamBox { txtAlarm, txtFreeAlarm, txtTimeCheck, txtRetryOptimization, txtRunOnly };
inline constexpr int kRamBoxCount = 5;

// The spinners' ranges: the check period never goes below 100 ms (a period of 0 would stop the
// alarm for good), and the processor limit stops at 100 %, which the one-byte limit holds.
struct SpinnerRange {
  int low;
  int high;
};
inline constexpr SpinnerRange kTimeCheckRange{100, 65535};
inline constexpr SpinnerRange kRetryRange{0, 20};
inline constexpr SpinnerRange kRunOnlyRange{0, 100};
inline constexpr int kFreeAmountLimitMB = 1000;
inline constexpr unsigned kSoundPlayerInterval = 65535;
inline constexpr char kLowMemorySound[] = "\\low-memory.wav";

// The spinner bound to a box, or null for the two amount boxes.
const SpinnerRange* SpinnerOf(RamBox box);

class RamConfiguration {
 public:
  // --- The controls, as the window shows them ---
  const std::string& Text(RamBox box) const { return m_text[Index(box)]; }
  int chkSoundon() const { return m_chkSoundon; }
  int chkAutomatic() const { return m_chkAutomatic; }
  bool optMB() const { return m_optMB; }
  bool optPer() const { return m_optPer; }
  // "Show free memory in the tray icon": 1 ticked.
  int chkTrayFigure() const { return m_chkTrayFigure; }
  // Enabled states: the level box follows "Sound on"; the amount, period and its spinner
  // follow "Optimize automatically".
  bool IsEnabled(RamBox box) const;
  // "Save" is enabled exactly while this is true.
  bool Changed() const { return m_changed; }
  // A spinner's value (the last number its box held, within its range).
  int SpinnerValue(RamBox box) const { return m_spinner[Index(box)]; }

  // --- Events ---
  // A box's text written or typed: when it differs, the box's change handler runs.
  void SetText(RamBox box, const std::string& text);
  // Clearing "Sound on" takes back a sound that is due; clearing "Optimize automatically"
  // ends a running alarm free at its next turn of the message loop. Both count at once.
  void chkSoundon_Click(int state);
  void chkAutomatic_Click(int state);
  void chkTrayFigure_Click(int state);
  // The option buttons: true chooses "Percentage of Free RAM".
  void opt_Click(bool percent);
  // Loads every value in the table's order and takes the alarm's figures from them.
  void LoadSettings();
  // Writes every value in the table's order, stopping at one that cannot be stored. Only a
  // complete save leaves nothing to save; the failure is returned, the edits stay.
  std::optional<StoreFailure> SaveSettings();
  // Saves, and on success loads the saved values back (the alarm takes its figures from
  // them). On failure nothing changes: the boxes keep the edits, "Save" stays enabled and
  // the alarm keeps the figures of the last load.
  std::optional<StoreFailure> cmdSave_Click();
  // The window goes: the alarm stops at once (no sound due, a running free ends), and the
  // next load starts from the state the first one did.
  void Unload();

  // --- The alarm ---
  // The alarm period: the period spinner at the last load.
  unsigned AlarmInterval() const { return m_alarmInterval; }
  std::int16_t AlarmLevelMB() const { return m_alarmLevelMB; }
  std::int16_t FreeAmountMB() const { return m_freeAmountMB; }
  std::uint8_t CpuLimit() const { return m_cpuLimit; }
  std::uint8_t RetryCount() const { return m_retryCount; }
  bool SoundDue() const { return m_soundDue; }
  // One alarm tick. `meter` is the status window's processor meter (null: no limit can be
  // checked, so none applies). A tick that arrives during its own message processing is
  // skipped. The passes stop as soon as "Optimize automatically" is cleared or the window
  // unloads (checked after every turn of the message loop). When the tick freed memory: free
  // memory before the first pass and after the last, in megabytes.
  std::optional<FreeChange> tmrAlarm_Timer(MemorySystem& memory, ProcessorMeter* meter);
  // One sound tick: plays the program folder's "\low-memory.wav" when due.
  void tmrSoundPlayer_Timer(SoundPlayer& player, const std::string& programFolder);

 private:
  static int Index(RamBox box) { return static_cast<int>(box); }
  void OnChange(RamBox box);
  void SetChanged(bool changed) { m_changed = changed; }
  // Whether the alarm free started as run `run` may go on.
  bool AlarmWanted(unsigned run) const { return m_alarmRun == run && m_chkAutomatic == 1; }

  std::array<std::string, kRamBoxCount> m_text{"250", "128", "100", "0", "0"};
  std::array<int, kRamBoxCount> m_spinner{0, 0, 100, 0, 0};
  int m_chkSoundon = 0;
  int m_chkAutomatic = 0;
  int m_chkTrayFigure = 0;
  bool m_optMB = false;
  bool m_optPer = false;
  bool m_changed = false;

  std::int16_t m_alarmLevelMB = 0;
  std::int16_t m_freeAmountMB = 0;
  std::uint8_t m_cpuLimit = 0;
  std::uint8_t m_retryCount = 0;
  unsigned m_alarmInterval = 100;
  bool m_soundDue = false;
  bool m_inAlarm = false;
  // Counts the alarm frees started and the unloads: a free goes on only while it is the last.
  unsigned m_alarmRun = 0;
};

}  // namespace quelvar
