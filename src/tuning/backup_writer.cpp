// Numbered backup files and the backup writer; see backup_writer.h.
#include "tuning/backup_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/clock.h"
#include "base/decimal_text.h"
#include "base/file_system.h"
#include "base/os_family.h"
#include "registry/registry_access.h"
#include "registry/scoped_reg_key.h"
#include "tuning/backup_file.h"
#include "tuning/backup_layout.h"

namespace quelvar {

namespace {

// The whole number a value's bytes spell, when they could be a number item's value: a DWORD's
// 32 bits, or a text's decimal digits (with a minus sign) before its terminating zero.
std::optional<std::int64_t> CandidateNumber(const RegData& value) {
  if (value.type == kRegDword && value.data.size() == 4) {
    return static_cast<std::int64_t>(value.data[0]) | std::int64_t{value.data[1]} << 8 |
           std::int64_t{value.data[2]} << 16 | std::int64_t{value.data[3]} << 24;
  }
  if (value.type != kRegSz || value.data.empty() || value.data.back() != 0) return std::nullopt;
  const char* begin = reinterpret_cast<const char*>(value.data.data());
  const char* end = begin + value.data.size() - 1;
  std::int64_t number = 0;
  const auto [stop, error] = std::from_chars(begin, end, number);
  if (error != std::errc() || stop != end) return std::nullopt;
  return number;
}

// Records one value read from the registry. A value that a number item gives back exactly (the
// running line's own type, a plain decimal text on the 95 line, a DWORD on the NT line) is
// recorded as that number, as every earlier version did, so that they can still read the file;
// a missing value as 0, as always. Anything else (a DWORD on the 95 line, text on the NT line,
// text that is no plain number, other types) is recorded with its type and bytes, so that the
// restore puts it back exactly; earlier versions refuse such a file rather than restore it wrongly.
void RecordValue(BackupFileWriter& file, bool nineFiveLine, RegKey hive, const std::string& key,
                 const std::string& name) {
  const std::optional<RegData> stored = ReadRegistryData(hive, key, name);
  if (!stored) {
    file.Integer(0);
    return;
  }
  if (const auto number = CandidateNumber(*stored)) {
    const auto asNumber = NumberItemValue(nineFiveLine, static_cast<double>(*number));
    if (asNumber && *asNumber == *stored) {
      file.Number(static_cast<double>(*number));
      return;
    }
  }
  file.Typed(*stored);
}

// The body of one Windows line, laid out as that line's layout says, reading each value just
// before its pair is written.
void WriteBody(BackupFileWriter& file, const LineLayout& layout, bool nineFiveLine,
               std::vector<std::string>* skipped) {
  for (const LayoutGroup& group : layout.groups) {
    file.String(group.key);
    const std::string readKey(group.readKey);
    for (const LayoutPair& pair : group.pairs) {
      const std::string name(pair.name);
      file.String(name);
      if (pair.value == LayoutValue::kFixed) {
        file.Integer(pair.fixed);
      } else {
        RecordValue(file, nineFiveLine, group.hive, readKey, name);
      }
    }
  }

  const std::string parent(layout.AdapterParent());
  for (const std::string& adapter : EnumerateMachineSubkeys(parent)) {
    if (!IsRecordableText(adapter)) {
      if (skipped) skipped->push_back(parent + "\\" + adapter);
      continue;
    }
    for (const AdapterKeyForm& form : layout.adapterGroups) {
      const std::string key = form.KeyFor(adapter);
      file.String(key);
      for (std::string_view name : form.names) {
        file.String(name);
        RecordValue(file, nineFiveLine, kHkeyLocalMachine, key, std::string(name));
      }
    }
  }
}

}  // namespace

std::string BackupFileNameFor(int number) {
  std::string digits = std::to_string(number);
  if (number >= 1 && number <= 9) digits = "00" + digits;
  if (number >= 10 && number <= 99) digits = "0" + digits;
  return digits + ".BCK";
}

int BackupNumberOfName(const std::string& fileName) {
  std::string_view base(fileName);
  const auto dot = base.find_last_of('.');
  if (dot != std::string_view::npos) base = base.substr(0, dot);
  if (base.size() > 3) base = base.substr(base.size() - 3);
  const double number = std::nearbyint(LeadingDecimal(base));  // halves to even
  if (number > INT16_MAX) return INT16_MAX;
  if (number < INT16_MIN) return INT16_MIN;
  return static_cast<int>(number);
}

NextBackupTarget FindNextBackupTarget() {
  NextBackupTarget target;
  const std::string folder = BackupFolder();
  if (!Files().FolderExists(folder)) {
    if (FileStatus created = Files().CreateFolder(folder); !created) {
      target.problem = NextBackupTarget::Problem::kFolderNotCreated;
      target.path = folder;
      target.reason = created.reason;
      return target;
    }
  }
  // Hidden and system files count too: a new backup never takes a name already in use.
  std::vector<std::string> names;
  if (FileStatus listed = Files().ListEveryFile(folder, "*.BCK", &names); !listed) {
    target.problem = NextBackupTarget::Problem::kFolderNotListed;
    target.path = folder;
    target.reason = listed.reason;
    return target;
  }
  int highest = 0;
  for (const std::string& name : names) highest = std::max(highest, BackupNumberOfName(name));
  target.number = highest + 1;
  if (target.number > kHighestBackupNumber) {
    target.problem = NextBackupTarget::Problem::kNumbersUsedUp;
    target.path = folder;
    return target;
  }
  target.path = BackupFilePath(BackupFileNameFor(target.number));
  return target;
}

std::string NextBackupFileName() {
  NextBackupTarget target = FindNextBackupTarget();
  return target.problem == NextBackupTarget::Problem::kNone ? target.path : std::string();
}

std::vector<std::string> EnumerateMachineSubkeys(const std::string& path, bool* opened) {
  std::vector<std::string> names;
  ScopedRegKey parent;
  const bool isOpen = Registry().OpenKey(kHkeyLocalMachine, path, parent.put()) == kRegSuccess;
  if (opened) *opened = isOpen;
  if (!isOpen) return names;
  parent.Opened();
  for (std::uint32_t index = 0;; ++index) {
    char buffer[256] = {};
    std::uint32_t length = 255;
    if (Registry().EnumKeyEx(parent.get(), index, buffer, &length) != kRegSuccess) break;
    names.emplace_back(buffer, std::min<std::uint32_t>(length, 255));
  }
  return names;
}

std::string BuildTuningBackup(std::vector<std::string>* skippedSubkeys) {
  BackupFileWriter file;
  const LocalDateTime now = TheClock().Now();
  file.Date(now);
  file.Time(now);
  file.Integer(OsFamily);
  if (IsNineFiveLine(OsFamily)) {
    WriteBody(file, NineFiveLayout(), true, skippedSubkeys);
  } else if (IsNtLine(OsFamily)) {
    WriteBody(file, NtLayout(), false, skippedSubkeys);
  }
  return file.Contents();
}

BackupResult WriteTuningBackup() {
  BackupResult result;
  if (!IsNineFiveLine(OsFamily) && !IsNtLine(OsFamily)) {
    result.problem = "Quelvar does not recognise this version of Windows, so it made no backup.";
    return result;
  }

  NextBackupTarget target = FindNextBackupTarget();
  result.path = target.path;
  const std::string usedUp =
      "\" already holds a backup numbered 999, the highest number a backup can have, so no new "
      "backup can be saved.\n\nDelete the backups with the highest numbers in the backup "
      "manager, then try again. No setting was changed.";
  switch (target.problem) {
    case NextBackupTarget::Problem::kFolderNotCreated:
      result.problem = "Quelvar could not create the backup folder \"" + target.path + "\":\n" +
                       target.reason + "\n\nNo backup was saved. No setting was changed.";
      return result;
    case NextBackupTarget::Problem::kFolderNotListed:
      result.problem = "Quelvar could not read which backups the folder \"" + target.path +
                       "\" holds:\n" + target.reason +
                       "\n\nNo backup was saved. No setting was changed.";
      return result;
    case NextBackupTarget::Problem::kNumbersUsedUp:
      result.problem = "The backup folder \"" + target.path + usedUp;
      return result;
    case NextBackupTarget::Problem::kNone:
      break;
  }

  // The file is only created where no file of that name exists (the listing may have missed
  // one); a name in use moves on to the next number.
  const std::string contents = BuildTuningBackup(&result.skippedSubkeys);
  for (int number = target.number;; ++number) {
    if (number > kHighestBackupNumber) {
      result.path = BackupFolder();
      result.problem = "The backup folder \"" + result.path + usedUp;
      return result;
    }
    result.path = BackupFilePath(BackupFileNameFor(number));
    const FileStatus saved = Files().CreateNewFile(result.path, contents);
    if (saved) break;
    if (!saved.nameTaken) {
      result.problem = "Quelvar could not save the backup file \"" + result.path + "\":\n" +
                       saved.reason + "\n\nNo setting was changed.";
      return result;
    }
  }
  result.written = true;
  return result;
}

}  // namespace quelvar
