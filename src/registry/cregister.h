// Section-and-key registry access with defaults. Holds no state; each call opens what it needs.
// "*" as a value name stands for the key's unnamed default value.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "registry/registry_backend.h"

namespace quelvar {

class CRegister {
 public:
  bool REGDeleteSetting(RegKey regHKEY, const std::string& sSection, const std::string& sKey);
  std::string REGGetSetting(RegKey regHKEY, const std::string& sSection, const std::string& sKey,
                            const std::string& sDefault);
  bool REGSaveSetting(RegKey regHKEY, const std::string& sSection, const std::string& sKey,
                      const std::string& sValue);
  std::vector<std::string> GetAllKeys(RegKey HKEY, const std::string& strPath);
  double myREGGetSetting(RegKey regHKEY, const std::string& sSection, const std::string& sKey,
                         double sDefault);

  // One backslash off each end, at most.
  static std::string TrimSectionPath(std::string_view path);
};

}  // namespace quelvar
