// The numbered backup files in the "Backups" folder beside the program, and the writer that
// saves the values an apply is about to overwrite. Built on the registry operations and the
// file system and clock services.
#pragma once
#include <string>
#include <vector>

#include "registry/registry_backend.h"

namespace quelvar {

inline constexpr int kHighestBackupNumber = 999;

// "001.BCK" ... "999.BCK".
std::string BackupFileNameFor(int number);

// The number a backup file's name counts as: the last three characters of the name without its
// extension (all of it when shorter), their leading digits (0 when none), rounded to a 16-bit
// integer with halves to even. "005.BCK" -> 5, "notes.BCK" -> 0, "1234.BCK" -> 234.
int BackupNumberOfName(const std::string& fileName);

// Where the next backup goes, or why there is none.
struct NextBackupTarget {
  enum class Problem { kNone, kFolderNotCreated, kFolderNotListed, kNumbersUsedUp };
  Problem problem = Problem::kNone;
  int number = 0;      // the file's number when problem is kNone
  std::string path;    // the full file path when problem is kNone, else the folder
  std::string reason;  // the file system's reason for kFolderNotCreated and kFolderNotListed
};

// Creates the folder when it is missing, then names the file after the highest number in use
// plus one (gaps are never filled), counting hidden and system files too. A folder that cannot
// be listed gives no name. Creates no file.
NextBackupTarget FindNextBackupTarget();

// The full path of the next backup file; empty when no file can be named (the folder cannot
// be created or listed, or number 999 is in use). Creates the folder when it is missing.
std::string NextBackupFileName();

// Subkeys of an HKEY_LOCAL_MACHINE key, enumerated with RegOpenKeyA and RegEnumKeyExA (a name
// buffer of 255 characters) until the first unsuccessful call. `opened` tells whether the key
// could be opened at all.
std::vector<std::string> EnumerateMachineSubkeys(const std::string& path, bool* opened = nullptr);

// What WriteTuningBackup did.
struct BackupResult {
  bool written = false;
  std::string path;  // the file written, or the file that could not be written
  // When not written: the whole message for the user, in the program's words.
  std::string problem;
  // Adapter subkeys left out because their names hold a double quote or a line break, which
  // the file cannot record (the apply leaves them alone as well).
  std::vector<std::string> skippedSubkeys;
};

// Builds the backup of the running Windows line's tuned values (header, fixed body, one group
// per NetTrans subkey or two per Interfaces subkey) and writes it as the next numbered file,
// completely or not at all. The file is created only where no file of its name exists: a name
// in use (a file the listing did not show) moves on to the next number, up to 999. Any
// OsFamily outside 1..7 writes nothing and reports not written.
BackupResult WriteTuningBackup();

// The backup file's content for the current registry (what WriteTuningBackup writes).
std::string BuildTuningBackup(std::vector<std::string>* skippedSubkeys);

}  // namespace quelvar
