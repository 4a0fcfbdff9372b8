// Win32Registry: the backend calls as advapi32 calls.
#include "registry/win32/win32_registry.h"

namespace quelvar {

namespace {

constexpr RegKey kPredefinedFirst = 0x80000000u;
constexpr RegKey kPredefinedLast = 0x800000FFu;

}  // namespace

HKEY Win32Registry::ToHkey(RegKey key) {
  if (key >= kPredefinedFirst && key <= kPredefinedLast) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<DWORD>(key))));
  }
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

RegKey Win32Registry::FromHkey(HKEY key) {
  const auto value = reinterpret_cast<ULONG_PTR>(key);
  const auto low = static_cast<DWORD>(value);
  if (low >= kPredefinedFirst && low <= kPredefinedLast && ToHkey(low) == key) return low;
  return static_cast<RegKey>(value);
}

RegStatus Win32Registry::CreateKeyEx(RegKey parent, const std::string& subkey,
                                     std::uint32_t access, bool inheritHandle, RegKey* key) {
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), nullptr, TRUE};
  char noClass[] = "";
  HKEY created = nullptr;
  DWORD disposition = 0;
  const LONG status = ::RegCreateKeyExA(ToHkey(parent), subkey.c_str(), 0, noClass,
                                        REG_OPTION_NON_VOLATILE, access,
                                        inheritHandle ? &attributes : nullptr, &created,
                                        &disposition);
  if (status == ERROR_SUCCESS) *key = FromHkey(created);
  return status;
}

RegStatus Win32Registry::OpenKeyEx(RegKey parent, const std::string& subkey,
                                   std::uint32_t access, RegKey* key) {
  HKEY opened = nullptr;
  const LONG status = ::RegOpenKeyExA(ToHkey(parent), subkey.c_str(), 0, access, &opened);
  if (status == ERROR_SUCCESS) *key = FromHkey(opened);
  return status;
}

RegStatus Win32Registry::OpenKey(RegKey parent, const std::string& subkey, RegKey* key) {
  HKEY opened = nullptr;
  const LONG status = ::RegOpenKeyA(ToHkey(parent), subkey.c_str(), &opened);
  if (status == ERROR_SUCCESS) *key = FromHkey(opened);
  return status;
}

RegStatus Win32Registry::QueryValueEx(RegKey key, const std::string& name, std::uint32_t* type,
                                      std::uint8_t* data, std::uint32_t* size) {
  DWORD valueType = type != nullptr ? *type : 0;
  DWORD valueSize = size != nullptr ? *size : 0;
  const LONG status = ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr,
                                         type != nullptr ? &valueType : nullptr, data,
                                         size != nullptr ? &valueSize : nullptr);
  if (type != nullptr) *type = valueType;
  if (size != nullptr) *size = valueSize;
  return status;
}

RegStatus Win32Registry::SetValueEx(RegKey key, const std::string& name, std::uint32_t type,
                                    const std::uint8_t* data, std::uint32_t size) {
  return ::RegSetValueExA(ToHkey(key), name.c_str(), 0, type, data, size);
}

RegStatus Win32Registry::DeleteValue(RegKey key, const std::string& name) {
  return ::RegDeleteValueA(ToHkey(key), name.c_str());
}

RegStatus Win32Registry::DeleteKey(RegKey key, const std::string& subkey) {
  return ::RegDeleteKeyA(ToHkey(key), subkey.c_str());
}

RegStatus Win32Registry::EnumKeyEx(RegKey key, std::uint32_t index, char* name,
                                   std::uint32_t* nameLength) {
  DWORD length = *nameLength;
  const LONG status =
      ::RegEnumKeyExA(ToHkey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
  *nameLength = length;
  return status;
}

RegStatus Win32Registry::EnumKey(RegKey key, std::uint32_t index, char* name,
                                 std::uint32_t bufferLength) {
  return ::RegEnumKeyA(ToHkey(key), index, name, bufferLength);
}

RegStatus Win32Registry::CloseKey(RegKey key) { return ::RegCloseKey(ToHkey(key)); }

}  // namespace quelvar
