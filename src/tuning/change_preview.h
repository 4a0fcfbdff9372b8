// What a click would change, shown before it changes anything: the rows of an apply (from the
// very plan the apply executes) and of a restore (from the very check the restore runs), each
// value with what the registry holds now and what it would hold afterwards. Reading only: a
// preview opens keys for reading and never creates, writes or removes anything.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "registry/registry_backend.h"
#include "tuning/tuning_profile.h"

namespace quelvar {

inline constexpr const char* kPreviewRemoved = "(removed)";
inline constexpr const char* kPreviewAbsent = "(none)";

struct PreviewRow {
  RegKey hive = kHkeyLocalMachine;
  std::string key;
  std::string name;   // "" is the key's default value
  std::string now;    // the value as the registry holds it, or kPreviewAbsent
  std::string after;  // the value written, or kPreviewRemoved
  bool same = false;  // the click leaves this value as it is
  friend bool operator==(const PreviewRow&, const PreviewRow&) = default;
};

// The key as a list shows it: the hive's short name and the key's last two parts
// ("HKLM\...\Tcpip\Parameters").
std::string ShortKeyName(RegKey hive, std::string_view key);
// The value's name as a list shows it ("(Default)" for the unnamed value).
std::string PreviewValueName(std::string_view name);

// The rows of an apply of `profile` on the Windows line of `osFamily`, in apply order.
std::vector<PreviewRow> PreviewTuningApply(const TuningProfile& profile, int osFamily);

struct RestorePreview {
  std::vector<PreviewRow> rows;  // empty when refused
  std::string refusal;           // what the restore would tell the user; empty when it can run
};
// What restoring a backup file with `contents` would write on the running line.
RestorePreview PreviewBackupRestore(std::string_view contents, int runningOsFamily);
// The same for the file at `path`, read as the restore reads it.
RestorePreview PreviewBackupRestoreFile(const std::string& path, int runningOsFamily);

}  // namespace quelvar
