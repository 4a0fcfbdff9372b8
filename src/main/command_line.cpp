// Unattended commands; see command_line.h.
#include "main/command_line.h"

#include <cstdio>

#include "base/clock.h"
#include "base/file_system.h"
#include "base/message_box.h"
#include "base/os_family.h"
#include "base/text_util.h"
#include "quelvar_version.h"
#include "tuning/apply_profile.h"
#include "tuning/backup_layout.h"
#include "tuning/backup_restore.h"
#include "tuning/reg_export.h"
#include "tuning/tuning_profile.h"

namespace quelvar {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// "/apply" or "-apply" -> "apply"; anything else -> empty.
std::string SwitchName(const std::string& argument) {
  if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) return {};
  std::string name = argument.substr(1);
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

std::string ModeList() {
  std::string list;
  for (int i = 0; i < kPresetCount; ++i) {
    const std::string_view separator = i == 0 ? "" : i + 1 == kPresetCount ? " and " : ", ";
    list.append(separator).append("\"").append(kPresetCaptions[static_cast<std::size_t>(i)]);
    list.append("\"");
  }
  return list;
}

std::string TwoDigits(int number) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", number);
  return text;
}

std::string Stamp(const LocalDateTime& now) {
  return std::to_string(now.year) + "-" + TwoDigits(now.month) + "-" + TwoDigits(now.day) + " " +
         TwoDigits(now.hour) + ":" + TwoDigits(now.minute) + ":" + TwoDigits(now.second);
}

// A message box's text as log lines: indented, its line breaks kept, blank lines dropped.
std::string Indented(const std::string& text) {
  std::string lines;
  std::string_view rest = text;
  std::string_view line;
  while (NextTrimmedLine(rest, line)) {
    if (!line.empty()) lines += "  " + std::string(line) + "\r\n";
  }
  return lines;
}

// Keeps what the apply and the restore would have shown, for the log.
class LoggedMessageBoxes final : public MessageBoxService {
 public:
  std::string text;
  int Show(const std::string& message, const std::string&, unsigned) override {
    text += Indented(message);
    return kIdOk;
  }
};

// A backup named without a folder ("001.BCK") lies in the Backups folder.
std::string BackupPathFor(const std::string& file) {
  if (file.find_first_of("\\/:") == std::string::npos) return BackupFilePath(file);
  return file;
}

const char* Outcome(CommandExit exit) {
  switch (exit) {
    case CommandExit::kDone: return "Done";
    case CommandExit::kBadArguments: return "Refused: the command line is not right";
    case CommandExit::kUnknownMode: return "Refused: no mode of that name";
    case CommandExit::kBackupNotWritten: return "Refused: the backup could not be written";
    case CommandExit::kValuesNotWritten: return "Not complete: some values were not written";
    case CommandExit::kFileRefused: return "Refused: the backup file is damaged or changed";
    case CommandExit::kOtherWindows: return "Refused: the backup is of another Windows version";
    case CommandExit::kFileUnreadable: return "Refused: the backup file could not be read";
    case CommandExit::kFileNotWritten: return "Failed: the file could not be written";
    case CommandExit::kNotAllowed: return "Refused: this account may not change these settings";
  }
  return "Ended";
}

CommandExit ExitFor(RestoreOutcome outcome) {
  switch (outcome) {
    case RestoreOutcome::kRestored: return CommandExit::kDone;
    case RestoreOutcome::kUnreadable: return CommandExit::kFileUnreadable;
    case RestoreOutcome::kRefused: return CommandExit::kFileRefused;
    case RestoreOutcome::kOtherOperatingSystem: return CommandExit::kOtherWindows;
    case RestoreOutcome::kAccessDenied: return CommandExit::kNotAllowed;
    case RestoreOutcome::kWritesFailed: return CommandExit::kValuesNotWritten;
  }
  return CommandExit::kFileRefused;
}

struct Run {
  CommandExit exit = CommandExit::kDone;
  std::string lines;
};

// The preset of a mode name, or the refusal.
std::optional<int> FindMode(const std::string& name, Run& run) {
  const std::optional<int> index = PresetIndexByName(Trim(name));
  if (!index) {
    run.exit = CommandExit::kUnknownMode;
    run.lines += "  There is no mode named \"" + name + "\". The modes are " + ModeList() + ".\r\n";
  }
  return index;
}

void Apply(const ParsedCommand& command, LoggedMessageBoxes& boxes, Run& run) {
  const std::optional<int> index = FindMode(command.mode, run);
  if (!index) return;
  run.lines += "  Applying the mode \"" + std::string(kPresetCaptions[*index]) + "\" on " +
               WindowsVersionName(OsFamily) + ".\r\n";
  // As a click on the mode and then on "Optimize Now".
  LoadPreset(*index);
  const ApplyOutcome outcome = ApplyTuningProfileWithOutcome();
  run.lines += boxes.text;
  if (!outcome.ran) {
    // Refused before the backup (keys this account may not change), or the backup failed.
    run.exit = outcome.backupPath.empty() && !outcome.refusal.empty()
                   ? CommandExit::kNotAllowed
                   : CommandExit::kBackupNotWritten;
    if (boxes.text.empty()) run.lines += "  Nothing was changed.\r\n";
    return;
  }
  run.lines += "  The values from before are saved in " + outcome.backupPath + ".\r\n";
  if (!outcome.failures.empty() || !outcome.skippedSubkeys.empty()) {
    run.exit = CommandExit::kValuesNotWritten;
  }
}

void Restore(const ParsedCommand& command, LoggedMessageBoxes& boxes, Run& run) {
  const std::string path = BackupPathFor(command.file);
  run.lines += "  Restoring " + path + " on " + WindowsVersionName(OsFamily) + ".\r\n";
  const RestoreResult result = RestoreBackupFile(path, OsFamily);
  run.lines += boxes.text + Indented(result.message);
  run.exit = ExitFor(result.outcome);
  if (result.outcome == RestoreOutcome::kRestored || result.outcome == RestoreOutcome::kWritesFailed) {
    run.lines += "  " + std::to_string(result.written) + " values written back.\r\n";
  }
}

bool EndsWithBck(const std::string& name) {
  return name.size() > 4 && EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".BCK");
}

void Export(const ParsedCommand& command, Run& run) {
  RegExport exported;
  if (!PresetIndexByName(Trim(command.mode)) && EndsWithBck(command.mode)) {
    // A backup: what restoring it would write, refused where the restore refuses.
    const std::string path = BackupPathFor(command.mode);
    run.lines += "  Writing what restoring " + path + " writes on " +
                 WindowsVersionName(OsFamily) + " to " + command.file + ".\r\n";
    exported = ExportBackupRestore(path, OsFamily);
    if (exported.refusedAs != RestoreOutcome::kRestored) {
      run.lines += Indented(exported.problem);
      run.exit = ExitFor(exported.refusedAs);
      return;
    }
  } else {
    const std::optional<int> index = FindMode(command.mode, run);
    if (!index) return;
    const std::string caption = kPresetCaptions[*index];
    run.lines += "  Writing what the mode \"" + caption + "\" changes on " +
                 WindowsVersionName(OsFamily) + " to " + command.file + ".\r\n";
    exported = ExportTuningApply(TuningPresets[*index], "applying the mode \"" + caption + "\"",
                                 OsFamily);
  }
  std::string problem = exported.problem;
  if (problem.empty()) problem = SaveRegFile(command.file, exported.text);
  if (!problem.empty()) {
    run.exit = CommandExit::kFileNotWritten;
    run.lines += Indented(problem);
    return;
  }
  for (const std::string& skipped : exported.skippedSubkeys) {
    run.lines += "  Left out, as the apply leaves it alone (its name holds a quotation mark or a "
                 "line break): HKEY_LOCAL_MACHINE\\" + skipped + "\r\n";
  }
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    std::string argument;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
      std::size_t backslashes = 0;
      while (i < line.size() && line[i] == '\\') {
        ++backslashes;
        ++i;
      }
      if (i < line.size() && line[i] == '"') {
        argument.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          argument += '"';
        } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          // "" inside quotes is one quotation mark, as the C runtime reads it.
          argument += '"';
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        argument.append(backslashes, '\\');
        if (i < line.size() && (quoted || !IsBlank(line[i]))) argument += line[i++];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

ParsedCommand ParseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommand command;
  auto refuse = [&command](std::string problem) {
    if (command.problem.empty()) command.problem = std::move(problem);
  };
  auto setAction = [&](CommandAction action, const std::string& argument) {
    if (command.action != CommandAction::kNone && command.action != CommandAction::kUsage) {
      refuse("Give one command at a time: \"" + argument + "\" follows another.");
    }
    if (command.action != CommandAction::kUsage) command.action = action;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const std::string name = SwitchName(argument);
    // The words a switch takes: present and not themselves switches.
    auto operand = [&](std::size_t offset) -> const std::string* {
      const std::size_t at = i + offset;
      if (at >= arguments.size() || !SwitchName(arguments[at]).empty()) return nullptr;
      return &arguments[at];
    };
    if (name == "?" || name == "h" || name == "help") {
      command.action = CommandAction::kUsage;
    } else if (name == "apply") {
      setAction(CommandAction::kApply, argument);
      if (const std::string* mode = operand(1)) {
        command.mode = *mode;
        ++i;
      } else {
        refuse(argument + " needs the name of a mode, for example: /apply \"Automatic-A\"");
      }
    } else if (name == "restore") {
      setAction(CommandAction::kRestore, argument);
      if (const std::string* file = operand(1)) {
        command.file = *file;
        ++i;
      } else {
        refuse(argument + " needs a backup file, for example: /restore 001.BCK");
      }
    } else if (name == "export") {
      setAction(CommandAction::kExport, argument);
      const std::string* mode = operand(1);
      const std::string* file = mode ? operand(2) : nullptr;
      if (mode && file) {
        command.mode = *mode;
        command.file = *file;
        i += 2;
      } else {
        refuse(argument + " needs a mode and a file, for example: /export \"Automatic-A\" "
                          "A.reg");
      }
    } else if (name == "log") {
      if (!command.logPath.empty()) refuse("Give /log only once.");
      if (const std::string* file = operand(1)) {
        command.logPath = *file;
        ++i;
      } else {
        refuse(argument + " needs the file to write to, for example: /log C:\\Quelvar.log");
      }
    } else if (!name.empty()) {
      refuse("\"" + argument + "\" is not a switch Quelvar knows.");
    } else {
      refuse("\"" + argument + "\" does not belong to any switch.");
    }
  }
  if (command.action == CommandAction::kNone && !arguments.empty()) {
    refuse("Nothing to do: give /apply, /restore or /export.");
  }
  if (command.action == CommandAction::kUsage) command.problem.clear();
  return command;
}

std::string CommandUsage() {
  return "Quelvar.exe /apply \"<mode>\"\r\n"
         "    applies a wizard mode for this Windows, writing a backup first.\r\n"
         "Quelvar.exe /restore <file>\r\n"
         "    restores a backup file (a name alone, such as 001.BCK, is looked for in the "
         "Backups folder).\r\n"
         "Quelvar.exe /export \"<mode>\" <file.reg>\r\n"
         "    writes what /apply would change as a registry file for regedit; changes "
         "nothing.\r\n"
         "Quelvar.exe /export <backup.BCK> <file.reg>\r\n"
         "    writes what restoring that backup would change, the same way.\r\n"
         "Add /log <file> to any of them to add what was done to the end of a text file.\r\n"
         "\r\n"
         "Modes: " + ModeList() + ".\r\n"
         "\r\n"
         "Exit codes: 0 done, 2 wrong arguments, 3 unknown mode, 4 backup not written, "
         "5 some values not written, 6 backup file damaged or changed, 7 backup of another "
         "Windows version, 8 backup file unreadable, 9 file not written, 10 this account may not "
         "change these settings.";
}

CommandReport RunCommand(const ParsedCommand& command, const std::string& commandLine,
                         const std::string& computerName) {
  CommandReport report;
  const std::string head = Stamp(TheClock().Now()) + "  " +
                           (computerName.empty() ? std::string() : computerName + "  ") +
                           "Quelvar " + QUELVAR_VERSION + ": " + commandLine + "\r\n";
  Run run;
  if (!command.problem.empty()) {
    run.exit = CommandExit::kBadArguments;
    run.lines = Indented(command.problem);
    report.boxText = command.problem + "\r\n\r\n" + CommandUsage();
  } else if (command.action == CommandAction::kUsage) {
    report.boxText = CommandUsage();
  }

  // The log comes first: a command whose log cannot be written changes nothing.
  if (!command.logPath.empty()) {
    const FileStatus opened = Files().AppendToFile(command.logPath, head);
    if (!opened) {
      report.exitCode = static_cast<int>(CommandExit::kFileNotWritten);
      report.log = head + "  The log " + command.logPath + " could not be written: " +
                   opened.reason + "\r\n";
      if (report.boxText.empty()) report.boxText = report.log;
      return report;
    }
  }

  if (run.exit == CommandExit::kDone) {
    MessageBoxService& shown = MessageBoxes();
    LoggedMessageBoxes boxes;
    SetMessageBoxService(boxes);
    switch (command.action) {
      case CommandAction::kApply: Apply(command, boxes, run); break;
      case CommandAction::kRestore: Restore(command, boxes, run); break;
      case CommandAction::kExport: Export(command, run); break;
      case CommandAction::kNone:
      case CommandAction::kUsage: break;
    }
    SetMessageBoxService(shown);
  }
  run.lines += "  " + std::string(Outcome(run.exit)) + " (exit code " +
               std::to_string(static_cast<int>(run.exit)) + ").\r\n";
  report.exitCode = static_cast<int>(run.exit);
  report.log = head + run.lines;
  if (!command.logPath.empty()) {
    const FileStatus written = Files().AppendToFile(command.logPath, run.lines);
    if (!written && run.exit == CommandExit::kDone) {
      report.exitCode = static_cast<int>(CommandExit::kFileNotWritten);
    }
  }
  return report;
}

}  // namespace quelvar
