// The file system service over the Win32 "A" file calls.
#pragma once
#include "base/file_system.h"

namespace quelvar {

class Win32FileSystem : public FileSystem {
 public:
  bool FolderExists(const std::string& path) override;
  FileStatus CreateFolder(const std::string& path) override;
  // Normal files only: folders, hidden and system files are left out.
  std::vector<std::string> ListFiles(const std::string& folder,
                                     const std::string& pattern) override;
  FileStatus ReadWholeFile(const std::string& path, std::string* contents) override;
  FileStatus ReadFileStart(const std::string& path, std::size_t maxBytes,
                           std::string* contents) override;
  // Temporary file from GetTempFileNameA in the target's folder, written, flushed, then
  // MoveFileExA(MOVEFILE_REPLACE_EXISTING); where MoveFileExA is missing or not implemented
  // (the 95 line) the target is deleted and the temporary file renamed with MoveFileA.
  FileStatus WriteWholeFile(const std::string& path, std::string_view contents) override;
  FileStatus RemoveFile(const std::string& path) override;
};

// The system's text for an error code ("Access is denied."), without the trailing line break;
// "Windows error N." when the system has none.
std::string SystemErrorText(unsigned long error);

}  // namespace quelvar
