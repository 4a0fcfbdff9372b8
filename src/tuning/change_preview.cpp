// Apply and restore previews; see change_preview.h.
#include "tuning/change_preview.h"

#include "registry/scoped_reg_key.h"
#include "tuning/apply_profile.h"
#include "tuning/backup_restore.h"

namespace quelvar {

namespace {

struct StoredValue {
  bool present = false;
  std::uint32_t type = kRegNone;
  std::string text;  // a number as decimal text; a string as it is
};

// Reads one value for showing, opening the key for reading only.
StoredValue ReadForPreview(RegKey hive, const std::string& key, const std::string& name) {
  StoredValue stored;
  ScopedRegKey handle;
  if (Registry().OpenKeyEx(hive, key, kKeyRead, handle.put()) != kRegSuccess) return stored;
  handle.Opened();
  std::uint8_t data[1024] = {};
  std::uint32_t size = sizeof data;
  std::uint32_t type = kRegNone;
  if (Registry().QueryValueEx(handle.get(), name, &type, data, &size) != kRegSuccess) return stored;
  stored.present = true;
  stored.type = type;
  if (type == kRegDword && size == 4) {
    const std::uint32_t number = static_cast<std::uint32_t>(data[0]) | (data[1] << 8) |
                                 (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
    stored.text = std::to_string(number);
  } else if (type == kRegSz || type == kRegExpandSz) {
    std::size_t length = size;
    while (length > 0 && data[length - 1] == 0) --length;
    stored.text.assign(reinterpret_cast<const char*>(data), length);
  } else {
    stored.text = std::to_string(size);
    stored.text.insert(0, 1, '(');
    stored.text.append(" bytes of another type)");
  }
  return stored;
}

// A row for writing `value` as `type` (or removing it).
PreviewRow Row(RegKey hive, const std::string& key, const std::string& name, std::int32_t type,
               std::int32_t value, bool remove) {
  const StoredValue stored = ReadForPreview(hive, key, name);
  PreviewRow row{hive, key, name, stored.present ? stored.text : kPreviewAbsent, {}, false};
  if (remove) {
    row.after = kPreviewRemoved;
    row.same = !stored.present;
  } else {
    // A DWORD holds the number's bit pattern; text holds its signed decimal form.
    row.after = type == kRegDword ? std::to_string(static_cast<std::uint32_t>(value))
                                  : std::to_string(value);
    row.same = stored.present && stored.type == static_cast<std::uint32_t>(type) &&
               stored.text == row.after;
  }
  return row;
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
    rows.push_back(Row(step.hive, step.key, step.name, step.type, step.value, step.remove));
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
  const std::int32_t type = RestoreValueType(runningOsFamily);
  for (const RestorePair& pair : plan.pairs) {
    preview.rows.push_back(Row(pair.hive, pair.key, pair.name, type, pair.value, false));
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
