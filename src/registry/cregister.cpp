// CRegister: section-and-key registry access with defaults, over the registry backend.
#include "registry/cregister.h"

#include <algorithm>
#include <vector>

#include "registry/scoped_reg_key.h"

namespace quelvar {

namespace {

constexpr std::uint32_t kEnumBufferLength = 255;

std::string ValueName(const std::string& sKey) { return sKey == "*" ? std::string() : sKey; }

// Opens a section for reading: with full access first, and read-only when that is refused.
bool OpenSectionForReading(RegKey regHKEY, const std::string& sSection, ScopedRegKey& key) {
  const std::string section = CRegister::TrimSectionPath(sSection);
  RegStatus status = Registry().OpenKeyEx(regHKEY, section, kKeyAllAccess, key.put());
  if (status == kRegAccessDenied) status = Registry().OpenKeyEx(regHKEY, section, kKeyRead, key.put());
  if (status != kRegSuccess) return false;
  key.Opened();
  return true;
}

// The value's whole data, or nothing when it is missing or empty.
bool ReadValueData(RegKey key, const std::string& name, std::vector<std::uint8_t>& data) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (Registry().QueryValueEx(key, name, &type, nullptr, &size) != kRegSuccess || size == 0) {
    return false;
  }
  data.assign(size, 0);
  if (Registry().QueryValueEx(key, name, &type, data.data(), &size) != kRegSuccess) return false;
  data.resize(size);
  return true;
}

}  // namespace

std::string CRegister::TrimSectionPath(std::string_view path) {
  if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return std::string(path);
}

bool CRegister::REGDeleteSetting(RegKey regHKEY, const std::string& sSection,
                                 const std::string& sKey) {
  ScopedRegKey key;
  if (!sKey.empty()) {
    if (Registry().OpenKeyEx(regHKEY, TrimSectionPath(sSection), kKeyAllAccess, key.put()) !=
        kRegSuccess) {
      return false;
    }
    key.Opened();
    return Registry().DeleteValue(key.get(), ValueName(sKey)) == kRegSuccess;
  }
  if (Registry().OpenKeyEx(regHKEY, std::string(), kKeyAllAccess, key.put()) != kRegSuccess) {
    return false;
  }
  key.Opened();
  return Registry().DeleteKey(key.get(), sSection) == kRegSuccess;
}

std::string CRegister::REGGetSetting(RegKey regHKEY, const std::string& sSection,
                                     const std::string& sKey, const std::string& sDefault) {
  ScopedRegKey key;
  if (!OpenSectionForReading(regHKEY, sSection, key)) return sDefault;
  std::vector<std::uint8_t> data;
  if (!ReadValueData(key.get(), ValueName(sKey), data) || data.empty()) return sDefault;
  return std::string(data.begin(), data.end() - 1);
}

bool CRegister::REGSaveSetting(RegKey regHKEY, const std::string& sSection,
                               const std::string& sKey, const std::string& sValue) {
  ScopedRegKey key;
  if (Registry().CreateKeyEx(regHKEY, TrimSectionPath(sSection), kKeyAllAccess,
                             /*inheritHandle=*/false, key.put()) != kRegSuccess) {
    return false;
  }
  key.Opened();
  std::vector<std::uint8_t> data(sValue.begin(), sValue.end());
  data.push_back(0);
  return Registry().SetValueEx(key.get(), ValueName(sKey), kRegSz, data.data(),
                               static_cast<std::uint32_t>(data.size())) == kRegSuccess;
}

std::vector<std::string> CRegister::GetAllKeys(RegKey HKEY, const std::string& strPath) {
  std::vector<std::string> names;
  RegKey key = 0;
  if (Registry().OpenKey(HKEY, strPath, &key) != kRegSuccess) return names;
  for (std::uint32_t index = 0;; ++index) {
    char buffer[kEnumBufferLength];
    std::fill(buffer, buffer + kEnumBufferLength, ' ');
    if (Registry().EnumKey(key, index, buffer, kEnumBufferLength) != kRegSuccess) break;
    const char* end = std::find(buffer, buffer + kEnumBufferLength, '\0');
    names.emplace_back(static_cast<const char*>(buffer), end);
  }
  // An empty path hands back the caller's own key, which stays open.
  if (key != HKEY) Registry().CloseKey(key);
  return names;
}

double CRegister::myREGGetSetting(RegKey regHKEY, const std::string& sSection,
                                  const std::string& sKey, double sDefault) {
  ScopedRegKey key;
  if (!OpenSectionForReading(regHKEY, sSection, key)) return sDefault;
  std::vector<std::uint8_t> data;
  if (!ReadValueData(key.get(), ValueName(sKey), data)) return sDefault;
  double result = 0.0;
  double weight = 1.0;
  for (const std::uint8_t byte : data) {
    result += byte * weight;
    weight *= 256.0;
  }
  return result;
}

}  // namespace quelvar
