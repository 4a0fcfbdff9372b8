// Numbered backup files and the backup writer; see backup_writer.h.
#include "tuning/backup_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/clock.h"
#include "base/decimal_text.h"
#include "base/file_system.h"
#include "base/os_family.h"
#include "registry/cregister.h"
#include "registry/scoped_reg_key.h"
#include "tuning/backup_file.h"
#include "tuning/backup_layout.h"

namespace quelvar {

namespace {

// The registry type a value is stored as; kRegNone when the key or the value is missing.
std::uint32_t StoredValueType(RegKey hive, const std::string& key, const std::string& name) {
  ScopedRegKey opened;
  if (Registry().OpenKeyEx(hive, key, kKeyRead, opened.put()) != kRegSuccess) return kRegNone;
  opened.Opened();
  std::uint32_t type = kRegNone;
  std::uint32_t size = 0;
  if (Registry().QueryValueEx(opened.get(), name, &type, nullptr, &size) != kRegSuccess) {
    return kRegNone;
  }
  return type;
}

// The number a whole text spells in the decimal grammar (blanks around it allowed; the zeros
// that end a registry text dropped); nothing when it spells none.
std::optional<double> DecimalNumber(std::string_view text) {
  while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
  const DecimalValue number = ParseDecimal(text);
  if (!number.ok()) return std::nullopt;
  return number.value;
}

// A 95-line value: stored as text by this program, so its text's number; a value another
// program stored as a 32-bit number is recorded as that number rather than lost.
double Read95Value(CRegister& reg, RegKey hive, const std::string& key, const std::string& name) {
  if (StoredValueType(hive, key, name) == kRegDword) return reg.myREGGetSetting(hive, key, name, 0);
  return LeadingDecimal(reg.REGGetSetting(hive, key, name, "0"));
}

// Reads one value of the running line's body.
using ValueReader = double (*)(CRegister& reg, RegKey hive, const std::string& key,
                               const std::string& name);

// The body of one Windows line, laid out as that line's layout says, reading each value just
// before its pair is written.
void WriteBody(BackupFileWriter& file, CRegister& reg, const LineLayout& layout, ValueReader read,
               std::vector<std::string>* skipped) {
  for (const LayoutGroup& group : layout.groups) {
    file.String(group.key);
    const std::string readKey(group.readKey);
    for (const LayoutPair& pair : group.pairs) {
      const std::string name(pair.name);
      file.String(name);
      switch (pair.value) {
        case LayoutValue::kFixed:
          file.Integer(pair.fixed);
          break;
        case LayoutValue::kFlag:
          file.Integer(read(reg, group.hive, readKey, name) != 0 ? 1 : 0);
          break;
        case LayoutValue::kRead:
          file.Number(read(reg, group.hive, readKey, name));
          break;
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
        file.Number(read(reg, kHkeyLocalMachine, key, std::string(name)));
      }
    }
  }
}

// An NT-line value. This line keeps its tuned values as 32-bit numbers, and myREGGetSetting
// gives such a number back by weighing the value's bytes (byte n counts 256^n). A value that
// another program or a hand edit left as text would come out as the weighed sum of its
// character codes ("32" as 12851), and a restore would write that garbage back or refuse the
// whole file as too large; so a text that spells a decimal number is recorded as that number,
// as the 95 line does. Every other value is recorded as myREGGetSetting gives it, a missing one
// as 0.
double ReadNtValue(CRegister& reg, RegKey hive, const std::string& key, const std::string& name) {
  const std::uint32_t type = StoredValueType(hive, key, name);
  if (type == kRegSz || type == kRegExpandSz) {
    if (auto number = DecimalNumber(reg.REGGetSetting(hive, key, name, ""))) return *number;
  }
  return reg.myREGGetSetting(hive, key, name, 0);
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
  int highest = 0;
  for (const std::string& name : Files().ListFiles(folder, "*.BCK")) {
    highest = std::max(highest, BackupNumberOfName(name));
  }
  const int next = highest + 1;
  if (next > kHighestBackupNumber) {
    target.problem = NextBackupTarget::Problem::kNumbersUsedUp;
    target.path = folder;
    return target;
  }
  target.path = BackupFilePath(BackupFileNameFor(next));
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
  CRegister reg;
  BackupFileWriter file;
  const LocalDateTime now = TheClock().Now();
  file.Date(now);
  file.Time(now);
  file.Integer(OsFamily);
  if (IsNineFiveLine(OsFamily)) {
    WriteBody(file, reg, NineFiveLayout(), Read95Value, skippedSubkeys);
  } else if (IsNtLine(OsFamily)) {
    WriteBody(file, reg, NtLayout(), ReadNtValue, skippedSubkeys);
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
  switch (target.problem) {
    case NextBackupTarget::Problem::kFolderNotCreated:
      result.problem = "Quelvar could not create the backup folder \"" + target.path + "\":\n" +
                       target.reason + "\n\nNo backup was saved. No setting was changed.";
      return result;
    case NextBackupTarget::Problem::kNumbersUsedUp:
      result.problem = "The backup folder \"" + target.path +
                       "\" already holds a backup numbered 999, the highest number a backup "
                       "can have, so no new backup can be saved.\n\nDelete the backups with the "
                       "highest numbers in the backup manager, then try again. No setting was "
                       "changed.";
      return result;
    case NextBackupTarget::Problem::kNone:
      break;
  }

  const std::string contents = BuildTuningBackup(&result.skippedSubkeys);
  if (FileStatus saved = Files().WriteWholeFile(target.path, contents); !saved) {
    result.problem = "Quelvar could not save the backup file \"" + target.path + "\":\n" +
                     saved.reason + "\n\nNo setting was changed.";
    return result;
  }
  result.written = true;
  return result;
}

}  // namespace quelvar
