// The backup manager's file work: list rows and the checked restore; see backup_restore.h.
#include "tuning/backup_restore.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <limits>

#include "app/file_system.h"
#include "app/os_family.h"
#include "app/program_folder.h"
#include "registry/registry_access.h"
#include "tuning/backup_layout.h"

namespace quelvar {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The lines of a file; `complete` is false when the last line has no line end.
struct Lines {
  std::vector<std::string_view> lines;
  bool complete = true;
};

Lines SplitLines(std::string_view contents) {
  Lines result;
  std::size_t start = 0;
  while (start < contents.size()) {
    const std::size_t end = contents.find('\n', start);
    if (end == std::string_view::npos) {
      result.lines.push_back(contents.substr(start));
      result.complete = false;
      break;
    }
    std::string_view line = contents.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    result.lines.push_back(line);
    start = end + 1;
  }
  return result;
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Splits "#a<sep>b<sep>c#" into three runs of digits.
bool ReadStampParts(std::string_view line, char separator, int parts[3], std::size_t firstDigits) {
  if (line.size() < 2 || line.front() != '#' || line.back() != '#') return false;
  std::string_view body = line.substr(1, line.size() - 2);
  for (int i = 0; i < 3; ++i) {
    const std::size_t end = i < 2 ? body.find(separator) : body.size();
    if (end == std::string_view::npos) return false;
    const std::string_view digits = body.substr(0, end);
    const std::size_t maxDigits = i == 0 ? firstDigits : 2;
    if (!AllDigits(digits) || digits.size() > maxDigits) return false;
    parts[i] = std::atoi(std::string(digits).c_str());
    body = i < 2 ? body.substr(end + 1) : std::string_view();
  }
  return true;
}

std::optional<LocalDateTime> ReadDateLine(std::string_view line) {
  int parts[3] = {};
  if (!ReadStampParts(line, '-', parts, 4)) return std::nullopt;
  static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int year = parts[0], month = parts[1], day = parts[2];
  if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return std::nullopt;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month == 2 && day == 29 && !leap) return std::nullopt;
  LocalDateTime date;
  date.year = year;
  date.month = month;
  date.day = day;
  return date;
}

std::optional<LocalDateTime> ReadTimeLine(std::string_view line) {
  int parts[3] = {};
  if (!ReadStampParts(line, ':', parts, 2)) return std::nullopt;
  if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return std::nullopt;
  LocalDateTime time;
  time.hour = parts[0];
  time.minute = parts[1];
  time.second = parts[2];
  return time;
}

// A string item: the text between double quotes, which holds no quote of its own.
std::optional<std::string_view> ReadStringLine(std::string_view line) {
  if (line.size() < 2 || line.front() != '"' || line.back() != '"') return std::nullopt;
  std::string_view text = line.substr(1, line.size() - 2);
  if (text.find('"') != std::string_view::npos) return std::nullopt;
  return text;
}

// A number item, converted to a signed 32-bit value the way the restore always has
// (halves to the even neighbour). Sets `tooLarge` when it is a number that does not fit.
std::optional<std::int32_t> ReadNumberLine(std::string_view line, bool* tooLarge) {
  *tooLarge = false;
  std::size_t i = 0;
  if (i < line.size() && line[i] == '-') ++i;
  const std::size_t digitsStart = i;
  while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
  if (i == digitsStart) return std::nullopt;
  if (i < line.size() && line[i] == '.') {
    const std::size_t fractionStart = ++i;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
    if (i == fractionStart) return std::nullopt;
  }
  if (i < line.size() && (line[i] == 'E' || line[i] == 'e')) {
    ++i;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) ++i;
    const std::size_t exponentStart = i;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
    if (i == exponentStart) return std::nullopt;
  }
  if (i != line.size()) return std::nullopt;
  const std::string text(line);
  errno = 0;
  const double value = std::strtod(text.c_str(), nullptr);
  const double rounded = std::nearbyint(value);
  if (errno == ERANGE || !std::isfinite(rounded) ||
      rounded < std::numeric_limits<std::int32_t>::min() ||
      rounded > std::numeric_limits<std::int32_t>::max()) {
    *tooLarge = true;
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

std::optional<std::int16_t> ReadFamilyLine(std::string_view line) {
  std::string_view digits = line;
  if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
  if (!AllDigits(digits) || digits.size() > 6) return std::nullopt;
  const long value = std::strtol(std::string(line).c_str(), nullptr, 10);
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(value);
}

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
  if (!EqualNoCase(key.substr(0, prefix.size()), prefix)) return std::nullopt;
  if (!EqualNoCase(key.substr(key.size() - suffix.size()), suffix)) return std::nullopt;
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

std::string LineNumber(std::size_t index) { return "line " + std::to_string(index + 1); }

// Walks the lines of one file, collecting pairs or the first problem.
class LayoutChecker {
 public:
  LayoutChecker(const std::vector<std::string_view>& lines, RestorePlan* plan)
      : m_lines(lines), m_plan(plan) {}

  bool Failed() const { return !m_plan->problem.empty(); }
  bool AtEnd() const { return m_next >= m_lines.size(); }
  std::size_t Next() const { return m_next; }

  void Fail(std::string problem) {
    if (!Failed()) m_plan->problem = std::move(problem);
  }

  // A key line; nullopt (and a problem) when the file ended or the line is not a string.
  std::optional<std::string_view> KeyLine(const std::string& what) {
    if (AtEnd()) {
      Fail("the file ends after " + LineNumber(m_next - 1) + ", where " + what +
           " should follow");
      return std::nullopt;
    }
    const std::size_t index = m_next++;
    auto key = ReadStringLine(m_lines[index]);
    if (!key) {
      Fail(LineNumber(index) + " should name a registry key in double quotes, but holds " +
           Quoted(m_lines[index]));
    }
    return key;
  }

  // A value name and its value; the name must be `expected`.
  void Pair(RegKey hive, std::string_view key, std::string_view expected) {
    if (Failed()) return;
    if (m_next + 1 >= m_lines.size()) {
      Fail("the file ends after " + LineNumber(m_lines.size() - 1) + ", before the value " +
           Quoted(expected) + " of the key " + Quoted(key));
      return;
    }
    const std::size_t nameIndex = m_next++;
    const std::size_t valueIndex = m_next++;
    auto name = ReadStringLine(m_lines[nameIndex]);
    if (!name || !EqualNoCase(*name, expected)) {
      Fail(LineNumber(nameIndex) + " should name the value " + Quoted(expected) +
           ", but holds " + Quoted(m_lines[nameIndex]));
      return;
    }
    bool tooLarge = false;
    auto value = ReadNumberLine(m_lines[valueIndex], &tooLarge);
    if (!value) {
      Fail(LineNumber(valueIndex) + " holds " + Quoted(m_lines[valueIndex]) +
           (tooLarge ? ", a value too large for a 32-bit registry value"
                     : ", which is not a number"));
      return;
    }
    m_plan->pairs.push_back({hive, std::string(key), std::string(*name), *value});
  }

  void Fixed(const LayoutGroup& group) {
    if (Failed()) return;
    const std::size_t index = m_next;
    auto key = KeyLine("the key " + Quoted(group.key));
    if (!key) return;
    if (!EqualNoCase(*key, group.key)) {
      Fail(LineNumber(index) + " should name the key " + Quoted(group.key) + ", but names " +
           Quoted(*key));
      return;
    }
    for (const LayoutPair& pair : group.pairs) Pair(group.hive, *key, pair.name);
  }

  // An adapter group of the given form; `sameName` (when set) must be its adapter name.
  std::optional<std::string_view> Adapter(const AdapterKeyForm& form,
                                          std::optional<std::string_view> sameName) {
    if (Failed()) return std::nullopt;
    const std::size_t index = m_next;
    auto key = KeyLine("the key " + Quoted(form.Prefix() + "..." + std::string(form.suffix)));
    if (!key) return std::nullopt;
    auto name = AdapterName(*key, form);
    if (!name || (sameName && !EqualNoCase(*name, *sameName))) {
      Fail(LineNumber(index) + " names the key " + Quoted(*key) +
           ", which is not an adapter key Quelvar's backups hold");
      return std::nullopt;
    }
    Pair(kHkeyLocalMachine, *key, form.names[0]);
    Pair(kHkeyLocalMachine, *key, form.names[1]);
    return name;
  }

 private:
  const std::vector<std::string_view>& m_lines;
  RestorePlan* m_plan;
  std::size_t m_next = 3;
};

std::string HiveName(RegKey hive) {
  return hive == kHkeyCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

}  // namespace

std::string BackupFolder() { return ProgramPath("\\Backups"); }

void ReadBackupStamp(std::string_view contents, BackupListEntry* entry) {
  const Lines lines = SplitLines(contents.substr(0, 256));
  if (!lines.lines.empty()) entry->date = ReadDateLine(lines.lines[0]);
  if (lines.lines.size() > 1) entry->time = ReadTimeLine(lines.lines[1]);
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
    std::string contents;
    if (Files().ReadWholeFile(folder + "\\" + name, &contents)) ReadBackupStamp(contents, &row);
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
  const Lines split = SplitLines(contents);
  const auto& lines = split.lines;
  if (!split.complete) {
    plan.problem = "the file ends in the middle of " + LineNumber(lines.size() - 1);
    return plan;
  }
  if (lines.size() < 3) {
    plan.problem = "the file ends after " + LineNumber(lines.size() - 1) +
                   ", before the Windows version it was taken on";
    return plan;
  }
  if (!ReadDateLine(lines[0])) {
    plan.problem = "line 1 should hold the backup's date, but holds " + Quoted(lines[0]);
    return plan;
  }
  if (!ReadTimeLine(lines[1])) {
    plan.problem = "line 2 should hold the backup's time, but holds " + Quoted(lines[1]);
    return plan;
  }
  const auto family = ReadFamilyLine(lines[2]);
  if (!family) {
    plan.problem = "line 3 should hold the Windows version code, but holds " + Quoted(lines[2]);
    return plan;
  }
  plan.osFamily = *family;
  const bool nineFive = IsNineFiveLine(*family);
  if (!nineFive && !IsNtLine(*family)) {
    plan.problem = "line 3 holds " + std::to_string(*family) +
                   ", which is no Windows version Quelvar knows";
    return plan;
  }

  LayoutChecker check(lines, &plan);
  const LineLayout& layout = nineFive ? NineFiveLayout() : NtLayout();
  for (const LayoutGroup& group : layout.groups) check.Fixed(group);
  // Adapter groups until the end; an empty line where a key line belongs ends the file,
  // and only empty lines may follow it.
  while (!check.Failed() && !check.AtEnd()) {
    if (lines[check.Next()].empty()) {
      for (std::size_t i = check.Next(); i < lines.size(); ++i) {
        if (!lines[i].empty()) {
          check.Fail(LineNumber(i) + " follows the end of the backup: " + Quoted(lines[i]));
          break;
        }
      }
      break;
    }
    // Every group of one adapter names the same adapter.
    std::optional<std::string> adapter;
    for (const AdapterKeyForm& form : layout.adapterGroups) {
      auto name = check.Adapter(form, adapter);
      if (!name) break;
      adapter = std::string(*name);
    }
  }
  if (!plan.problem.empty()) plan.pairs.clear();
  return plan;
}

RestoreResult RestoreBackupContents(std::string_view contents, int runningOsFamily) {
  RestoreResult result;
  RestorePlan plan = CheckBackupContents(contents);
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
  const std::int32_t valueType = IsNineFiveLine(runningOsFamily) ? 1 : 4;
  for (const RestorePair& pair : plan.pairs) {
    RegStatus status = kRegSuccess;
    try {
      status = SetOrDeleteRegistryValue(pair.hive, pair.key, pair.name, valueType,
                                        RegValue(pair.value), false);
    } catch (const std::exception&) {
      status = kRegInvalidParameter;
    }
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

RestoreResult RestoreBackupFile(const std::string& path, int runningOsFamily) {
  std::string contents;
  const FileStatus read = Files().ReadWholeFile(path, &contents);
  if (!read) {
    RestoreResult result;
    result.outcome = RestoreOutcome::kUnreadable;
    result.message = "The backup file " + path + " could not be read:\r\n\r\n" + read.reason;
    return result;
  }
  return RestoreBackupContents(contents, runningOsFamily);
}

}  // namespace quelvar
