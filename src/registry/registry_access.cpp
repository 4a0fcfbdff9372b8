// The registry operations over the process's registry backend.
#include "registry/registry_access.h"

#include <vector>

#include "registry/scoped_reg_key.h"

namespace quelvar {

namespace {

constexpr std::uint32_t kReadBufferSize = 255;

// Text followed by one terminating zero, the REG_SZ data the program writes.
std::vector<std::uint8_t> TextData(const std::string& text) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  return data;
}

}  // namespace

namespace RegistrySettings {

RegStatus StoreRegistryValue(RegKey hive, const std::string& subkey, const std::string& valueName,
                             const RegValue& value) {
  ScopedRegKey key;
  const RegStatus opened =
      Registry().CreateKeyEx(hive, subkey, kKeyAllAccess, /*inheritHandle=*/true, key.put());
  if (opened != kRegSuccess) return opened;
  key.Opened();
  const std::vector<std::uint8_t> data = TextData(value.ToText());
  return Registry().SetValueEx(key.get(), valueName, kRegSz, data.data(),
                               static_cast<std::uint32_t>(data.size()));
}

RegStatus StoreMachineValue(const std::string& subkey, const std::string& valueName,
                            const RegValue& value) {
  return StoreRegistryValue(kHkeyLocalMachine, subkey, valueName, value);
}

void WriteRegistryValue(RegKey hive, const std::string& subkey, const std::string& valueName,
                        const RegValue& value) {
  StoreRegistryValue(hive, subkey, valueName, value);
}

void WriteMachineValue(const std::string& subkey, const std::string& valueName,
                       const RegValue& value) {
  StoreMachineValue(subkey, valueName, value);
}

}  // namespace RegistrySettings

namespace RegFunctions {

RegValue ReadRegistryValue(RegKey hive, const std::string& subkey, const std::string& valueName,
                           const RegValue& defaultValue) {
  ScopedRegKey key;
  if (Registry().OpenKeyEx(hive, subkey, kKeyRead, key.put()) != kRegSuccess) return defaultValue;
  key.Opened();
  std::uint8_t buffer[kReadBufferSize] = {};
  std::uint32_t size = kReadBufferSize;
  std::uint32_t type = 0;
  if (Registry().QueryValueEx(key.get(), valueName, &type, buffer, &size) != kRegSuccess) {
    return defaultValue;
  }
  // Data of zero bytes (only other programs write it) has no terminating zero to drop; it
  // counts as nothing stored.
  if (size == 0) return defaultValue;
  return RegValue(std::string(reinterpret_cast<const char*>(buffer), size - 1));
}

RegValue ReadMachineValue(const std::string& subkey, const std::string& valueName,
                          const RegValue& defaultValue) {
  return ReadRegistryValue(kHkeyLocalMachine, subkey, valueName, defaultValue);
}

RegStatus SetOrDeleteRegistryValue(RegKey hive, const std::string& subkey,
                                   const std::string& valueName, std::int32_t valueType,
                                   const RegValue& value, bool deleteValue) {
  ScopedRegKey key;
  const RegStatus opened = Registry().CreateKeyEx(hive, subkey, kKeyWriteNoStandardRights,
                                                  /*inheritHandle=*/false, key.put());
  if (opened != kRegSuccess) return opened;
  key.Opened();
  switch (valueType) {
    case static_cast<std::int32_t>(kRegSz): {
      const std::vector<std::uint8_t> data = TextData(value.ToText());
      if (deleteValue) return Registry().DeleteValue(key.get(), valueName);
      return Registry().SetValueEx(key.get(), valueName, kRegSz, data.data(),
                                   static_cast<std::uint32_t>(data.size()));
    }
    case static_cast<std::int32_t>(kRegDword): {
      const auto number = static_cast<std::uint32_t>(value.ToInt32());
      if (deleteValue) return Registry().DeleteValue(key.get(), valueName);
      const std::uint8_t data[4] = {
          static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
          static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
      return Registry().SetValueEx(key.get(), valueName, kRegDword, data, sizeof(data));
    }
    default:
      return kRegSuccess;
  }
}

std::optional<RegData> ReadRegistryData(RegKey hive, const std::string& subkey,
                                        const std::string& valueName) {
  ScopedRegKey key;
  if (Registry().OpenKeyEx(hive, subkey, kKeyRead, key.put()) != kRegSuccess) return std::nullopt;
  key.Opened();
  RegData value;
  std::uint32_t size = 0;
  if (Registry().QueryValueEx(key.get(), valueName, &value.type, nullptr, &size) != kRegSuccess) {
    return std::nullopt;
  }
  value.data.assign(size, 0);
  if (size != 0 &&
      Registry().QueryValueEx(key.get(), valueName, &value.type, value.data.data(), &size) !=
          kRegSuccess) {
    return std::nullopt;
  }
  value.data.resize(size);
  return value;
}

RegStatus WriteRegistryData(RegKey hive, const std::string& subkey, const std::string& valueName,
                            const RegData& value) {
  ScopedRegKey key;
  const RegStatus opened = Registry().CreateKeyEx(hive, subkey, kKeyWriteNoStandardRights,
                                                  /*inheritHandle=*/false, key.put());
  if (opened != kRegSuccess) return opened;
  key.Opened();
  return Registry().SetValueEx(key.get(), valueName, value.type, value.data.data(),
                               static_cast<std::uint32_t>(value.data.size()));
}

RegStatus ProbeKeyWrite(RegKey hive, const std::string& subkey) {
  std::string path = subkey;
  std::uint32_t access = kKeySetValue;
  for (;;) {
    ScopedRegKey key;
    const RegStatus status = Registry().OpenKeyEx(hive, path, access, key.put());
    if (status == kRegSuccess) {
      key.Opened();
      return kRegSuccess;
    }
    if (status != kRegFileNotFound || path.empty()) return status;
    // Missing: creating it takes the right to add subkeys to the nearest key that exists.
    const std::size_t slash = path.find_last_of('\\');
    path.resize(slash == std::string::npos ? 0 : slash);
    access = kKeyCreateSubKey;
  }
}

}  // namespace RegFunctions

}  // namespace quelvar
