// Start-up options; see main_settings.h.
#include "main/main_settings.h"

#include "registry/registry_access.h"
#include "registry/settings.h"

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

namespace {
void WriteRunEntry(const std::string& executablePath, bool remove) {
  SetOrDeleteRegistryValue(kHkeyCurrentUser, kRunKey, kRunValueName, kRegSz, executablePath,
                           remove);
}
}  // namespace

MainSettingsValues loadSettings(const std::string& executablePath) {
  MainSettingsValues values;
  values.chkRunMainProgram = CheckValueFromText(ReadSetting(kChkRunMainProgram));
  values.chkRunProgramMini = CheckValueFromText(ReadSetting(kChkRunProgramMini));
  if (values.chkRunMainProgram == 1) WriteRunEntry(executablePath, false);
  return values;
}

void saveSettings(const MainSettingsValues& values, const std::string& executablePath) {
  WriteSetting(kChkRunMainProgram, CheckBoxText(values.chkRunMainProgram));
  WriteSetting(kChkRunProgramMini, CheckBoxText(values.chkRunProgramMini));
  WriteRunEntry(executablePath, values.chkRunMainProgram != 1);
}

}  // namespace quelvar
