// The settings table's look-ups and the text forms of the settings windows' controls.
#include "registry/settings.h"

#include <algorithm>
#include <stdexcept>

#include "registry/memory_registry.h"
#include "registry/registry_access.h"

namespace quelvar {

namespace {

template <typename T, typename Convert>
T ReadConverted(const SettingDefinition& setting, std::string_view root, Convert convert) {
  try {
    return convert(RegValue(ReadSetting(setting, root)));
  } catch (const ConversionError&) {
    return convert(RegValue(setting.defaultValue));
  }
}

}  // namespace

std::string SettingsKey(std::string_view section, std::string_view root) {
  std::string key(root);
  key += "\\Settings\\";
  key += section;
  return key;
}

const SettingDefinition* FindSetting(std::string_view section, std::string_view name) {
  const auto it = std::find_if(std::begin(kAllSettings), std::end(kAllSettings),
                               [&](const SettingDefinition& setting) {
                                 return RegistryNamesEqual(setting.section, section) &&
                                        RegistryNamesEqual(setting.name, name);
                               });
  return it == std::end(kAllSettings) ? nullptr : &*it;
}

std::span<const SettingDefinition> SectionSettings(std::string_view section) {
  const auto first = std::find_if(std::begin(kAllSettings), std::end(kAllSettings),
                                  [&](const SettingDefinition& setting) {
                                    return RegistryNamesEqual(setting.section, section);
                                  });
  auto last = first;
  while (last != std::end(kAllSettings) && RegistryNamesEqual(last->section, section)) ++last;
  return {first, last};
}

std::string ReadSetting(const SettingDefinition& setting, std::string_view root) {
  return ReadMachineValue(SettingsKey(setting.section, root), setting.name, setting.defaultValue)
      .ToText();
}

std::string ReadSetting(std::string_view section, std::string_view name, std::string_view root) {
  const SettingDefinition* setting = FindSetting(section, name);
  if (setting == nullptr) {
    throw std::invalid_argument("no setting " + std::string(name) + " in " + std::string(section));
  }
  return ReadSetting(*setting, root);
}

RegStatus WriteSetting(const SettingDefinition& setting, const std::string& text,
                       std::string_view root) {
  return StoreMachineValue(SettingsKey(setting.section, root), setting.name, text);
}

void SettingsWriter::Write(const SettingDefinition& setting, const std::string& text) {
  if (m_failure) return;
  const RegStatus status = WriteSetting(setting, text, m_root);
  if (status == kRegSuccess) return;
  m_failure = StoreFailure{kHkeyLocalMachine, SettingsKey(setting.section, m_root), setting.name,
                           setting.caption, status};
}

std::string StoreFailureMessage(const StoreFailure& failure) {
  const bool machine = failure.hive == kHkeyLocalMachine;
  const std::string where = std::string(machine ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\") +
                            failure.key + " (value \"" + failure.valueName + "\")";
  std::string text =
      "Quelvar could not save these settings: \"" + failure.caption + "\" could not be stored.\n\n";
  if (failure.status == kRegAccessDenied) {
    text += "Windows did not allow this account to change " + where + ".";
    if (machine) text += " Saving Quelvar's settings needs administrator rights on this computer.";
  } else {
    text += "Windows could not write " + where + " (error " + std::to_string(failure.status) + ").";
  }
  text += "\n\nYour changes are still in the window and have not been saved.";
  text += machine && failure.status == kRegAccessDenied
              ? " Log on as an administrator, or ask one, and press Save again."
              : " Press Save to try again.";
  return text;
}

std::string CheckBoxText(int state) { return std::to_string(state); }
std::int16_t CheckBoxState(const RegValue& stored) { return stored.ToInt16(); }
std::string OptionText(bool value) { return value ? "True" : "False"; }
bool OptionValue(const RegValue& stored) { return stored.ToBool(); }
std::string ComboText(int index) { return std::to_string(index); }
std::int16_t ComboIndex(const RegValue& stored) { return stored.ToInt16(); }

std::int16_t ReadCheckBox(const SettingDefinition& setting, std::string_view root) {
  return ReadConverted<std::int16_t>(setting, root, CheckBoxState);
}

bool ReadOption(const SettingDefinition& setting, std::string_view root) {
  return ReadConverted<bool>(setting, root, OptionValue);
}

std::int16_t ReadComboIndex(const SettingDefinition& setting, std::string_view root) {
  return ReadConverted<std::int16_t>(setting, root, ComboIndex);
}

}  // namespace quelvar
