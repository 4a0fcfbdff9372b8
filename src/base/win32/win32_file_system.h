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
  // FindFirstFileA / FindNextFileA; a search that ends on anything but "no more files" fails.
  FileStatus ListEveryFile(const std::string& folder, const std::string& pattern,
                           std::vector<std::string>* names) override;
  FileStatus ReadWholeFile(const std::string& path, std::string* contents) override;
  FileStatus ReadFileStart(const std::string& path, std::size_t maxBytes,
                           std::string* contents) override;
  // Temporary file from GetTempFileNameA in the target's folder, written, flushed, then on the
  // NT line MoveFileExA(MOVEFILE_REPLACE_EXISTING); on the 95 line (or without MoveFileExA) the
  // target is deleted and the temporary file renamed with MoveFileA.
  FileStatus WriteWholeFile(const std::string& path, std::string_view contents) override;
  // OPEN_ALWAYS, the file pointer moved to the end, one WriteFile of the whole text.
  FileStatus AppendToFile(const std::string& path, std::string_view text) override;
  // A temporary file as above, then MoveFileA, which fails when the name exists.
  FileStatus CreateNewFile(const std::string& path, std::string_view contents) override;
  FileStatus RemoveFile(const std::string& path) override;
};

// The system's text for an error code ("Access is denied."), without the trailing line break;
// "Windows error N." when the system has none.
std::string SystemErrorText(unsigned long error);

}  // namespace quelvar
