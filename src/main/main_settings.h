// The start-up options of frmMainSettings: start with Windows (the per-user Run entry) and
// start hidden in the tray. Their values are check box values, 0 or 1, stored as text under
// the settings root's "\Settings\MainSettings" key.
#pragma once
#include <string>

#include "registry/reg_value.h"

namespace quelvar {

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Quelvarix";

struct MainSettingsValues {
  int chkRunMainProgram = 0;
  int chkRunProgramMini = 0;
  friend bool operator==(const MainSettingsValues&, const MainSettingsValues&) = default;
};

// A stored check box value: "1" (or any other nonzero number) ticks the box; "0", text that
// is not a number, and anything unreadable leave it clear.
int CheckValueFromText(const RegValue& stored);

// The path the Run entry holds: folder + "\" + the executable's name without extension +
// ".exe" ("C:\Tools", "Quelvar" -> "C:\Tools\Quelvar.exe").
std::string RunEntryPath(const std::string& folder, const std::string& exeBaseName);

// Reads both values (missing: "0"); when the program is to start with Windows, writes the
// Run entry again with `executablePath`, so it follows the program when it is moved.
MainSettingsValues loadSettings(const std::string& executablePath);

// Writes both values, then writes the Run entry (start with Windows ticked) or removes it.
void saveSettings(const MainSettingsValues& values, const std::string& executablePath);

}  // namespace quelvar
