// Unattended use: Quelvar.exe /apply "<mode>", /restore <file>, /export "<mode>" <file.reg>
// (or /export <backup.BCK> <file.reg>), each optionally with /log <file>, and /? for the usage. A command runs without a window
// through the same apply, restore and export the windows use, writes what it did to the log
// and ends with an exit code that tells the kind of failure. Without arguments Quelvar starts
// as usual.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace quelvar {

// Exit codes, one per kind of outcome (1 is the program's own failure, from the failure net).
enum class CommandExit : int {
  kDone = 0,
  kBadArguments = 2,      // an unknown switch, a missing or extra argument; nothing changed
  kUnknownMode = 3,       // no mode of that name; nothing changed
  kBackupNotWritten = 4,  // the backup an apply writes first failed; nothing changed
  kValuesNotWritten = 5,  // some values could not be written (or were left alone); the rest were
  kFileRefused = 6,       // the backup file is damaged or was changed by hand; nothing changed
  kOtherWindows = 7,      // the backup file was taken on another Windows version; nothing changed
  kFileUnreadable = 8,    // the backup file could not be read; nothing changed
  kFileNotWritten = 9,    // the .reg file or the log could not be written
  kNotAllowed = 10,       // this user account may not change the tuned keys; nothing changed
};

enum class CommandAction { kNone, kUsage, kApply, kRestore, kExport };

struct ParsedCommand {
  CommandAction action = CommandAction::kNone;
  std::string mode;     // /apply, /export (for /export also a backup file ending in .BCK)
  std::string file;     // /restore: the backup; /export: the .reg file
  std::string logPath;  // /log; empty for none
  std::string problem;  // why the arguments are refused; empty when they are sound
};

// The arguments of a command line (without the program's name), split as the C runtime splits
// them: blanks separate, double quotes group, 2n backslashes before a quote give n and open or
// close the quotes, 2n+1 give n and a literal quote; other backslashes are kept.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Switches start with "/" or "-", letter case ignored. No arguments: kNone.
ParsedCommand ParseCommandLine(const std::vector<std::string>& arguments);

// The usage text the balloon box shows for /? (and beneath a refusal of bad arguments).
std::string CommandUsage();

struct CommandReport {
  int exitCode = 0;
  std::string log;      // the lines written to the log (also when there is none)
  std::string boxText;  // for the balloon box: the usage, or why the arguments were refused
};

// Runs a parsed command with the process's services (OsFamily and the presets set, the
// registry, the file system, the clock and a message box service) and appends its log to
// `logPath` when there is one; that log is written first, and a log that cannot be written
// stops the command before it changes anything. What the apply and the restore would tell the
// user in a message box goes to the log instead. `commandLine` is quoted in the log, after the
// date and `computerName` (so many computers can share one log).
CommandReport RunCommand(const ParsedCommand& command, const std::string& commandLine,
                         const std::string& computerName = "");

}  // namespace quelvar
