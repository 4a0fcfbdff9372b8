// The file operations the program needs (backup folder, backup files), behind a small
// interface: Win32 implements it with the "A" file calls, MemoryFileSystem stands in for tests.
// Paths are full Windows paths ("C:\Tools\Backups\001.BCK"); names compare without regard to case.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quelvar {

// Success, or a failure with the reason in words the user can read ("Access is denied.").
struct FileStatus {
  bool ok = true;
  std::string reason;
  bool nameTaken = false;  // CreateNewFile found a file or folder of that name already there

  static FileStatus Success() { return {}; }
  static FileStatus Failure(std::string why) { return {false, std::move(why)}; }
  static FileStatus NameTaken(std::string why) { return {false, std::move(why), true}; }
  explicit operator bool() const { return ok; }
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when `path` names an existing folder.
  virtual bool FolderExists(const std::string& path) = 0;
  // Creates one folder; its parent must exist.
  virtual FileStatus CreateFolder(const std::string& path) = 0;
  // The names (without folder) of the normal files in `folder` whose names match `pattern`
  // ("*" and "?" wildcards, letter case ignored, so "*.BCK" also finds "001.bck"), in the order
  // the file system gives them. Folders are left out. Empty when the folder cannot be read.
  virtual std::vector<std::string> ListFiles(const std::string& folder,
                                             const std::string& pattern) = 0;
  // Every file in `folder` matching `pattern`, hidden and system files included (folders left
  // out), into `names`; a failure when the folder cannot be listed. A folder without a match is
  // no failure.
  virtual FileStatus ListEveryFile(const std::string& folder, const std::string& pattern,
                                   std::vector<std::string>* names) = 0;
  // The whole content of a file, bytes unchanged.
  virtual FileStatus ReadWholeFile(const std::string& path, std::string* contents) = 0;
  // The first `maxBytes` bytes of a file, or all of it when it is shorter; nothing after them
  // is read.
  virtual FileStatus ReadFileStart(const std::string& path, std::size_t maxBytes,
                                   std::string* contents) = 0;
  // Replaces (or creates) `path` with `contents` so that the file is either complete or left
  // as it was: the bytes go to a temporary file in the same folder, are flushed, and the
  // temporary file is renamed over the target. On failure nothing new is left behind.
  virtual FileStatus WriteWholeFile(const std::string& path, std::string_view contents) = 0;
  // Adds `text` at the end of `path`, creating the file when it is missing (a log that several
  // runs, or several machines, write to in turn).
  virtual FileStatus AppendToFile(const std::string& path, std::string_view text) = 0;
  // Creates `path` holding `contents` only when nothing of that name exists, whether listed or
  // not: then fails with nameTaken set and leaves what is there alone. Complete or not at all,
  // as WriteWholeFile.
  virtual FileStatus CreateNewFile(const std::string& path, std::string_view contents) = 0;
  // Deletes one file.
  virtual FileStatus RemoveFile(const std::string& path) = 0;
};

// The process-wide file system, set once at start-up by WinMain or by a test.
void SetFileSystem(FileSystem& files);
FileSystem& Files();

}  // namespace quelvar
