// The program's own settings: where they live under HKEY_LOCAL_MACHINE, every value with its
// default (this table is the only place names and defaults are written), and the text form
// each kind of control stores.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "registry/reg_value.h"

namespace quelvar {

inline constexpr const char* kSettingsRoot = "SOFTWARE\\Brannoc\\Quelvar";

// Section names; each settings window keeps its values under root + "\Settings\" + section.
inline constexpr const char* kMainSettingsSection = "MainSettings";
inline constexpr const char* kRamSettingsSection = "RamSettings";
inline constexpr const char* kNetPingerSection = "NetPinger";

// One stored value: its section, the name of the control that shows it, and the text the
// reader passes as default when the value is missing.
struct SettingDefinition {
  const char* section;
  const char* name;
  const char* defaultValue;
};

// The start-up settings window.
inline constexpr SettingDefinition kChkRunMainProgram{kMainSettingsSection, "chkRunMainProgram", "0"};
inline constexpr SettingDefinition kChkRunProgramMini{kMainSettingsSection, "chkRunProgramMini", "0"};
// The RAM configuration window.
inline constexpr SettingDefinition kChkSoundon{kRamSettingsSection, "chkSoundon", "0"};
inline constexpr SettingDefinition kChkAutomatic{kRamSettingsSection, "chkAutomatic", "0"};
inline constexpr SettingDefinition kTxtAlarm{kRamSettingsSection, "txtAlarm", "250"};
inline constexpr SettingDefinition kTxtFreeAlarm{kRamSettingsSection, "txtFreeAlarm", "10"};
inline constexpr SettingDefinition kTxtTimeCheck{kRamSettingsSection, "txtTimeCheck", "100"};
inline constexpr SettingDefinition kOptPer{kRamSettingsSection, "optPer", "false"};
inline constexpr SettingDefinition kOptMB{kRamSettingsSection, "optMB", "true"};
inline constexpr SettingDefinition kTxtRunOnly{kRamSettingsSection, "txtRunOnly", "2"};
inline constexpr SettingDefinition kTxtRetryOptimization{kRamSettingsSection, "txtRetryOptimization", "10"};
// Free memory drawn into the tray icon (a later addition: stored after the others).
inline constexpr SettingDefinition kChkTrayFigure{kRamSettingsSection, "chkTrayFigure", "0"};
// The pinger settings window.
inline constexpr SettingDefinition kChkDoPinging{kNetPingerSection, "chkDoPinging", "0"};
inline constexpr SettingDefinition kOptAuto{kNetPingerSection, "optAuto", "true"};
inline constexpr SettingDefinition kOptManual{kNetPingerSection, "optManual", "false"};
inline constexpr SettingDefinition kTxtPingHost{kNetPingerSection, "txtPingHost", "www.example.com"};
inline constexpr SettingDefinition kCmbPingInterval{kNetPingerSection, "cmbPingInterval", "5"};
inline constexpr SettingDefinition kChkSound{kNetPingerSection, "chkSound", "0"};

// Every value, in the order its window reads and writes them.
inline constexpr SettingDefinition kAllSettings[] = {
    kChkRunMainProgram, kChkRunProgramMini,
    kChkSoundon, kChkAutomatic, kTxtAlarm, kTxtFreeAlarm, kTxtTimeCheck, kOptPer, kOptMB,
    kTxtRunOnly, kTxtRetryOptimization, kChkTrayFigure,
    kChkDoPinging, kOptAuto, kOptManual, kTxtPingHost, kCmbPingInterval, kChkSound};

// root + "\Settings\" + section ("MainSettings" -> "SOFTWARE\Brannoc\Quelvar\Settings\MainSettings").
// `root` is only ever changed by tests.
std::string SettingsKey(std::string_view section, std::string_view root = kSettingsRoot);

// The definition of a value by section and name (names compared as the registry does), or
// null when the table has no such value.
const SettingDefinition* FindSetting(std::string_view section, std::string_view name);
// The definitions of one section, in table order.
std::span<const SettingDefinition> SectionSettings(std::string_view section);

// The stored text of a value, or its default (ReadMachineValue with the table's default).
std::string ReadSetting(const SettingDefinition& setting, std::string_view root = kSettingsRoot);
// Throws std::invalid_argument when the table has no such value.
std::string ReadSetting(std::string_view section, std::string_view name,
                        std::string_view root = kSettingsRoot);
void WriteSetting(const SettingDefinition& setting, const std::string& text,
                  std::string_view root = kSettingsRoot);

// --- Text forms per kind of control ---
// Check box: its state as decimal digits ("0" clear, "1" ticked); read back as a 16-bit
// integer (ConversionError for text that is not a number).
std::string CheckBoxText(int state);
std::int16_t CheckBoxState(const RegValue& stored);
// Option button: "True"/"False"; read back from "true"/"false" in any case or from any
// number (nonzero is true).
std::string OptionText(bool value);
bool OptionValue(const RegValue& stored);
// Text box: its text, unchanged both ways.
inline std::string TextBoxText(const std::string& text) { return text; }
// Combo box: its selected 0-based index as decimal digits; read back as a 16-bit integer.
std::string ComboText(int index);
std::int16_t ComboIndex(const RegValue& stored);

// Reading a window's control from the store in one step. A stored text that cannot be
// converted (written by hand or by another program) gives the table's default instead.
std::int16_t ReadCheckBox(const SettingDefinition& setting, std::string_view root = kSettingsRoot);
bool ReadOption(const SettingDefinition& setting, std::string_view root = kSettingsRoot);
std::int16_t ReadComboIndex(const SettingDefinition& setting, std::string_view root = kSettingsRoot);

}  // namespace quelvar
