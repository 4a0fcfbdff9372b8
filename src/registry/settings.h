// The program's own settings: where they live under HKEY_LOCAL_MACHINE, every value with its
// default (this table is the only place names and defaults are written), and the text form
// each kind of control stores.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "registry/reg_value.h"
#include "registry/registry_backend.h"

namespace quelvar {

inline constexpr const char* kSettingsRoot = "SOFTWARE\\Brannoc\\Quelvar";

// Section names; each settings window keeps its values under root + "\Settings\" + section.
inline constexpr const char* kMainSettingsSection = "MainSettings";
inline constexpr const char* kRamSettingsSection = "RamSettings";
inline constexpr const char* kNetPingerSection = "NetPinger";

// One stored value: its section, the name of the control that shows it, the text the reader
// passes as default when the value is missing, and the control's caption (what the user calls
// the value, in messages).
struct SettingDefinition {
  const char* section;
  const char* name;
  const char* defaultValue;
  const char* caption;
};

// The start-up settings window.
inline constexpr SettingDefinition kChkRunMainProgram{kMainSettingsSection, "chkRunMainProgram", "0",
                                                      "Run Main Program when windows start up"};
inline constexpr SettingDefinition kChkRunProgramMini{kMainSettingsSection, "chkRunProgramMini", "0",
                                                      "Run Program In system tray"};
// The RAM configuration window.
inline constexpr SettingDefinition kChkSoundon{kRamSettingsSection, "chkSoundon", "0", "Sound on"};
inline constexpr SettingDefinition kChkAutomatic{kRamSettingsSection, "chkAutomatic", "0",
                                                 "Optimize automatically when Alarm level is reached"};
inline constexpr SettingDefinition kTxtAlarm{kRamSettingsSection, "txtAlarm", "250", "Alarm Level (in MB)"};
inline constexpr SettingDefinition kTxtFreeAlarm{kRamSettingsSection, "txtFreeAlarm", "10",
                                                 "RAM to try and free when alarm level is reached"};
inline constexpr SettingDefinition kTxtTimeCheck{kRamSettingsSection, "txtTimeCheck", "100",
                                                 "Do check every (in Milliseconds)"};
inline constexpr SettingDefinition kOptPer{kRamSettingsSection, "optPer", "false", "Percentage of Free RAM"};
inline constexpr SettingDefinition kOptMB{kRamSettingsSection, "optMB", "true", "Free RAM in MB"};
inline constexpr SettingDefinition kTxtRunOnly{kRamSettingsSection, "txtRunOnly", "2",
                                               "Run ONLY if CPU-Usage is below this"};
inline constexpr SettingDefinition kTxtRetryOptimization{kRamSettingsSection, "txtRetryOptimization", "10",
                                                         "Times to retry optimization"};
// Free memory drawn into the tray icon (a later addition: stored after the others).
inline constexpr SettingDefinition kChkTrayFigure{kRamSettingsSection, "chkTrayFigure", "0",
                                                  "Show free memory in the tray icon"};
// The pinger settings window.
inline constexpr SettingDefinition kChkDoPinging{kNetPingerSection, "chkDoPinging", "0", "Enable Pinger"};
inline constexpr SettingDefinition kOptAuto{kNetPingerSection, "optAuto", "true", "Automatic Mode"};
inline constexpr SettingDefinition kOptManual{kNetPingerSection, "optManual", "false", "Manual Mode"};
inline constexpr SettingDefinition kTxtPingHost{kNetPingerSection, "txtPingHost", "www.example.com",
                                                "Ping Host"};
inline constexpr SettingDefinition kCmbPingInterval{kNetPingerSection, "cmbPingInterval", "5",
                                                    "Ping Interval"};
inline constexpr SettingDefinition kChkSound{kNetPingerSection, "chkSound", "0", "Play Sound at Ping"};

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
// Stores the text; the registry's status (kRegSuccess when stored).
RegStatus WriteSetting(const SettingDefinition& setting, const std::string& text,
                       std::string_view root = kSettingsRoot);

// --- Saving a window's values ---
// A value a Save could not store: where it lives, what the user calls it, and the status.
struct StoreFailure {
  RegKey hive = kHkeyLocalMachine;
  std::string key;
  std::string valueName;
  std::string caption;
  RegStatus status = kRegSuccess;
  friend bool operator==(const StoreFailure&, const StoreFailure&) = default;
};

// Writes one window's values in order. After a value that cannot be stored it writes nothing
// more, so a Save the registry refuses (the first value fails on a key the user may not
// write) leaves the stored values as they were.
class SettingsWriter {
 public:
  explicit SettingsWriter(std::string_view root = kSettingsRoot) : m_root(root) {}
  void Write(const SettingDefinition& setting, const std::string& text);
  // The first value that could not be stored; nothing while every write succeeded.
  const std::optional<StoreFailure>& Failure() const { return m_failure; }

 private:
  std::string m_root;
  std::optional<StoreFailure> m_failure;
};

// What a settings window tells the user when its Save failed: the value, where it lives, why
// (administrator rights, when Windows denied access to the program's settings) and that the
// edits are still on screen, unsaved.
std::string StoreFailureMessage(const StoreFailure& failure);

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
