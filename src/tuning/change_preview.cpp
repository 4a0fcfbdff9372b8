// Apply and restore previews; see change_preview.h.
#include "tuning/change_preview.h"

#include <optional>

#include "registry/registry_access.h"
#include "tuning/apply_profile.h"
#include "tuning/backup_layout.h"
#include "tuning/backup_restore.h"

namespace quelvar {

namespace {

bool IsText(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz; }

// A value as a list shows it: a DWORD as its unsigned number, text without its terminating
// zeros, anything else by its size.
std::string Shown(const RegData& value) {
  if (value.type == kRegDword && value.data.size() == 4) {
    const std::uint32_t number = static_cast<std::uint32_t>(value.data[0]) |
                                 (static_cast<std::uint32_t>(value.data[1]) << 8) |
                                 (static_cast<std::uint32_t>(value.data[2]) << 16) |
                                 (static_cast<std::uint32_t>(value.data[3]) << 24);
    return std::to_string(number);
  }
  if (IsText(value.type)) {
    std::size_t length = value.data.size();
    while (length > 0 && value.data[length - 1] == 0) --length;
    return std::string(reinterpret_cast<const char*>(value.data.data()), length);
  }
  std::string size = std::to_string(value.data.size());
  size.insert(0, 1, '(');
  return size.append(" bytes of another type)");
}

// Whether writing `after` leaves `now` as it is: the same type and, for text, the same text
// (however many zeros end it), else the same bytes.
bool SameValue(const RegData& now, const RegData& after) {
  if (now.type != after.type) return false;
  return IsText(now.type) ? Shown(now) == Shown(after) : now.data == after.data;
}

// A row for writing `after` (or removing the value when there is none).
PreviewRow Row(RegKey hive, const std::string& key, const std::string& name,
               const std::optional<RegData>& after) {
  const std::optional<RegData> stored = ReadRegistryData(hive, key, name);
  PreviewRow row{hive, key, name, stored ? Shown(*stored) : kPreviewAbsent, {}, false};
  if (!after) {
    row.after = kPreviewRemoved;
    row.same = !stored;
  } else {
    row.after = Shown(*after);
    row.same = stored && SameValue(*stored, *after);
  }
  return row;
}

// What an apply step writes: a DWORD holds the number's bit pattern, text its signed decimal
// form; nothing for a removal.
std::optional<RegData> WrittenBy(const PlannedValue& step) {
  if (step.remove) return std::nullopt;
  if (step.type == static_cast<std::int32_t>(kRegDword)) {
    return NumberItemValue(false, static_cast<double>(step.value));
  }
  return NumberItemValue(true, static_cast<double>(step.value));
}

}  // namespace

std::string ShortKeyName(RegKey hive, std::string_view key) {
  std::string text = hive == kHkeyCurrentUser ? "HKCU" : hive == kHkeyLocalMachine ? "HKLM" : "HK";
  const std::size_t last = key.rfind('\\');
  const std::size_t before = last == std::string_view::npos || last == 0
                                 ? std::string_view::npos
                                 : key.rfind('\\', last - 1);
  if (before == std::string_view::npos) {
    text += "\\";
    text += key;
  } else {
    text += "\\...";
    text += key.substr(before);
  }
  return text;
}

std::string PreviewValueName(std::string_view name) {
  return name.empty() ? std::string("(Default)") : std::string(name);
}

std::vector<PreviewRow> PreviewTuningApply(const TuningProfile& profile, int osFamily) {
  std::vector<PreviewRow> rows;
  for (const PlannedValue& step : PlanTuningApply(profile, osFamily, nullptr)) {
    rows.push_back(Row(step.hive, step.key, step.name, WrittenBy(step)));
  }
  return rows;
}

RestorePreview PreviewBackupRestore(std::string_view contents, int runningOsFamily) {
  RestorePreview preview;
  const RestorePlan plan = CheckBackupContents(contents);
  if (auto refusal = RestoreRefusal(plan, runningOsFamily)) {
    preview.refusal = refusal->message;
    return preview;
  }
  for (const RestorePair& pair : plan.pairs) {
    preview.rows.push_back(Row(pair.hive, pair.key, pair.name, pair.value));
  }
  return preview;
}

RestorePreview PreviewBackupRestoreFile(const std::string& path, int runningOsFamily) {
  std::string contents;
  if (auto unreadable = ReadBackupForRestore(path, &contents)) {
    RestorePreview preview;
    preview.refusal = unreadable->message;
    return preview;
  }
  return PreviewBackupRestore(contents, runningOsFamily);
}

}  // namespace quelvar
