// In-memory file system; see memory_file_system.h.
#include "base/memory_file_system.h"

#include <algorithm>
#include <cctype>

#include "base/program_folder.h"

namespace quelvar {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool MatchFrom(std::string_view name, std::string_view pattern) {
  // Iterative wildcard match with one back-track point for the last "*".
  std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesFilePattern(std::string_view name, std::string_view pattern) {
  return MatchFrom(name, pattern);
}

std::string MemoryFileSystem::Key(std::string_view path) {
  std::string key(path);
  std::transform(key.begin(), key.end(), key.begin(), Lower);
  std::replace(key.begin(), key.end(), '/', '\\');
  while (key.size() > 1 && key.back() == '\\') key.pop_back();
  return key;
}

std::vector<MemoryFileSystem::File>::iterator MemoryFileSystem::Find(const std::string& path) {
  const std::string key = Key(path);
  return std::find_if(m_files.begin(), m_files.end(),
                      [&](const File& f) { return Key(f.path) == key; });
}

std::vector<MemoryFileSystem::File>::const_iterator MemoryFileSystem::Find(
    const std::string& path) const {
  const std::string key = Key(path);
  return std::find_if(m_files.begin(), m_files.end(),
                      [&](const File& f) { return Key(f.path) == key; });
}

bool MemoryFileSystem::IsReadOnly(const std::string& folder) const {
  return m_readOnly.count(Key(folder)) != 0;
}

void MemoryFileSystem::AddFolder(const std::string& path) {
  std::string key = Key(path);
  while (!key.empty()) {
    m_folders.insert(key);
    const auto slash = key.find_last_of('\\');
    if (slash == std::string::npos) break;
    key.resize(slash);
  }
}

void MemoryFileSystem::AddFile(const std::string& path, std::string contents, Listed listed) {
  AddFolder(FolderOfPath(path));
  auto it = Find(path);
  if (it != m_files.end()) {
    it->contents = std::move(contents);
    it->listed = listed;
  } else {
    m_files.push_back({path, std::move(contents), listed});
  }
}

void MemoryFileSystem::SetListingFailure(const std::string& folder, std::string reason) {
  if (reason.empty()) {
    m_listingFailures.erase(Key(folder));
  } else {
    m_listingFailures[Key(folder)] = std::move(reason);
  }
}

void MemoryFileSystem::SetReadOnly(const std::string& folder, bool readOnly) {
  if (readOnly) {
    m_readOnly.insert(Key(folder));
  } else {
    m_readOnly.erase(Key(folder));
  }
}

bool MemoryFileSystem::FileExists(const std::string& path) const {
  return Find(path) != m_files.end();
}

std::string MemoryFileSystem::Contents(const std::string& path) const {
  auto it = Find(path);
  return it == m_files.end() ? std::string() : it->contents;
}

std::vector<std::string> MemoryFileSystem::AllFiles() const {
  std::vector<std::string> paths;
  for (const File& f : m_files) paths.push_back(f.path);
  return paths;
}

bool MemoryFileSystem::FolderExists(const std::string& path) {
  return m_folders.count(Key(path)) != 0;
}

FileStatus MemoryFileSystem::CreateFolder(const std::string& path) {
  const std::string parent = FolderOfPath(path);
  if (!FolderExists(parent)) return FileStatus::Failure(kPathNotFound);
  if (FolderExists(path) || FileExists(path)) {
    return FileStatus::Failure("Cannot create a file when that file already exists.");
  }
  if (IsReadOnly(parent)) return FileStatus::Failure(kAccessDenied);
  m_folders.insert(Key(path));
  return FileStatus::Success();
}

std::vector<std::string> MemoryFileSystem::Names(const std::string& folder,
                                                  const std::string& pattern,
                                                  bool withHidden) const {
  std::vector<std::string> names;
  const std::string key = Key(folder);
  for (const File& f : m_files) {
    if (Key(FolderOfPath(f.path)) != key || f.listed == Listed::kUnlisted) continue;
    if (f.listed == Listed::kHidden && !withHidden) continue;
    const std::string name = f.path.substr(f.path.find_last_of("\\/") + 1);
    if (MatchesFilePattern(name, pattern)) names.push_back(name);
  }
  return names;
}

std::vector<std::string> MemoryFileSystem::ListFiles(const std::string& folder,
                                                     const std::string& pattern) {
  if (m_listingFailures.count(Key(folder)) != 0) return {};
  return Names(folder, pattern, false);
}

FileStatus MemoryFileSystem::ListEveryFile(const std::string& folder, const std::string& pattern,
                                           std::vector<std::string>* names) {
  if (const auto failure = m_listingFailures.find(Key(folder));
      failure != m_listingFailures.end()) {
    return FileStatus::Failure(failure->second);
  }
  if (!FolderExists(folder)) return FileStatus::Failure(kPathNotFound);
  *names = Names(folder, pattern, true);
  return FileStatus::Success();
}

FileStatus MemoryFileSystem::ReadWholeFile(const std::string& path, std::string* contents) {
  auto it = Find(path);
  if (it == m_files.end()) {
    return FileStatus::Failure(FolderExists(FolderOfPath(path)) ? kFileNotFound : kPathNotFound);
  }
  *contents = it->contents;
  m_bytesRead += contents->size();
  return FileStatus::Success();
}

FileStatus MemoryFileSystem::ReadFileStart(const std::string& path, std::size_t maxBytes,
                                           std::string* contents) {
  auto it = Find(path);
  if (it == m_files.end()) {
    return FileStatus::Failure(FolderExists(FolderOfPath(path)) ? kFileNotFound : kPathNotFound);
  }
  *contents = it->contents.substr(0, maxBytes);
  m_bytesRead += contents->size();
  return FileStatus::Success();
}

FileStatus MemoryFileSystem::WriteWholeFile(const std::string& path, std::string_view contents) {
  const std::string folder = FolderOfPath(path);
  if (!FolderExists(folder)) return FileStatus::Failure(kPathNotFound);
  if (IsReadOnly(folder)) return FileStatus::Failure(kAccessDenied);
  if (m_diskSpace && contents.size() > *m_diskSpace) return FileStatus::Failure(kDiskFull);
  AddFile(path, std::string(contents));
  return FileStatus::Success();
}

FileStatus MemoryFileSystem::AppendToFile(const std::string& path, std::string_view text) {
  const std::string folder = FolderOfPath(path);
  if (!FolderExists(folder)) return FileStatus::Failure(kPathNotFound);
  if (IsReadOnly(folder)) return FileStatus::Failure(kAccessDenied);
  const std::string contents = Contents(path);
  if (m_diskSpace && contents.size() + text.size() > *m_diskSpace) {
    return FileStatus::Failure(kDiskFull);
  }
  AddFile(path, contents + std::string(text));
  return FileStatus::Success();
}

FileStatus MemoryFileSystem::CreateNewFile(const std::string& path, std::string_view contents) {
  if (FileExists(path) || FolderExists(path)) {
    return FileStatus::NameTaken("Cannot create a file when that file already exists.");
  }
  return WriteWholeFile(path, contents);
}

FileStatus MemoryFileSystem::RemoveFile(const std::string& path) {
  auto it = Find(path);
  if (it == m_files.end()) {
    return FileStatus::Failure(FolderExists(FolderOfPath(path)) ? kFileNotFound : kPathNotFound);
  }
  if (IsReadOnly(FolderOfPath(path))) return FileStatus::Failure(kAccessDenied);
  m_files.erase(it);
  return FileStatus::Success();
}

}  // namespace quelvar
