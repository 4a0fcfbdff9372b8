// An in-memory file system for tests and benchmarks: folders and files keyed by full path
// (letter case ignored), files listed in the order they were first created. Faults can be
// injected: a read-only folder refuses creates, writes and deletes in it; a full disk refuses
// writes of more than a given number of bytes; a folder can refuse to be listed; a file can be
// hidden (only ListEveryFile sees it) or unlisted (no listing sees it, as one another program
// creates just after the folder was listed).
#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"

namespace quelvar {

// True when `name` matches `pattern` ("*" any run, "?" one character), letter case ignored.
bool MatchesFilePattern(std::string_view name, std::string_view pattern);

class MemoryFileSystem : public FileSystem {
 public:
  static constexpr const char* kAccessDenied = "Access is denied.";
  static constexpr const char* kPathNotFound = "The system cannot find the path specified.";
  static constexpr const char* kFileNotFound = "The system cannot find the file specified.";
  static constexpr const char* kDiskFull = "There is not enough space on the disk.";

  // Adds a folder and every missing folder above it (test set-up; no faults apply).
  void AddFolder(const std::string& path);
  enum class Listed { kNormal, kHidden, kUnlisted };
  // Adds or replaces a file, creating its folder (test set-up; no faults apply).
  void AddFile(const std::string& path, std::string contents, Listed listed = Listed::kNormal);
  // Listing the folder fails with `reason`; an empty reason lists it again.
  void SetListingFailure(const std::string& folder, std::string reason);
  // A read-only folder: creating, writing or deleting anything directly in it fails.
  void SetReadOnly(const std::string& folder, bool readOnly);
  // Writes of more than `bytes` bytes fail as on a full disk; nullopt lifts the limit.
  void SetDiskSpace(std::optional<std::size_t> bytes) { m_diskSpace = bytes; }

  bool FileExists(const std::string& path) const;
  // The content of a file; empty when it does not exist.
  std::string Contents(const std::string& path) const;
  // Full paths of every file, in creation order.
  std::vector<std::string> AllFiles() const;
  // How many bytes the reads have handed out since the file system was made.
  std::size_t BytesRead() const { return m_bytesRead; }

  bool FolderExists(const std::string& path) override;
  FileStatus CreateFolder(const std::string& path) override;
  std::vector<std::string> ListFiles(const std::string& folder,
                                     const std::string& pattern) override;
  FileStatus ReadWholeFile(const std::string& path, std::string* contents) override;
  FileStatus ListEveryFile(const std::string& folder, const std::string& pattern,
                           std::vector<std::string>* names) override;
  FileStatus ReadFileStart(const std::string& path, std::size_t maxBytes,
                           std::string* contents) override;
  FileStatus WriteWholeFile(const std::string& path, std::string_view contents) override;
  FileStatus AppendToFile(const std::string& path, std::string_view text) override;
  FileStatus CreateNewFile(const std::string& path, std::string_view contents) override;
  FileStatus RemoveFile(const std::string& path) override;

 private:
  struct File {
    std::string path;  // as first created
    std::string contents;
    Listed listed = Listed::kNormal;
  };
  std::vector<std::string> Names(const std::string& folder, const std::string& pattern,
                                 bool withHidden) const;
  static std::string Key(std::string_view path);
  std::vector<File>::iterator Find(const std::string& path);
  std::vector<File>::const_iterator Find(const std::string& path) const;
  bool IsReadOnly(const std::string& folder) const;

  std::set<std::string> m_folders;   // keys
  std::set<std::string> m_readOnly;  // keys
  std::map<std::string, std::string> m_listingFailures;  // key -> reason
  std::vector<File> m_files;
  std::optional<std::size_t> m_diskSpace;
  std::size_t m_bytesRead = 0;
};

}  // namespace quelvar
