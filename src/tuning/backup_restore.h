// The backup manager's work on backup files: the list's rows (name, date, time), and the
// restore, which reads and checks the whole file before it writes a single value back.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "registry/registry_backend.h"

namespace quelvar {

// One row of the backup list. A file whose first two lines are not a date and a time still
// has a row, with no date and no time.
struct BackupListEntry {
  std::string fileName;                // "007.BCK"
  std::optional<LocalDateTime> date;   // year, month, day
  std::optional<LocalDateTime> time;   // hour, minute, second
};

// How much of a backup file the list reads: its date and time lines lie within it.
inline constexpr std::size_t kBackupStampBytes = 256;

// The date and time of lines 1 and 2 of a backup file's contents (or of its first bytes).
void ReadBackupStamp(std::string_view contents, BackupListEntry* entry);
// Empties nothing; lists "*.BCK" in the backup folder in the file system's order, creating
// the folder when it is missing (then the list is empty). Reads only the first
// kBackupStampBytes of each file; the restore checks the whole file.
std::vector<BackupListEntry> ReadBackupList();
// The row's text: base name of the file followed by ".BCK".
std::string BackupRowName(std::string_view fileName);

// One value the restore puts back, in file order: a number item as the file's line stores it
// (decimal text on the 95 line, a DWORD on the NT line), a typed item as it stood, and a
// missing item as no value at all, which the restore removes (already absent counts as done).
struct RestorePair {
  RegKey hive = kHkeyLocalMachine;
  std::string key;
  std::string name;
  std::optional<RegData> value;  // nothing: the value did not exist, so it is removed
};

// A backup file checked from its first line to its last: the Windows line code of line 3
// and every pair to write back, or the reason the file is refused.
struct RestorePlan {
  std::int16_t osFamily = 0;
  std::vector<RestorePair> pairs;
  std::string problem;  // empty when the file can be restored
};

// Checks the whole contents against the layout of the Windows line named in line 3.
RestorePlan CheckBackupContents(std::string_view contents);

enum class RestoreOutcome {
  kRestored,              // every value written back; nothing is shown
  kUnreadable,            // the file could not be read; message says why
  kRefused,               // truncated, malformed or tampered; nothing written
  kOtherOperatingSystem,  // taken under another OsFamily; nothing written
  kAccessDenied,          // this user may not change the keys (NT line); nothing written
  kWritesFailed,          // some values could not be written; message lists them
};

struct RestoreResult {
  RestoreOutcome outcome = RestoreOutcome::kRestored;
  std::string message;                 // what the user is told; empty on success
  std::size_t written = 0;             // values written back or removed
  std::vector<std::string> notRestored;  // "HKEY_LOCAL_MACHINE\key\name" of failed writes
};

inline constexpr const char* kOtherOperatingSystemMessage =
    "This backup file was taken from another operating system!!";

// Why a checked file is not restored on the running line (the message the user is shown), or
// nothing when it can be: another Windows version, a damaged file, or (on the NT line) keys
// this user may not change, found out without changing anything.
std::optional<RestoreResult> RestoreRefusal(const RestorePlan& plan, int runningOsFamily);
// The refusal of restoring the file at `path` only because this user may not change its keys,
// so that the window can say so before it asks whether to restore; nothing for every other
// outcome (the restore itself gives those).
std::optional<RestoreResult> RestoreFileKeysRefusal(const std::string& path, int runningOsFamily);

// Checks `contents` and, when it is sound, of the running line and this user may change its
// keys, writes every pair back exactly as planned and removes those recorded as missing.
RestoreResult RestoreBackupContents(std::string_view contents, int runningOsFamily);
// Reads a backup file through the file system; when it cannot, the result the restore gives.
std::optional<RestoreResult> ReadBackupForRestore(const std::string& path, std::string* contents);
// Reads the file through the file system, then as RestoreBackupContents.
RestoreResult RestoreBackupFile(const std::string& path, int runningOsFamily);

}  // namespace quelvar
