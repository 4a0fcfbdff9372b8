// The RAM configuration's state and the low-memory alarm; see ram_configuration.h.
#include "memory/ram_configuration.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "memory/free_ram.h"
#include "registry/reg_value.h"
#include "registry/settings.h"

namespace quelvar {

namespace {

constexpr double kBytesPerMegabyte = 1048576.0;
constexpr int kYieldsAroundAlarmFree = 14;

std::optional<double> Number(const std::string& text) {
  try {
    return RegValue(text).ToDouble();
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

// The nearest whole number (ties to even) within [low, high].
long long Whole(double value, long long low, long long high) {
  const double rounded = std::nearbyint(value);
  return static_cast<long long>(std::clamp(rounded, static_cast<double>(low), static_cast<double>(high)));
}

std::int16_t WholeMegabytes(const std::string& text) {
  const std::optional<double> value = Number(text);
  return static_cast<std::int16_t>(value ? Whole(*value, INT16_MIN, INT16_MAX) : 0);
}

const SettingDefinition& DefinitionOf(RamBox box) {
  switch (box) {
    case RamBox::txtAlarm: return kTxtAlarm;
    case RamBox::txtFreeAlarm: return kTxtFreeAlarm;
    case RamBox::txtTimeCheck: return kTxtTimeCheck;
    case RamBox::txtRetryOptimization: return kTxtRetryOptimization;
    case RamBox::txtRunOnly: return kTxtRunOnly;
  }
  return kTxtAlarm;
}

class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : m_flag(flag) { m_flag = true; }
  ~ScopedFlag() { m_flag = false; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& m_flag;
};

}  // namespace

const SpinnerRange* SpinnerOf(RamBox box) {
  switch (box) {
    case RamBox::txtTimeCheck: return &kTimeCheckRange;
    case RamBox::txtRetryOptimization: return &kRetryRange;
    case RamBox::txtRunOnly: return &kRunOnlyRange;
    default: return nullptr;
  }
}

bool RamConfiguration::IsEnabled(RamBox box) const {
  switch (box) {
    case RamBox::txtAlarm: return m_chkSoundon == 1;
    case RamBox::txtFreeAlarm:
    case RamBox::txtTimeCheck: return m_chkAutomatic == 1;
    default: return true;
  }
}

void RamConfiguration::SetText(RamBox box, const std::string& text) {
  // The same text again is no change: no handler runs, so a correction always ends.
  if (m_text[Index(box)] == text) return;
  m_text[Index(box)] = text;
  OnChange(box);
}

void RamConfiguration::OnChange(RamBox box) {
  const std::optional<double> value = Number(Text(box));
  switch (box) {
    case RamBox::txtAlarm:
      if (!value || *value < 0) SetText(box, std::to_string(m_alarmLevelMB));
      break;
    case RamBox::txtFreeAlarm:
      if (!value || *value < 0 || *value > kFreeAmountLimitMB) {
        SetText(box, std::to_string(m_freeAmountMB));
      }
      break;
    default: {
      // The spinner takes a number written into its box, within its range.
      const SpinnerRange& range = *SpinnerOf(box);
      if (value) m_spinner[Index(box)] = static_cast<int>(Whole(*value, range.low, range.high));
      break;
    }
  }
  SetChanged(true);
}

void RamConfiguration::chkSoundon_Click(int state) {
  m_chkSoundon = state;
  if (state != 1) m_soundDue = false;
  SetChanged(true);
}

void RamConfiguration::chkAutomatic_Click(int state) {
  m_chkAutomatic = state;
  SetChanged(true);
}

void RamConfiguration::chkTrayFigure_Click(int state) {
  m_chkTrayFigure = state;
  SetChanged(true);
}

void RamConfiguration::opt_Click(bool percent) {
  m_optPer = percent;
  m_optMB = !percent;
  SetChanged(true);
}

void RamConfiguration::LoadSettings() {
  // 1. Every row into its control, in the table's order.
  m_chkSoundon = std::clamp<int>(ReadCheckBox(kChkSoundon), 0, 2);
  m_chkAutomatic = std::clamp<int>(ReadCheckBox(kChkAutomatic), 0, 2);
  auto loadBox = [this](RamBox box) {
    std::string text = ReadSetting(DefinitionOf(box));
    if (const SpinnerRange* range = SpinnerOf(box)) {
      // A spinner's box shows the spinner's value: a stored text that is no number gives the
      // row's default, a number outside the range its nearest end.
      std::optional<double> value = Number(text);
      if (!value) value = Number(DefinitionOf(box).defaultValue);
      text = std::to_string(Whole(value.value_or(range->low), range->low, range->high));
    }
    SetText(box, text);
    if (const SpinnerRange* range = SpinnerOf(box)) {
      m_spinner[Index(box)] = static_cast<int>(Whole(*Number(Text(box)), range->low, range->high));
    }
  };
  loadBox(RamBox::txtAlarm);
  loadBox(RamBox::txtFreeAlarm);
  loadBox(RamBox::txtTimeCheck);
  // The two option buttons form one group: choosing one clears the other.
  m_optPer = ReadOption(kOptPer);
  if (m_optPer) m_optMB = false;
  m_optMB = ReadOption(kOptMB);
  if (m_optMB) m_optPer = false;
  loadBox(RamBox::txtRunOnly);
  loadBox(RamBox::txtRetryOptimization);
  m_chkTrayFigure = std::clamp<int>(ReadCheckBox(kChkTrayFigure), 0, 2);
  // 2. The alarm's amounts.
  m_alarmLevelMB = WholeMegabytes(Text(RamBox::txtAlarm));
  m_freeAmountMB = WholeMegabytes(Text(RamBox::txtFreeAlarm));
  // 3. The enabled states follow the check boxes (IsEnabled); 4. the spinners' figures.
  m_alarmInterval = static_cast<unsigned>(m_spinner[Index(RamBox::txtTimeCheck)]);
  m_cpuLimit = static_cast<std::uint8_t>(m_spinner[Index(RamBox::txtRunOnly)]);
  m_retryCount = static_cast<std::uint8_t>(m_spinner[Index(RamBox::txtRetryOptimization)]);
  // 5. Nothing left to save.
  SetChanged(false);
}

std::optional<StoreFailure> RamConfiguration::SaveSettings() {
  SettingsWriter writer;
  writer.Write(kChkSoundon, CheckBoxText(m_chkSoundon));
  writer.Write(kChkAutomatic, CheckBoxText(m_chkAutomatic));
  writer.Write(kTxtAlarm, Text(RamBox::txtAlarm));
  writer.Write(kTxtFreeAlarm, Text(RamBox::txtFreeAlarm));
  writer.Write(kTxtTimeCheck, Text(RamBox::txtTimeCheck));
  writer.Write(kOptPer, OptionText(m_optPer));
  writer.Write(kOptMB, OptionText(m_optMB));
  writer.Write(kTxtRunOnly, Text(RamBox::txtRunOnly));
  writer.Write(kTxtRetryOptimization, Text(RamBox::txtRetryOptimization));
  writer.Write(kChkTrayFigure, CheckBoxText(m_chkTrayFigure));
  if (!writer.Failure()) SetChanged(false);
  return writer.Failure();
}

std::optional<StoreFailure> RamConfiguration::cmdSave_Click() {
  std::optional<StoreFailure> failure = SaveSettings();
  if (!failure) LoadSettings();
  return failure;
}

void RamConfiguration::Unload() {
  // Everything as a new form holds it, but the count of runs: a free still under way (the
  // window may be unloaded from inside its message processing) sees that it is no longer the
  // last and ends.
  const unsigned runs = m_alarmRun;
  *this = RamConfiguration();
  m_alarmRun = runs + 1;
}

std::optional<FreeChange> RamConfiguration::tmrAlarm_Timer(MemorySystem& memory,
                                                           ProcessorMeter* meter) {
  if (m_inAlarm) return std::nullopt;
  ScopedFlag inAlarm(m_inAlarm);
  m_soundDue = false;
  // With both switches off the tick has nothing to decide: memory is not even read.
  if (m_chkSoundon != 1 && m_chkAutomatic != 1) return std::nullopt;
  FreeRAM ram(memory);
  if (ram.GetFreePhysical() / kBytesPerMegabyte < m_alarmLevelMB && m_chkSoundon == 1) {
    m_soundDue = true;
  }
  if (m_chkAutomatic != 1) return std::nullopt;
  if (!(ram.GetFreePhysical() / kBytesPerMegabyte < m_alarmLevelMB)) return std::nullopt;
  // Every turn of the message loop may switch the alarm off or unload the window.
  const unsigned run = ++m_alarmRun;
  const auto stopped = [this, run] { return !AlarmWanted(run); };
  for (int i = 0; i < kYieldsAroundAlarmFree; ++i) memory.DoEvents();
  if (stopped()) return std::nullopt;
  // The amount as the box reads now, saved or not.
  const std::optional<double> megabytes = Number(Text(RamBox::txtFreeAlarm));
  const auto bytes = static_cast<std::int64_t>(megabytes.value_or(0) * kBytesPerMegabyte);
  // A failed measurement (-1) counts as a quiet processor.
  const std::int32_t usage = meter ? meter->Query() : -1;
  if (m_cpuLimit != 0 && m_cpuLimit <= usage) return std::nullopt;
  if (m_retryCount == 0) m_retryCount = 1;
  FreeChange change;
  change.beforeMB = BytesToMegabytes(ram.GetFreePhysical());
  for (int pass = 0; pass < m_retryCount; ++pass) {
    for (int i = 0; i < kYieldsAroundAlarmFree && !stopped(); ++i) memory.DoEvents();
    if (stopped()) {
      if (pass == 0) return std::nullopt;  // nothing was freed
      break;
    }
    ram.FreeUpMemory(bytes, stopped);
    for (int i = 0; i < kYieldsAroundAlarmFree; ++i) memory.DoEvents();
    if (stopped()) break;
  }
  change.afterMB = BytesToMegabytes(ram.GetFreePhysical());
  return change;
}

void RamConfiguration::tmrSoundPlayer_Timer(SoundPlayer& player, const std::string& programFolder) {
  if (m_soundDue) player.PlayFileAsync(programFolder + kLowMemorySound);
}

}  // namespace quelvar
