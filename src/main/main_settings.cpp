// Start-up options; see main_settings.h.
#include "main/main_settings.h"

#include <string_view>

#include "registry/memory_registry.h"
#include "registry/registry_access.h"

namespace quelvar {

int CheckValueFromText(const RegValue& stored) {
  try {
    return stored.ToDouble() != 0.0 ? 1 : 0;
  } catch (const ConversionError&) {
    return 0;
  }
}

std::string RunEntryPath(const std::string& folder, const std::string& exeBaseName) {
  return folder + "\\" + exeBaseName + ".exe";
}

std::string RunEntryText(const std::string& executablePath) {
  return "\"" + executablePath + "\"";
}

bool IsRunEntryFor(const std::string& entryText, const std::string& executablePath) {
  std::string_view path(entryText);
  while (!path.empty() && path.front() == ' ') path.remove_prefix(1);
  while (!path.empty() && path.back() == ' ') path.remove_suffix(1);
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
    path = path.substr(1, path.size() - 2);
  }
  return !path.empty() && RegistryNamesEqual(path, executablePath);
}

namespace {

RegStatus WriteRunEntry(const std::string& executablePath, bool remove) {
  return SetOrDeleteRegistryValue(kHkeyCurrentUser, kRunKey, kRunValueName, kRegSz,
                                  RunEntryText(executablePath), remove);
}

}  // namespace

MainSettingsValues loadSettings(const std::string& executablePath) {
  MainSettingsValues values;
  values.chkRunMainProgram = CheckValueFromText(ReadSetting(kChkRunMainProgram));
  values.chkRunProgramMini = CheckValueFromText(ReadSetting(kChkRunProgramMini));
  const std::string entry =
      ReadRegistryValue(kHkeyCurrentUser, kRunKey, kRunValueName, RegValue()).ToText();
  if (IsRunEntryFor(entry, executablePath)) values.chkRunMainProgram = 1;
  if (values.chkRunMainProgram == 1 && entry != RunEntryText(executablePath)) {
    WriteRunEntry(executablePath, false);
  }
  return values;
}

std::optional<StoreFailure> saveSettings(const MainSettingsValues& values,
                                         const std::string& executablePath) {
  const std::string before[] = {ReadSetting(kChkRunMainProgram), ReadSetting(kChkRunProgramMini)};
  SettingsWriter writer;
  writer.Write(kChkRunMainProgram, CheckBoxText(values.chkRunMainProgram));
  writer.Write(kChkRunProgramMini, CheckBoxText(values.chkRunProgramMini));
  if (writer.Failure()) return writer.Failure();

  const bool remove = values.chkRunMainProgram != 1;
  const RegStatus status = WriteRunEntry(executablePath, remove);
  // Removing an entry that is not there leaves the registry as asked.
  if (status == kRegSuccess || (remove && status == kRegFileNotFound)) return std::nullopt;
  WriteSetting(kChkRunMainProgram, before[0]);
  WriteSetting(kChkRunProgramMini, before[1]);
  return StoreFailure{kHkeyCurrentUser, kRunKey, kRunValueName, kChkRunMainProgram.caption, status};
}

}  // namespace quelvar
