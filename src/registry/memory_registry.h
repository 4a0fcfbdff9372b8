// A registry held in memory, answering the backend calls the way Windows (as Wine runs it)
// does. It stands behind the registry operations where there is no Windows registry, and it
// is the tests' registry: the helpers below the backend calls set up and inspect its contents.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registry/registry_backend.h"

namespace quelvar {

// Further status codes the store gives, as Windows does.
inline constexpr RegStatus kRegKeyDeleted = 1018;
inline constexpr RegStatus kRegBadPathname = 161;

// Key and value names compare without regard to letter case (ASCII and the Latin-1 letters of
// the ANSI code page); a key keeps the spelling it was created with. Subkeys enumerate in the
// order Wine gives them: by name, letters folded to lower case, byte by byte.
bool RegistryNamesEqual(std::string_view a, std::string_view b);
bool RegistryNameLess(std::string_view a, std::string_view b);

class MemoryRegistry final : public RegistryBackend {
 public:
  using Value = RegData;

  MemoryRegistry();
  ~MemoryRegistry() override;
  MemoryRegistry(const MemoryRegistry&) = delete;
  MemoryRegistry& operator=(const MemoryRegistry&) = delete;

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

  // --- Setting up and inspecting the store (paths below a hive, no leading backslash) ---
  // Creates the missing keys of the path and stores the value ("" is the unnamed value).
  void Put(RegKey hive, std::string_view path, std::string_view name, Value value);
  void PutText(RegKey hive, std::string_view path, std::string_view name, std::string_view text);
  void PutDword(RegKey hive, std::string_view path, std::string_view name, std::uint32_t number);
  void CreatePath(RegKey hive, std::string_view path);
  std::optional<Value> Get(RegKey hive, std::string_view path, std::string_view name) const;
  // The REG_SZ text without its terminating zero; nothing when missing or of another type.
  std::optional<std::string> GetText(RegKey hive, std::string_view path,
                                     std::string_view name) const;
  std::optional<std::uint32_t> GetDword(RegKey hive, std::string_view path,
                                        std::string_view name) const;
  bool KeyExists(RegKey hive, std::string_view path) const;
  // Value names in the order they were created; subkey names in enumeration order.
  std::vector<std::string> ValueNames(RegKey hive, std::string_view path) const;
  std::vector<std::string> SubkeyNames(RegKey hive, std::string_view path) const;
  // Models a key the user may read but not write: opening it for writing (KEY_ALL_ACCESS,
  // KEY_SET_VALUE, KEY_CREATE_SUB_KEY...) is refused with access denied; reading is allowed.
  void DenyWrite(RegKey hive, std::string_view path, bool deny = true);
  // Handles opened and not yet closed (every operation should close what it opens).
  std::size_t OpenHandleCount() const { return m_handles.size(); }

 private:
  struct Node;
  struct Handle {
    std::shared_ptr<Node> node;
    std::uint32_t access = 0;
  };

  std::shared_ptr<Node> Resolve(RegKey key, std::uint32_t required, RegStatus* status) const;
  std::shared_ptr<Node> FindPath(RegKey hive, std::string_view path) const;
  std::shared_ptr<Node> MakePath(RegKey hive, std::string_view path);
  RegKey NewHandle(std::shared_ptr<Node> node, std::uint32_t access);

  std::map<RegKey, std::shared_ptr<Node>> m_hives;
  std::map<RegKey, Handle> m_handles;
  RegKey m_nextHandle = 0x100;
};

}  // namespace quelvar
