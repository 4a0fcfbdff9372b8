// The start-up options of frmMainSettings: start with Windows (the per-user Run entry) and
// start hidden in the tray. Their values are check box values, 0 or 1, stored as text under
// the settings root's "\Settings\MainSettings" key.
#pragma once
#include <optional>
#include <string>

#include "registry/reg_value.h"
#include "registry/settings.h"

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
// The Run entry's text: the path in quotation marks, so that Windows takes a path with
// blanks ("C:\Program Files\...") as one.
std::string RunEntryText(const std::string& executablePath);
// Whether a Run entry's text starts this executable: its path quoted, or bare as earlier
// versions wrote it, letters compared regardless of case.
bool IsRunEntryFor(const std::string& entryText, const std::string& executablePath);

// Reads both values (missing: "0"). A Run entry that starts this executable ticks "start with
// Windows" whatever is stored, since Windows will start it. When the program is to start with
// Windows, writes the Run entry again unless it already holds the quoted `executablePath`, so
// it follows the program when it is moved.
MainSettingsValues loadSettings(const std::string& executablePath);

// Writes both values, then writes the Run entry (start with Windows ticked) or removes it.
// A value that cannot be stored stops the save; when the Run entry cannot be changed, the two
// values are put back, so the stored option keeps matching the entry. Returns the failure.
std::optional<StoreFailure> saveSettings(const MainSettingsValues& values,
                                         const std::string& executablePath);

}  // namespace quelvar
