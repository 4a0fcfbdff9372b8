// REGEDIT4 files of an apply or a restore; see reg_export.h.
#include "tuning/reg_export.h"

#include <cstdint>
#include <cstdio>

#include "base/file_system.h"
#include "base/os_family.h"
#include "base/text_util.h"
#include "quelvar_version.h"
#include "registry/reg_value.h"
#include "tuning/backup_layout.h"
#include "tuning/backup_restore.h"

namespace quelvar {

namespace {

constexpr const char* kLineEnd = "\r\n";

std::string HiveName(RegKey hive) {
  return hive == kHkeyCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string TwoDigits(int number) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", number);
  return text;
}

std::string DateAndTime(const LocalDateTime& stamp) {
  return std::to_string(stamp.year) + "-" + TwoDigits(stamp.month) + "-" + TwoDigits(stamp.day) +
         " at " + TwoDigits(stamp.hour) + ":" + TwoDigits(stamp.minute) + ":" +
         TwoDigits(stamp.second);
}

// One key's section: the key as first written and its values, the last step for each name
// standing.
struct Section {
  RegKey hive;
  std::string key;
  std::vector<RegFileValue> values;
};

void AddStep(std::vector<Section>& sections, const RegFileValue& step) {
  Section* section = nullptr;
  for (Section& each : sections) {
    if (each.hive == step.hive && EqualsNoCase(each.key, step.key)) section = &each;
  }
  if (section == nullptr) {
    sections.push_back({step.hive, step.key, {}});
    section = &sections.back();
  }
  for (RegFileValue& value : section->values) {
    if (EqualsNoCase(value.name, step.name)) {
      value = step;
      return;
    }
  }
  section->values.push_back(step);
}

// Whether the plan writes under a network adapter's own key (named after that machine's adapter).
bool HasAdapterKey(const std::vector<PlannedValue>& plan) {
  for (const PlannedValue& step : plan) {
    for (std::string_view parent : {kNetTransKey, kInterfacesKey}) {
      if (step.key.size() > parent.size() && EqualsNoCase(step.key.substr(0, parent.size()), parent)) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

std::string WindowsVersionName(int osFamily) {
  switch (osFamily) {
    case 1: return "an unrecognised Windows version";
    case 2: return "Windows 95";
    case 3: return "Windows 98";
    case 4: return "Windows ME";
    case 5: return "Windows NT 4";
    case 6: return "Windows 2000";
    case 7: return "Windows XP";
    default: return "an unknown Windows";
  }
}

std::string WindowsLineName(int osFamily) {
  if (IsNineFiveLine(osFamily)) return "Windows 95, 98 and ME";
  if (IsNtLine(osFamily)) return "Windows NT 4, 2000 and XP";
  return {};
}

std::string RegQuoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

RegFileValue StoredBy(const PlannedValue& step) {
  RegFileValue value{step.hive, step.key, step.name, step.remove,
                     static_cast<std::uint32_t>(step.type), {}};
  if (step.remove) return value;
  const RegValue number(step.value);
  if (value.type == kRegDword) {
    const auto bits = static_cast<std::uint32_t>(number.ToInt32());
    for (int shift = 0; shift < 32; shift += 8) {
      value.data.push_back(static_cast<std::uint8_t>(bits >> shift));
    }
  } else {
    const std::string text = number.ToText();
    value.data.assign(text.begin(), text.end());
    value.data.push_back(0);
  }
  return value;
}

std::string RegValueLine(const RegFileValue& value) {
  std::string line = value.name.empty() ? std::string("@") : RegQuoted(value.name);
  line += '=';
  if (value.remove) return line + "-";
  const std::vector<std::uint8_t>& bytes = value.data;
  if (value.type == kRegDword && bytes.size() == 4) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08lx",
                  static_cast<unsigned long>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                             (static_cast<std::uint32_t>(bytes[3]) << 24)));
    return line + "dword:" + hex;
  }
  if (value.type == kRegSz) {
    // Text ends at its terminating zero; one that holds a line break or a zero before its end
    // goes as bytes.
    std::size_t length = bytes.size();
    while (length > 0 && bytes[length - 1] == 0) --length;
    const std::string text(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    if (text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos) {
      return line + RegQuoted(text);
    }
  }
  line += value.type == kRegBinary ? std::string("hex:") : "hex(" + std::to_string(value.type) + "):";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
    line += hex;
    if (i + 1 == bytes.size()) break;
    line += ',';
    // As regedit writes long values: a backslash ends the line, the next starts indented.
    const std::size_t lineStart = line.rfind('\n');
    if (line.size() - (lineStart == std::string::npos ? 0 : lineStart + 1) > 76) {
      line += "\\\r\n  ";
    }
  }
  return line;
}

std::optional<std::string> RegFileText(const RegFileHeader& header,
                                       const std::vector<RegFileValue>& steps,
                                       std::string* problem) {
  std::vector<Section> sections;
  bool removes = false;
  for (const RegFileValue& step : steps) {
    if (step.key.empty() || HasLineBreak(step.key) || HasLineBreak(step.name)) {
      if (problem) {
        *problem = "the key \"" + step.key + "\" or its value \"" + step.name +
                   "\" cannot be written in a registry file";
      }
      return std::nullopt;
    }
    removes = removes || step.remove;
    AddStep(sections, step);
  }

  std::string text = "REGEDIT4";
  text += kLineEnd;
  text += kLineEnd;
  auto comment = [&text](const std::string& line) { text += "; " + line + kLineEnd; };
  comment("Quelvar " + std::string(QUELVAR_VERSION) + ": what " + header.subject + " writes");
  comment("for " + WindowsVersionName(header.osFamily) + " (the line of " +
          WindowsLineName(header.osFamily) + ").");
  comment("Made on " + DateAndTime(header.made) + ". Import it with: regedit /s <this file>");
  if (removes) {
    comment("A line ending in =- removes that value: the regedit of Windows 2000 and XP removes");
    comment("it, the regedit of Windows 95, 98, ME and NT 4 skips the line.");
  }
  for (const std::string& note : header.notes) comment(note);

  for (const Section& section : sections) {
    text += kLineEnd;
    text += "[" + HiveName(section.hive) + "\\" + section.key + "]" + kLineEnd;
    for (const RegFileValue& value : section.values) text += RegValueLine(value) + kLineEnd;
  }
  text += kLineEnd;
  return text;
}

RegExport ExportTuningApply(const TuningProfile& profile, const std::string& subject,
                            int osFamily) {
  RegExport exported;
  const std::vector<PlannedValue> plan =
      PlanTuningApply(profile, osFamily, &exported.skippedSubkeys);
  if (plan.empty()) {
    exported.problem = "Quelvar does not know which registry keys " +
                       WindowsVersionName(osFamily) + " keeps its settings in.";
    return exported;
  }
  RegFileHeader header{subject, osFamily, TheClock().Now(), {}};
  if (HasAdapterKey(plan)) {
    header.notes.push_back("The adapter keys below are those of the machine it was made on.");
  }
  std::vector<RegFileValue> values;
  for (const PlannedValue& step : plan) values.push_back(StoredBy(step));
  std::string problem;
  if (auto text = RegFileText(header, values, &problem)) {
    exported.text = std::move(*text);
  } else {
    exported.problem = "The registry file cannot be made: " + problem + ".";
  }
  return exported;
}

RegExport ExportBackupRestore(const std::string& path, int runningOsFamily) {
  RegExport exported;
  std::string contents;
  if (auto unreadable = ReadBackupForRestore(path, &contents)) {
    exported.problem = unreadable->message;
    exported.refusedAs = unreadable->outcome;
    return exported;
  }
  const RestorePlan plan = CheckBackupContents(contents);
  // An export changes nothing here: keys this account may not change do not stop it (the file
  // may well be imported by an administrator).
  auto refusal = RestoreRefusal(plan, runningOsFamily);
  if (refusal && refusal->outcome == RestoreOutcome::kAccessDenied) refusal.reset();
  if (refusal) {
    exported.problem = refusal->message;
    exported.refusedAs = refusal->outcome;
    return exported;
  }
  // Each pair as the restore writes it: its type and bytes, or its removal where the backup
  // recorded that the value was not there.
  std::vector<RegFileValue> steps;
  for (const RestorePair& pair : plan.pairs) {
    if (pair.value) {
      steps.push_back({pair.hive, pair.key, pair.name, false, pair.value->type, pair.value->data});
    } else {
      steps.push_back({pair.hive, pair.key, pair.name, true, kRegNone, {}});
    }
  }
  BackupListEntry stamp;
  ReadBackupStamp(contents, &stamp);
  std::string subject = "restoring the backup " + BackupRowName(path);
  if (stamp.date && stamp.time) {
    LocalDateTime taken = *stamp.date;
    taken.hour = stamp.time->hour;
    taken.minute = stamp.time->minute;
    taken.second = stamp.time->second;
    subject += " (taken on " + DateAndTime(taken) + ")";
  }
  RegFileHeader header{subject, runningOsFamily, TheClock().Now(), {}};
  std::string problem;
  if (auto text = RegFileText(header, steps, &problem)) {
    exported.text = std::move(*text);
  } else {
    exported.problem = "The registry file cannot be made: " + problem + ".";
  }
  return exported;
}

std::string SaveRegFile(const std::string& path, const std::string& text) {
  const FileStatus written = Files().WriteWholeFile(path, text);
  if (written) return {};
  return "The registry file " + path + " could not be written:\r\n\r\n" + written.reason;
}

}  // namespace quelvar
