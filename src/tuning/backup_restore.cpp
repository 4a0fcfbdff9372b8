// The backup manager's file work: list rows and the checked restore; see backup_restore.h.
#include "tuning/backup_restore.h"

#include <limits>

#include "base/file_system.h"
#include "base/os_family.h"
#include "base/text_util.h"
#include "registry/registry_access.h"
#include "tuning/backup_file.h"
#include "tuning/backup_layout.h"
#include "tuning/tuning_keys.h"

namespace quelvar {

namespace {

// An adapter's subkey name as the writer takes it from the registry: one key name, so no
// backslash, nothing that climbs out of its parent and no control characters.
bool IsSoundSubkeyName(std::string_view name) {
  if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
  for (char c : name) {
    if (c == '\\' || static_cast<unsigned char>(c) < 0x20) return false;
  }
  return true;
}

// The adapter name of a key line of the form prefix + name + suffix, letter case ignored.
std::optional<std::string_view> AdapterName(std::string_view key, const AdapterKeyForm& form) {
  const std::string prefix = form.Prefix();
  const std::string_view suffix = form.suffix;
  if (key.size() <= prefix.size() + suffix.size()) return std::nullopt;
  if (!EqualsNoCase(key.substr(0, prefix.size()), prefix)) return std::nullopt;
  if (!EqualsNoCase(key.substr(key.size() - suffix.size()), suffix)) return std::nullopt;
  const std::string_view name =
      key.substr(prefix.size(), key.size() - prefix.size() - suffix.size());
  if (!IsSoundSubkeyName(name)) return std::nullopt;
  return name;
}

std::string Quoted(std::string_view text) {
  std::string shown(text.substr(0, 80));
  if (text.size() > 80) shown += "...";
  return "\"" + shown + "\"";
}

std::string LineNumber(int number) { return "line " + std::to_string(number); }

// Reads the lines of one file after its header, collecting pairs or the first problem.
class LayoutChecker {
 public:
  LayoutChecker(BackupFileReader& reader, RestorePlan* plan, bool nineFiveLine)
      : m_reader(reader), m_plan(plan), m_nineFiveLine(nineFiveLine) {}

  bool Failed() const { return !m_plan->problem.empty(); }

  void Fail(std::string problem) {
    if (!Failed()) m_plan->problem = std::move(problem);
  }

  // A key line; nullopt (and a problem) when the file ended or the line is not a string.
  std::optional<std::string> KeyLine(const std::string& what) {
    const int line = m_reader.NextLineNumber();
    const std::string_view text = m_reader.NextLineText();
    std::string key;
    switch (m_reader.ReadString(&key)) {
      case BackupRead::kOk:
        return key;
      case BackupRead::kEndOfFile:
        Fail("the file ends after " + LineNumber(line - 1) + ", where " + what + " should follow");
        return std::nullopt;
      default:
        Fail(LineNumber(line) + " should name a registry key in double quotes, but holds " +
             Quoted(text));
        return std::nullopt;
    }
  }

  // A value name and its value; the name must be `expected`.
  void Pair(RegKey hive, std::string_view key, std::string_view expected) {
    if (Failed()) return;
    if (m_reader.NextLineNumber() >= m_reader.LineCount()) {
      Fail("the file ends after " + LineNumber(m_reader.LineCount()) + ", before the value " +
           Quoted(expected) + " of the key " + Quoted(key));
      return;
    }
    const int nameLine = m_reader.NextLineNumber();
    const std::string_view nameText = m_reader.NextLineText();
    std::string name;
    if (m_reader.ReadString(&name) != BackupRead::kOk || !EqualsNoCase(name, expected)) {
      Fail(LineNumber(nameLine) + " should name the value " + Quoted(expected) + ", but holds " +
           Quoted(nameText));
      return;
    }
    // A number (what the running line's type holds), a value's own type and bytes, or a value
    // that did not exist (the pair then holds no value: the restore removes it).
    const int valueLine = m_reader.NextLineNumber();
    const std::string_view valueText = m_reader.NextLineText();
    RestorePair pair{hive, std::string(key), name, std::nullopt};
    double number = 0;
    const BackupRead read = m_reader.ReadNumber(&number);
    bool understood = false;
    if (read == BackupRead::kOk) {
      pair.value = NumberItemValue(m_nineFiveLine, number);
      understood = pair.value.has_value();
    } else if (read == BackupRead::kMalformed) {
      RegData typed;
      if (m_reader.ReadTyped(&typed) == BackupRead::kOk) {
        pair.value = std::move(typed);
        understood = true;
      } else {
        understood = m_reader.ReadMissing() == BackupRead::kOk;
      }
    }
    if (!understood) {
      const bool tooLarge = read == BackupRead::kOk || read == BackupRead::kOutOfRange;
      Fail(LineNumber(valueLine) + " holds " + Quoted(valueText) +
           (tooLarge ? ", a value too large for a 32-bit registry value"
                     : ", which is not a number"));
      return;
    }
    m_plan->pairs.push_back(std::move(pair));
  }

  void Fixed(const LayoutGroup& group) {
    if (Failed()) return;
    const int line = m_reader.NextLineNumber();
    auto key = KeyLine("the key " + Quoted(group.key));
    if (!key) return;
    if (!EqualsNoCase(*key, group.key)) {
      Fail(LineNumber(line) + " should name the key " + Quoted(group.key) + ", but names " +
           Quoted(*key));
      return;
    }
    for (const LayoutPair& pair : group.pairs) Pair(group.hive, *key, pair.name);
  }

  // An adapter group of the given form; `sameName` (when set) must be its adapter name.
  std::optional<std::string> Adapter(const AdapterKeyForm& form,
                                     const std::optional<std::string>& sameName) {
    if (Failed()) return std::nullopt;
    const int line = m_reader.NextLineNumber();
    auto key = KeyLine("the key " + Quoted(form.Prefix() + "..." + std::string(form.suffix)));
    if (!key) return std::nullopt;
    auto name = AdapterName(*key, form);
    if (!name || (sameName && !EqualsNoCase(*name, *sameName))) {
      Fail(LineNumber(line) + " names the key " + Quoted(*key) +
           ", which is not an adapter key Quelvar's backups hold");
      return std::nullopt;
    }
    Pair(kHkeyLocalMachine, *key, form.names[0]);
    Pair(kHkeyLocalMachine, *key, form.names[1]);
    return std::string(*name);
  }

  // An empty line where a key line belongs ends the backup; only empty lines may follow it.
  bool AtClosingEmptyLine() {
    if (!m_reader.NextLineText().empty()) return false;
    while (!m_reader.AtEnd()) {
      if (!m_reader.NextLineText().empty()) {
        Fail(LineNumber(m_reader.NextLineNumber()) + " follows the end of the backup: " +
             Quoted(m_reader.NextLineText()));
        break;
      }
      m_reader.SkipLine();
    }
    return true;
  }

 private:
  BackupFileReader& m_reader;
  RestorePlan* m_plan;
  bool m_nineFiveLine;
};

std::string HiveName(RegKey hive) {
  return hive == kHkeyCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

// The header: date, time and the Windows line code; the code, or nothing and a problem.
std::optional<std::int16_t> CheckHeader(BackupFileReader& reader, std::string* problem) {
  if (reader.EndsInsideALine()) {
    *problem = "the file ends in the middle of " + LineNumber(reader.LineCount());
    return std::nullopt;
  }
  if (reader.LineCount() < 3) {
    *problem = "the file ends after " + LineNumber(reader.LineCount()) +
               ", before the Windows version it was taken on";
    return std::nullopt;
  }
  LocalDateTime stamp;
  if (reader.ReadDate(&stamp) != BackupRead::kOk) {
    *problem = "line 1 should hold the backup's date, but holds " + Quoted(reader.NextLineText());
    return std::nullopt;
  }
  if (reader.ReadTime(&stamp) != BackupRead::kOk) {
    *problem = "line 2 should hold the backup's time, but holds " + Quoted(reader.NextLineText());
    return std::nullopt;
  }
  const std::string_view familyText = reader.NextLineText();
  std::int32_t family = 0;
  if (reader.ReadInteger(&family) != BackupRead::kOk ||
      family < std::numeric_limits<std::int16_t>::min() ||
      family > std::numeric_limits<std::int16_t>::max()) {
    *problem = "line 3 should hold the Windows version code, but holds " + Quoted(familyText);
    return std::nullopt;
  }
  return static_cast<std::int16_t>(family);
}

// The refusal of a sound file of the running line whose keys this user may not change.
std::optional<RestoreResult> KeysRefusal(const RestorePlan& plan, int runningOsFamily) {
  std::vector<TuningKey> keys;
  for (const RestorePair& pair : plan.pairs) keys.push_back({pair.hive, pair.key});
  std::string denied = TuningKeysWriteRefusal(runningOsFamily, keys, TuningChange::kRestore);
  if (denied.empty()) return std::nullopt;
  RestoreResult result;
  result.outcome = RestoreOutcome::kAccessDenied;
  result.message = std::move(denied);
  return result;
}

}  // namespace

void ReadBackupStamp(std::string_view contents, BackupListEntry* entry) {
  BackupFileReader reader(contents.substr(0, kBackupStampBytes));
  LocalDateTime date;
  if (reader.ReadDate(&date) == BackupRead::kOk) {
    entry->date = date;
  } else {
    reader.SkipLine();
  }
  LocalDateTime time;
  if (reader.ReadTime(&time) == BackupRead::kOk) entry->time = time;
}

std::string BackupRowName(std::string_view fileName) {
  const std::size_t slash = fileName.find_last_of("\\/:");
  if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
  const std::size_t dot = fileName.rfind('.');
  if (dot != std::string_view::npos) fileName = fileName.substr(0, dot);
  return std::string(fileName) + ".BCK";
}

std::vector<BackupListEntry> ReadBackupList() {
  std::vector<BackupListEntry> rows;
  const std::string folder = BackupFolder();
  if (!Files().FolderExists(folder)) {
    Files().CreateFolder(folder);
    return rows;
  }
  for (const std::string& name : Files().ListFiles(folder, "*.BCK")) {
    BackupListEntry row;
    row.fileName = BackupRowName(name);
    std::string start;
    if (Files().ReadFileStart(BackupFilePath(name), kBackupStampBytes, &start)) {
      ReadBackupStamp(start, &row);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

RestorePlan CheckBackupContents(std::string_view contents) {
  RestorePlan plan;
  if (contents.empty()) {
    plan.problem = "the file is empty";
    return plan;
  }
  BackupFileReader reader(contents);
  const std::optional<std::int16_t> family = CheckHeader(reader, &plan.problem);
  if (!family) return plan;
  plan.osFamily = *family;
  const bool nineFive = IsNineFiveLine(*family);
  if (!nineFive && !IsNtLine(*family)) {
    plan.problem = "line 3 holds " + std::to_string(*family) +
                   ", which is no Windows version Quelvar knows";
    return plan;
  }

  LayoutChecker check(reader, &plan, nineFive);
  const LineLayout& layout = nineFive ? NineFiveLayout() : NtLayout();
  for (const LayoutGroup& group : layout.groups) check.Fixed(group);
  // Adapter groups until the end of the file or a closing empty line.
  while (!check.Failed() && !reader.AtEnd()) {
    if (check.AtClosingEmptyLine()) break;
    // Every group of one adapter names the same adapter.
    std::optional<std::string> adapter;
    for (const AdapterKeyForm& form : layout.adapterGroups) {
      adapter = check.Adapter(form, adapter);
      if (!adapter) break;
    }
  }
  if (!plan.problem.empty()) plan.pairs.clear();
  return plan;
}

std::optional<RestoreResult> RestoreRefusal(const RestorePlan& plan, int runningOsFamily) {
  RestoreResult result;
  // The Windows line is judged first: a sound file of another line is not "damaged".
  if (plan.osFamily != 0 && plan.osFamily != runningOsFamily) {
    result.outcome = RestoreOutcome::kOtherOperatingSystem;
    result.message = kOtherOperatingSystemMessage;
    return result;
  }
  if (!plan.problem.empty()) {
    result.outcome = RestoreOutcome::kRefused;
    result.message =
        "This backup file is damaged or was changed by hand, so nothing was restored:\r\n\r\n" +
        plan.problem + ".\r\n\r\nNo setting was changed.";
    return result;
  }
  return KeysRefusal(plan, runningOsFamily);
}

std::optional<RestoreResult> RestoreFileKeysRefusal(const std::string& path,
                                                    int runningOsFamily) {
  std::string contents;
  if (!Files().ReadWholeFile(path, &contents)) return std::nullopt;
  const RestorePlan plan = CheckBackupContents(contents);
  if (!plan.problem.empty() || plan.osFamily != runningOsFamily) return std::nullopt;
  return KeysRefusal(plan, runningOsFamily);
}

RestoreResult RestoreBackupContents(std::string_view contents, int runningOsFamily) {
  const RestorePlan plan = CheckBackupContents(contents);
  if (auto refusal = RestoreRefusal(plan, runningOsFamily)) return *refusal;
  RestoreResult result;
  for (const RestorePair& pair : plan.pairs) {
    const RegStatus status = pair.value
                                 ? WriteRegistryData(pair.hive, pair.key, pair.name, *pair.value)
                                 : RemoveRegistryData(pair.hive, pair.key, pair.name);
    if (status == kRegSuccess) {
      ++result.written;
    } else {
      result.notRestored.push_back(HiveName(pair.hive) + "\\" + pair.key + "\\" +
                                   (pair.name.empty() ? "(Default)" : pair.name));
    }
  }
  if (!result.notRestored.empty()) {
    result.outcome = RestoreOutcome::kWritesFailed;
    constexpr std::size_t kListed = 15;
    result.message = "These settings could not be written back and keep their present values:\r\n";
    for (std::size_t i = 0; i < result.notRestored.size() && i < kListed; ++i) {
      result.message += "\r\n" + result.notRestored[i];
    }
    if (result.notRestored.size() > kListed) {
      result.message +=
          "\r\n... and " + std::to_string(result.notRestored.size() - kListed) + " more";
    }
    result.message += "\r\n\r\nThe other " + std::to_string(result.written) +
                      " settings were restored.";
  }
  return result;
}

std::optional<RestoreResult> ReadBackupForRestore(const std::string& path, std::string* contents) {
  const FileStatus read = Files().ReadWholeFile(path, contents);
  if (read) return std::nullopt;
  RestoreResult result;
  result.outcome = RestoreOutcome::kUnreadable;
  result.message = "The backup file " + path + " could not be read:\r\n\r\n" + read.reason;
  return result;
}

RestoreResult RestoreBackupFile(const std::string& path, int runningOsFamily) {
  std::string contents;
  if (auto unreadable = ReadBackupForRestore(path, &contents)) return *unreadable;
  return RestoreBackupContents(contents, runningOsFamily);
}

}  // namespace quelvar
