// Win32 file system service; see win32_file_system.h.
#include "base/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "base/program_folder.h"
#include "base/win32/optional_api.h"
#include "base/win32/unique_handle.h"
#include "base/win32/windows_version.h"

namespace quelvar {

namespace {

FileStatus LastErrorStatus() { return FileStatus::Failure(SystemErrorText(::GetLastError())); }

FileStatus ReplaceFile(const std::string& from, const std::string& to) {
  // The NT line replaces in one step, and its answer is the outcome. The 95 line exports
  // MoveFileExA only as a stub that moves nothing, so it is never asked there, whatever it
  // would answer: the target is deleted and the new file renamed.
  if (IsWindowsNT(QueryWindowsVersion())) {
    if (auto moveFileEx = optional_api::MoveFileExA()) {
      if (moveFileEx(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return FileStatus::Success();
      }
      return LastErrorStatus();
    }
  }
  if (::GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES && !::DeleteFileA(to.c_str())) {
    return LastErrorStatus();
  }
  if (!::MoveFileA(from.c_str(), to.c_str())) return LastErrorStatus();
  return FileStatus::Success();
}

}  // namespace

std::string SystemErrorText(unsigned long error) {
  char* buffer = nullptr;
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  std::string text;
  if (length != 0 && buffer != nullptr) text.assign(buffer, length);
  if (buffer != nullptr) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
    text.pop_back();
  }
  if (text.empty()) text = "Windows error " + std::to_string(error) + ".";
  return text;
}

bool Win32FileSystem::FolderExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FileStatus Win32FileSystem::CreateFolder(const std::string& path) {
  if (!::CreateDirectoryA(path.c_str(), nullptr)) return LastErrorStatus();
  return FileStatus::Success();
}

std::vector<std::string> Win32FileSystem::ListFiles(const std::string& folder,
                                                    const std::string& pattern) {
  std::vector<std::string> names;
  const std::string query = folder + "\\" + pattern;
  WIN32_FIND_DATAA data{};
  UniqueFindHandle find(::FindFirstFileA(query.c_str(), &data));
  if (!find) return names;
  constexpr DWORD kNotNormal =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    if ((data.dwFileAttributes & kNotNormal) == 0) names.emplace_back(data.cFileName);
  } while (::FindNextFileA(find.get(), &data));
  return names;
}

FileStatus Win32FileSystem::ListEveryFile(const std::string& folder, const std::string& pattern,
                                          std::vector<std::string>* names) {
  names->clear();
  const std::string query = folder + "\\" + pattern;
  WIN32_FIND_DATAA data{};
  UniqueFindHandle find(::FindFirstFileA(query.c_str(), &data));
  if (!find) {
    // No match at all is an empty folder (the 95 line may answer either code).
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return FileStatus::Success();
    return FileStatus::Failure(SystemErrorText(error));
  }
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      names->emplace_back(data.cFileName);
    }
  } while (::FindNextFileA(find.get(), &data));
  const DWORD error = ::GetLastError();
  if (error != ERROR_NO_MORE_FILES) {
    names->clear();
    return FileStatus::Failure(SystemErrorText(error));
  }
  return FileStatus::Success();
}

FileStatus Win32FileSystem::ReadWholeFile(const std::string& path, std::string* contents) {
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastErrorStatus();
  std::string data;
  char buffer[4096];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr)) return LastErrorStatus();
    if (read == 0) break;
    data.append(buffer, read);
  }
  *contents = std::move(data);
  return FileStatus::Success();
}

FileStatus Win32FileSystem::ReadFileStart(const std::string& path, std::size_t maxBytes,
                                          std::string* contents) {
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastErrorStatus();
  std::string data(maxBytes, '\0');
  std::size_t filled = 0;
  while (filled < maxBytes) {
    DWORD read = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(maxBytes - filled, 1u << 20));
    if (!::ReadFile(file.get(), data.data() + filled, wanted, &read, nullptr)) {
      return LastErrorStatus();
    }
    if (read == 0) break;
    filled += read;
  }
  data.resize(filled);
  *contents = std::move(data);
  return FileStatus::Success();
}

// Writes `contents` into a new temporary file in the folder of `path` and flushes it; on
// success `temp` names it, on failure nothing is left behind.
FileStatus WriteTemporaryFile(const std::string& path, std::string_view contents,
                              char (&temp)[MAX_PATH]) {
  const std::string folder = FolderOfPath(path);
  if (!::GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "qlv", 0, temp)) {
    return LastErrorStatus();
  }
  FileStatus status = FileStatus::Success();
  {
    UniqueFile file(::CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      status = LastErrorStatus();
    } else {
      std::size_t done = 0;
      while (status && done < contents.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file.get(), contents.data() + done, chunk, &written, nullptr)) {
          status = LastErrorStatus();
        } else if (written != chunk) {
          status = FileStatus::Failure(SystemErrorText(ERROR_DISK_FULL));
        }
        done += written;
      }
      if (status && !::FlushFileBuffers(file.get())) status = LastErrorStatus();
    }
  }
  if (!status) ::DeleteFileA(temp);
  return status;
}

FileStatus Win32FileSystem::AppendToFile(const std::string& path, std::string_view text) {
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastErrorStatus();
  ::SetLastError(NO_ERROR);
  if (::SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
      ::GetLastError() != NO_ERROR) {
    return LastErrorStatus();
  }
  DWORD written = 0;
  if (!::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
    return LastErrorStatus();
  }
  if (written != text.size()) return FileStatus::Failure(SystemErrorText(ERROR_DISK_FULL));
  return FileStatus::Success();
}

FileStatus Win32FileSystem::WriteWholeFile(const std::string& path, std::string_view contents) {
  char temp[MAX_PATH] = {};
  FileStatus status = WriteTemporaryFile(path, contents, temp);
  if (!status) return status;
  status = ReplaceFile(temp, path);
  if (!status) ::DeleteFileA(temp);
  return status;
}

// The complete temporary file is renamed to `path` with MoveFileA, which never replaces
// anything (hidden and system files included), so the name is taken only when it was free.
FileStatus Win32FileSystem::CreateNewFile(const std::string& path, std::string_view contents) {
  char temp[MAX_PATH] = {};
  FileStatus status = WriteTemporaryFile(path, contents, temp);
  if (!status) return status;
  if (::MoveFileA(temp, path.c_str())) return FileStatus::Success();
  const DWORD error = ::GetLastError();
  ::DeleteFileA(temp);
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
    return FileStatus::NameTaken(SystemErrorText(error));
  }
  return FileStatus::Failure(SystemErrorText(error));
}

FileStatus Win32FileSystem::RemoveFile(const std::string& path) {
  if (!::DeleteFileA(path.c_str())) return LastErrorStatus();
  return FileStatus::Success();
}

}  // namespace quelvar
