// The registry calls the program makes, as one small interface. The Win32 backend passes
// them straight to advapi32 ("A" forms); the in-memory store answers them the same way
// where there is no Windows registry, and serves as the tests' registry.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace quelvar {

// Key handles: the predefined roots carry their Windows values; opened keys are opaque.
using RegKey = std::uint64_t;
inline constexpr RegKey kHkeyClassesRoot = 0x80000000u;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001u;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002u;
inline constexpr RegKey kHkeyUsers = 0x80000003u;
inline constexpr RegKey kHkeyDynData = 0x80000006u;

// Status codes (the Windows error numbers).
using RegStatus = long;
inline constexpr RegStatus kRegSuccess = 0;
inline constexpr RegStatus kRegFileNotFound = 2;
inline constexpr RegStatus kRegAccessDenied = 5;
inline constexpr RegStatus kRegInvalidHandle = 6;
inline constexpr RegStatus kRegInvalidParameter = 87;
inline constexpr RegStatus kRegMoreData = 234;
inline constexpr RegStatus kRegNoMoreItems = 259;

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// Access masks.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
// Query, set, create subkey, enumerate, notify and create link, without the standard rights.
inline constexpr std::uint32_t kKeyWriteNoStandardRights = 0x3F;

// A value as the registry stores it: its type and its bytes, unchanged.
struct RegData {
  std::uint32_t type = kRegNone;
  std::vector<std::uint8_t> data;
  friend bool operator==(const RegData&, const RegData&) = default;
};

class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;

  // RegCreateKeyExA with REG_OPTION_NON_VOLATILE and an empty class; `inheritHandle` asks for
  // security attributes with no descriptor and an inheritable handle.
  virtual RegStatus CreateKeyEx(RegKey parent, const std::string& subkey, std::uint32_t access,
                                bool inheritHandle, RegKey* key) = 0;
  // RegOpenKeyExA with options 0.
  virtual RegStatus OpenKeyEx(RegKey parent, const std::string& subkey, std::uint32_t access,
                              RegKey* key) = 0;
  // RegOpenKeyA.
  virtual RegStatus OpenKey(RegKey parent, const std::string& subkey, RegKey* key) = 0;
  // RegQueryValueExA. `name` "" is the unnamed default value. `data` may be null to learn
  // the size; `*size` is the buffer size in, the data size out.
  virtual RegStatus QueryValueEx(RegKey key, const std::string& name, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) = 0;
  // RegSetValueExA.
  virtual RegStatus SetValueEx(RegKey key, const std::string& name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) = 0;
  // RegDeleteValueA.
  virtual RegStatus DeleteValue(RegKey key, const std::string& name) = 0;
  // RegDeleteKeyA (the subkey must have no subkeys of its own).
  virtual RegStatus DeleteKey(RegKey key, const std::string& subkey) = 0;
  // RegEnumKeyExA: `*nameLength` is the buffer length in characters in (including room for
  // the zero), the name's length without the zero out.
  virtual RegStatus EnumKeyEx(RegKey key, std::uint32_t index, char* name,
                              std::uint32_t* nameLength) = 0;
  // RegEnumKeyA: writes the zero-terminated name into a buffer of `bufferLength` characters.
  virtual RegStatus EnumKey(RegKey key, std::uint32_t index, char* name,
                            std::uint32_t bufferLength) = 0;
  // RegCloseKey. Closing a predefined root is a no-op that succeeds.
  virtual RegStatus CloseKey(RegKey key) = 0;
};

// The backend behind the five registry operations and CRegister. The program installs the
// Win32 backend at start-up; tests install an in-memory store. Never null once set.
void SetRegistryBackend(RegistryBackend& backend);
RegistryBackend& Registry();

}  // namespace quelvar
