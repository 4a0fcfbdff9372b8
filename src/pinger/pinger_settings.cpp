// The pinger window's state; see pinger_settings.h.
#include "pinger/pinger_settings.h"

#include <charconv>

namespace quelvar {

std::string IntervalItemText(int index) { return std::to_string(index + 1) + " min."; }

int IntervalIndexFromText(std::string_view text) {
  int index = -1;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), index);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() || index < 0 ||
      index >= kIntervalCount) {
    return kAutomaticIntervalIndex;
  }
  return index;
}

void PingerSettingsModel::loadSettings() {
  // In the stored order. Of the two option buttons the later one read wins, as setting an
  // option button clears the other; when neither is set the window is in manual mode.
  m_controls.chkDoPinging = ReadCheckBox(kChkDoPinging, m_root) != 0 ? 1 : 0;
  const bool automatic = ReadOption(kOptAuto, m_root);
  const bool manual = ReadOption(kOptManual, m_root);
  m_controls.optAuto = automatic && !manual;
  m_controls.optManual = !m_controls.optAuto;
  m_controls.txtPingHost = ReadSetting(kTxtPingHost, m_root);
  const int index = ReadComboIndex(kCmbPingInterval, m_root);
  m_controls.cmbPingInterval = index >= 0 && index < kIntervalCount ? index : kAutomaticIntervalIndex;
  m_controls.chkSound = ReadCheckBox(kChkSound, m_root) != 0 ? 1 : 0;

  if (m_controls.optAuto) ShowAutomaticMode();
  DerivePingTarget();
  m_timerEnabled = m_controls.chkDoPinging == 1;
  setSettingsChanged(false);
  m_schedule.SetIntervalText(m_PingIntervalText);
}

std::optional<StoreFailure> PingerSettingsModel::saveSettings() {
  SettingsWriter writer(m_root);
  writer.Write(kChkDoPinging, CheckBoxText(m_controls.chkDoPinging));
  writer.Write(kOptAuto, OptionText(m_controls.optAuto));
  writer.Write(kOptManual, OptionText(m_controls.optManual));
  writer.Write(kTxtPingHost, TextBoxText(m_controls.txtPingHost));
  writer.Write(kCmbPingInterval, ComboText(m_controls.cmbPingInterval));
  writer.Write(kChkSound, CheckBoxText(m_controls.chkSound));
  if (writer.Failure()) return writer.Failure();
  DerivePingTarget();
  m_timerEnabled = m_controls.chkDoPinging == 1;
  m_schedule.SetIntervalText(m_PingIntervalText);
  return std::nullopt;
}

void PingerSettingsModel::ShowAutomaticMode() {
  m_controls.txtPingHost = kAutomaticHostText;
  m_controls.cmbPingInterval = 0;
}

void PingerSettingsModel::DerivePingTarget() {
  if (m_controls.optAuto) {
    m_PingHostName = kDefaultPingHost;
    m_PingIntervalText = std::to_string(kAutomaticIntervalIndex);
  } else {
    m_PingHostName = m_controls.txtPingHost;
    m_PingIntervalText = std::to_string(m_controls.cmbPingInterval);
  }
}

void PingerSettingsModel::chkDoPinging_Click(int state) {
  m_controls.chkDoPinging = state != 0 ? 1 : 0;
  setSettingsChanged(true);
}

void PingerSettingsModel::optAuto_Click() {
  setSettingsChanged(true);
  m_controls.optAuto = true;
  m_controls.optManual = false;
  ShowAutomaticMode();
}

void PingerSettingsModel::optManual_Click() {
  setSettingsChanged(true);
  m_controls.optAuto = false;
  m_controls.optManual = true;
  m_controls.txtPingHost = kDefaultPingHost;
}

void PingerSettingsModel::txtPingHost_Change(const std::string& text) {
  m_controls.txtPingHost = text;
  setSettingsChanged(true);
}

void PingerSettingsModel::cmbPingInterval_Click(int index) {
  if (index >= 0 && index < kIntervalCount) m_controls.cmbPingInterval = index;
  setSettingsChanged(true);
}

void PingerSettingsModel::chkSound_Click(int state) {
  m_controls.chkSound = state != 0 ? 1 : 0;
  setSettingsChanged(true);
}

std::optional<StoreFailure> PingerSettingsModel::cmdSave_Click() {
  setSettingsChanged(false);
  std::optional<StoreFailure> failure = saveSettings();
  if (failure) setSettingsChanged(true);
  return failure;
}

}  // namespace quelvar
