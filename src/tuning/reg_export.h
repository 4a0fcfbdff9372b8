// Registry files for Windows' own regedit: what an apply of a mode or a restore of a backup
// would write, as REGEDIT4 text a person can read. The values come from the very plan the apply
// executes and the very check the restore runs, so importing the file with "regedit /s" leaves
// the registry as the apply or the restore would (removals need the regedit of Windows 2000 or
// XP; older ones skip those lines).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "tuning/apply_profile.h"
#include "tuning/backup_restore.h"
#include "tuning/tuning_profile.h"

namespace quelvar {

// One value of a registry file: its type and bytes as the registry would hold them, or its
// removal.
struct RegFileValue {
  RegKey hive = kHkeyLocalMachine;
  std::string key;
  std::string name;  // "" is the key's default value
  bool remove = false;
  std::uint32_t type = kRegNone;
  std::vector<std::uint8_t> data;
  friend bool operator==(const RegFileValue&, const RegFileValue&) = default;
};

// An apply's step as SetOrDeleteRegistryValue stores it: REG_SZ the value's decimal text with
// its terminating zero, REG_DWORD the four bytes of its 32-bit pattern.
RegFileValue StoredBy(const PlannedValue& step);

// The comment at the top of a file: what it holds, for which Windows, made when.
struct RegFileHeader {
  std::string subject;  // "applying the mode \"Automatic-C\"", "restoring the backup 001.BCK ..."
  int osFamily = 0;     // the Windows version the values are for
  LocalDateTime made;
  std::vector<std::string> notes;  // further comment lines
};

// "Windows XP", "Windows 95", ... by OsFamily code; code 1 (which counts with the 95 line) is
// "an unrecognised Windows version".
std::string WindowsVersionName(int osFamily);
// "Windows 95, 98 and ME" or "Windows NT 4, 2000 and XP"; empty for an unknown code.
std::string WindowsLineName(int osFamily);

// A text as a .reg file quotes it: in double quotes, a backslash and a quotation mark each
// preceded by a backslash.
std::string RegQuoted(std::string_view text);
// One value's line: "Name"="text" (REG_SZ), "Name"=dword:0000001e (a four-byte REG_DWORD),
// "Name"=hex(t):bb,... for any other type or for text a quoted string cannot carry (hex: for
// REG_BINARY), wrapped after 76 characters with a backslash as regedit writes it; "Name"=- for
// a removal; @ for the key's default value.
std::string RegValueLine(const RegFileValue& value);

// The whole file: the REGEDIT4 line, the header as comments, then one section per key in the
// order the keys are first written, each value as the last step for it leaves it. Lines end in
// CR LF. Nothing when a key or name holds a line break or a key is empty, which a .reg file
// cannot carry; `problem` then says which.
std::optional<std::string> RegFileText(const RegFileHeader& header,
                                       const std::vector<RegFileValue>& values,
                                       std::string* problem);

// What a file holds, ready to save, or why there is none.
struct RegExport {
  std::string text;
  std::string problem;  // in the user's words; empty when text is ready
  std::vector<std::string> skippedSubkeys;  // adapter keys the apply would leave alone
  // A backup's export refused: how the restore itself would have ended.
  RestoreOutcome refusedAs = RestoreOutcome::kRestored;
};

// The file for applying `profile` (named `subject`, "the mode \"Automatic-A\"") on the running
// line `osFamily`, from the plan the apply executes.
RegExport ExportTuningApply(const TuningProfile& profile, const std::string& subject,
                            int osFamily);
// The file for restoring the backup at `path` on the running line: the pairs the restore's own
// check yields, in the type the restore writes; refused exactly as the restore would refuse.
RegExport ExportBackupRestore(const std::string& path, int runningOsFamily);

// Writes `text` to `path` through the file system; the reason in the user's words, or empty.
std::string SaveRegFile(const std::string& path, const std::string& text);

}  // namespace quelvar
