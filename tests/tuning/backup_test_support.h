// What the backup and apply tests share: an in-memory registry that also logs every change made
// through it (with the key path each handle was created for), the in-memory file system, a fixed
// clock, a message box that records instead of showing, and a fixture installing them all.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/memory_file_system.h"
#include "base/message_box.h"
#include "base/os_family.h"
#include "base/program_folder.h"
#include "registry/memory_registry.h"
#include "tuning/tuning_profile.h"

namespace quelvar {

// A registry value as a failed check shows it: its type and bytes.
inline void PrintTo(const RegData& value, std::ostream* out) {
  *out << "type " << value.type << ":";
  for (std::uint8_t byte : value.data) *out << ' ' << static_cast<int>(byte);
}

}  // namespace quelvar

namespace quelvar::testing {

inline std::string HiveTag(RegKey hive) {
  return hive == kHkeyCurrentUser ? "HKCU" : hive == kHkeyLocalMachine ? "HKLM" : "HK?";
}

// Forwards every call to a MemoryRegistry and logs the changes: "set HKLM\<key>\<name>" and
// "del HKLM\<key>\<name>" in call order, the key as the caller spelt it.
class LoggingRegistry final : public RegistryBackend {
 public:
  MemoryRegistry store;
  std::vector<std::string> changes;
  int createCalls = 0;

  RegStatus CreateKeyEx(RegKey parent, const std::string& subkey, std::uint32_t access,
                        bool inheritHandle, RegKey* key) override {
    ++createCalls;
    const RegStatus status = store.CreateKeyEx(parent, subkey, access, inheritHandle, key);
    if (status == kRegSuccess) m_paths[*key] = HiveTag(parent) + "\\" + subkey;
    return status;
  }
  RegStatus OpenKeyEx(RegKey parent, const std::string& subkey, std::uint32_t access,
                      RegKey* key) override {
    return store.OpenKeyEx(parent, subkey, access, key);
  }
  RegStatus OpenKey(RegKey parent, const std::string& subkey, RegKey* key) override {
    return store.OpenKey(parent, subkey, key);
  }
  RegStatus QueryValueEx(RegKey key, const std::string& name, std::uint32_t* type,
                         std::uint8_t* data, std::uint32_t* size) override {
    return store.QueryValueEx(key, name, type, data, size);
  }
  RegStatus SetValueEx(RegKey key, const std::string& name, std::uint32_t type,
                       const std::uint8_t* data, std::uint32_t size) override {
    changes.push_back("set " + m_paths[key] + "\\" + name);
    return store.SetValueEx(key, name, type, data, size);
  }
  RegStatus DeleteValue(RegKey key, const std::string& name) override {
    changes.push_back("del " + m_paths[key] + "\\" + name);
    return store.DeleteValue(key, name);
  }
  RegStatus DeleteKey(RegKey key, const std::string& subkey) override {
    changes.push_back("delkey " + m_paths[key] + "\\" + subkey);
    return store.DeleteKey(key, subkey);
  }
  RegStatus EnumKeyEx(RegKey key, std::uint32_t index, char* name,
                      std::uint32_t* nameLength) override {
    return store.EnumKeyEx(key, index, name, nameLength);
  }
  RegStatus EnumKey(RegKey key, std::uint32_t index, char* name,
                    std::uint32_t bufferLength) override {
    return store.EnumKey(key, index, name, bufferLength);
  }
  RegStatus CloseKey(RegKey key) override {
    m_paths.erase(key);
    return store.CloseKey(key);
  }

  // Nothing was created, set or removed.
  bool Untouched() const { return changes.empty() && createCalls == 0; }

 private:
  std::map<RegKey, std::string> m_paths;
};

class RecordingMessageBox final : public MessageBoxService {
 public:
  struct Shown {
    std::string text, title;
    unsigned style;
  };
  std::vector<Shown> shown;
  int Show(const std::string& text, const std::string& title, unsigned style) override {
    shown.push_back({text, title, style});
    return kIdOk;
  }
};

inline constexpr const char* kProgramFolder = "C:\\Tools\\Quelvar";
inline constexpr const char* kBackups = "C:\\Tools\\Quelvar\\Backups";
inline const LocalDateTime kStamp{2003, 5, 7, 9, 5, 3};

// Installs the doubles as the process-wide services and restores OsFamily afterwards.
class BackupApplyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_savedFamily = OsFamily;
    m_savedFolder = ProgramFolder();
    SetRegistryBackend(registry);
    SetFileSystem(files);
    SetClock(clock);
    SetMessageBoxService(boxes);
    SetProgramFolder(kProgramFolder);
    files.AddFolder(kProgramFolder);
    LoadTuningPresets();
  }
  void TearDown() override {
    OsFamily = m_savedFamily;
    SetProgramFolder(m_savedFolder);
  }

  MemoryRegistry& store() { return registry.store; }
  std::string Backup(const char* name) const {
    return files.Contents(std::string(kBackups) + "\\" + name);
  }

  LoggingRegistry registry;
  MemoryFileSystem files;
  FixedClock clock{kStamp};
  RecordingMessageBox boxes;

 private:
  std::int16_t m_savedFamily = 0;
  std::string m_savedFolder;
};

// Lines joined with CR LF after each, as a backup file holds them.
inline std::string CrLfLines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace quelvar::testing
