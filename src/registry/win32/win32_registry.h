// The registry backend on Windows: each call goes straight to its advapi32 "A" function.
#pragma once
#include <windows.h>

#include "registry/registry_backend.h"

namespace quelvar {

class Win32Registry final : public RegistryBackend {
 public:
  RegStatus CreateKeyEx(RegKey parent, const std::string& subkey, std::uint32_t access,
                        bool inheritHandle, RegKey* key) override;
  RegStatus OpenKeyEx(RegKey parent, const std::string& subkey, std::uint32_t access,
                      RegKey* key) override;
  RegStatus OpenKey(RegKey parent, const std::string& subkey, RegKey* key) override;
  RegStatus QueryValueEx(RegKey key, const std::string& name, std::uint32_t* type,
                         std::uint8_t* data, std::uint32_t* size) override;
  RegStatus SetValueEx(RegKey key, const std::string& name, std::uint32_t type,
                       const std::uint8_t* data, std::uint32_t size) override;
  RegStatus DeleteValue(RegKey key, const std::string& name) override;
  RegStatus DeleteKey(RegKey key, const std::string& subkey) override;
  RegStatus EnumKeyEx(RegKey key, std::uint32_t index, char* name,
                      std::uint32_t* nameLength) override;
  RegStatus EnumKey(RegKey key, std::uint32_t index, char* name,
                    std::uint32_t bufferLength) override;
  RegStatus CloseKey(RegKey key) override;

  // The predefined roots carry their 32-bit values in a RegKey; as an HKEY they are
  // sign-extended, as Windows defines them.
  static HKEY ToHkey(RegKey key);
  static RegKey FromHkey(HKEY key);
};

}  // namespace quelvar
