// The in-memory registry: a tree of keys per hive, handles with the access they were granted.
#include "registry/memory_registry.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace quelvar {

namespace {

constexpr std::uint32_t kKeyCreateLink = 0x0020;
constexpr std::uint32_t kWriteOwner = 0x00080000;
constexpr std::uint32_t kMaximumAllowed = 0x02000000;
// What a key that may be read but not written refuses.
constexpr std::uint32_t kWriteRights = kKeySetValue | kKeyCreateSubKey | kKeyCreateLink | kWriteOwner;

unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c - 'A' + 'a');
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  return c;
}

bool IsStringType(std::uint32_t type) { return type == 1 || type == 2 || type == 7; }

// A relative key path as Windows takes it: no leading backslash, trailing ones ignored.
// An empty component ("a\\\\b") names no key that can be opened; creating skips it.
struct ParsedPath {
  RegStatus status = kRegSuccess;
  std::vector<std::string_view> parts;
  bool hasEmptyPart = false;
};

ParsedPath ParsePath(std::string_view path) {
  ParsedPath parsed;
  if (!path.empty() && path.front() == '\\') {
    parsed.status = kRegBadPathname;
    return parsed;
  }
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  while (!path.empty()) {
    const std::size_t slash = path.find('\\');
    const std::string_view part = path.substr(0, slash);
    if (part.empty()) {
      parsed.hasEmptyPart = true;
    } else {
      parsed.parts.push_back(part);
    }
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return parsed;
}

}  // namespace

bool RegistryNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

bool RegistryNameLess(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned char x = FoldCase(static_cast<unsigned char>(a[i]));
    const unsigned char y = FoldCase(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

struct MemoryRegistry::Node {
  std::string name;
  Node* parent = nullptr;
  std::vector<std::shared_ptr<Node>> subkeys;  // kept in enumeration order
  std::vector<std::pair<std::string, Value>> values;  // in creation order
  bool denyWrite = false;
  bool deleted = false;
  bool isHive = false;

  std::shared_ptr<Node> Child(std::string_view childName) const {
    const auto it = std::lower_bound(subkeys.begin(), subkeys.end(), childName,
                                     [](const std::shared_ptr<Node>& node, std::string_view n) {
                                       return RegistryNameLess(node->name, n);
                                     });
    if (it != subkeys.end() && RegistryNamesEqual((*it)->name, childName)) return *it;
    return nullptr;
  }
  std::shared_ptr<Node> AddChild(std::string_view childName) {
    auto node = std::make_shared<Node>();
    node->name = std::string(childName);
    node->parent = this;
    const auto it = std::lower_bound(subkeys.begin(), subkeys.end(), childName,
                                     [](const std::shared_ptr<Node>& n, std::string_view v) {
                                       return RegistryNameLess(n->name, v);
                                     });
    subkeys.insert(it, node);
    return node;
  }
  std::pair<std::string, Value>* FindValue(std::string_view valueName) {
    for (auto& entry : values) {
      if (RegistryNamesEqual(entry.first, valueName)) return &entry;
    }
    return nullptr;
  }
  bool Allows(std::uint32_t access) const { return !(denyWrite && (access & kWriteRights) != 0); }
  std::uint32_t MaximumAccess() const { return denyWrite ? (kKeyAllAccess & ~kWriteRights) : kKeyAllAccess; }
};

MemoryRegistry::MemoryRegistry() {
  for (RegKey hive : {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers,
                      RegKey{0x80000005u}, kHkeyDynData}) {
    auto node = std::make_shared<Node>();
    node->isHive = true;
    m_hives[hive] = std::move(node);
  }
}

MemoryRegistry::~MemoryRegistry() = default;

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Resolve(RegKey key, std::uint32_t required,
                                                              RegStatus* status) const {
  std::shared_ptr<Node> node;
  std::uint32_t granted = kKeyAllAccess;
  if (const auto hive = m_hives.find(key); hive != m_hives.end()) {
    node = hive->second;
  } else if (const auto handle = m_handles.find(key); handle != m_handles.end()) {
    node = handle->second.node;
    granted = handle->second.access;
  } else {
    *status = kRegInvalidHandle;
    return nullptr;
  }
  if (node->deleted) {
    *status = kRegKeyDeleted;
    return nullptr;
  }
  if ((granted & required) != required) {
    *status = kRegAccessDenied;
    return nullptr;
  }
  *status = kRegSuccess;
  return node;
}

RegKey MemoryRegistry::NewHandle(std::shared_ptr<Node> node, std::uint32_t access) {
  const RegKey handle = m_nextHandle;
  m_nextHandle += 4;
  m_handles[handle] = Handle{std::move(node), access};
  return handle;
}

RegStatus MemoryRegistry::CreateKeyEx(RegKey parent, const std::string& subkey,
                                      std::uint32_t access, bool, RegKey* key) {
  RegStatus status;
  std::shared_ptr<Node> node = Resolve(parent, 0, &status);
  if (!node) return status;
  const ParsedPath path = ParsePath(subkey);
  if (path.status != kRegSuccess) return path.status;
  if (path.parts.empty() && node->isHive) {
    *key = parent;
    return kRegSuccess;
  }
  for (std::string_view part : path.parts) {
    std::shared_ptr<Node> child = node->Child(part);
    if (!child) {
      if (!node->Allows(kKeyCreateSubKey)) return kRegAccessDenied;
      child = node->AddChild(part);
    }
    node = std::move(child);
  }
  if (access == kMaximumAllowed) access = node->MaximumAccess();
  if (!node->Allows(access)) return kRegAccessDenied;
  *key = NewHandle(std::move(node), access);
  return kRegSuccess;
}

RegStatus MemoryRegistry::OpenKeyEx(RegKey parent, const std::string& subkey,
                                    std::uint32_t access, RegKey* key) {
  RegStatus status;
  std::shared_ptr<Node> node = Resolve(parent, 0, &status);
  if (!node) return status;
  const ParsedPath path = ParsePath(subkey);
  if (path.status != kRegSuccess) return path.status;
  if (path.hasEmptyPart) return kRegFileNotFound;
  if (path.parts.empty() && node->isHive) {
    *key = parent;
    return kRegSuccess;
  }
  for (std::string_view part : path.parts) {
    node = node->Child(part);
    if (!node) return kRegFileNotFound;
  }
  if (access == kMaximumAllowed) access = node->MaximumAccess();
  if (!node->Allows(access)) return kRegAccessDenied;
  *key = NewHandle(std::move(node), access);
  return kRegSuccess;
}

RegStatus MemoryRegistry::OpenKey(RegKey parent, const std::string& subkey, RegKey* key) {
  if (subkey.empty()) {
    RegStatus status;
    if (!Resolve(parent, 0, &status)) return status;
    *key = parent;
    return kRegSuccess;
  }
  return OpenKeyEx(parent, subkey, kMaximumAllowed, key);
}

RegStatus MemoryRegistry::QueryValueEx(RegKey key, const std::string& name, std::uint32_t* type,
                                       std::uint8_t* data, std::uint32_t* size) {
  RegStatus status;
  const std::shared_ptr<Node> node = Resolve(key, kKeyQueryValue, &status);
  if (!node) return status;
  if (data != nullptr && size == nullptr) return kRegInvalidParameter;
  const auto* entry = node->FindValue(name);
  if (entry == nullptr) return kRegFileNotFound;
  std::vector<std::uint8_t> bytes = entry->second.data;
  // Text read through the ANSI calls always ends in a zero, even when stored without one.
  if (IsStringType(entry->second.type) && !bytes.empty() && bytes.back() != 0) bytes.push_back(0);
  if (type != nullptr) *type = entry->second.type;
  const auto needed = static_cast<std::uint32_t>(bytes.size());
  if (data != nullptr) {
    if (*size < needed) {
      *size = needed;
      return kRegMoreData;
    }
    std::copy(bytes.begin(), bytes.end(), data);
  }
  if (size != nullptr) *size = needed;
  return kRegSuccess;
}

RegStatus MemoryRegistry::SetValueEx(RegKey key, const std::string& name, std::uint32_t type,
                                     const std::uint8_t* data, std::uint32_t size) {
  RegStatus status;
  const std::shared_ptr<Node> node = Resolve(key, kKeySetValue, &status);
  if (!node) return status;
  if (data == nullptr && size != 0) return kRegInvalidParameter;
  Value value{type, std::vector<std::uint8_t>(data, data + size)};
  if (auto* entry = node->FindValue(name)) {
    entry->second = std::move(value);
  } else {
    node->values.emplace_back(name, std::move(value));
  }
  return kRegSuccess;
}

RegStatus MemoryRegistry::DeleteValue(RegKey key, const std::string& name) {
  RegStatus status;
  const std::shared_ptr<Node> node = Resolve(key, kKeySetValue, &status);
  if (!node) return status;
  const auto it = std::find_if(node->values.begin(), node->values.end(), [&](const auto& entry) {
    return RegistryNamesEqual(entry.first, name);
  });
  if (it == node->values.end()) return kRegFileNotFound;
  node->values.erase(it);
  return kRegSuccess;
}

RegStatus MemoryRegistry::DeleteKey(RegKey key, const std::string& subkey) {
  RegStatus status;
  std::shared_ptr<Node> node = Resolve(key, 0, &status);
  if (!node) return status;
  const ParsedPath path = ParsePath(subkey);
  if (path.status != kRegSuccess) return path.status;
  if (path.hasEmptyPart) return kRegFileNotFound;
  for (std::string_view part : path.parts) {
    node = node->Child(part);
    if (!node) return kRegFileNotFound;
  }
  // A hive cannot go, and neither can a key that still has subkeys.
  if (node->isHive || !node->subkeys.empty()) return kRegAccessDenied;
  Node* parent = node->parent;
  node->deleted = true;
  node->parent = nullptr;
  parent->subkeys.erase(std::find(parent->subkeys.begin(), parent->subkeys.end(), node));
  return kRegSuccess;
}

RegStatus MemoryRegistry::EnumKeyEx(RegKey key, std::uint32_t index, char* name,
                                    std::uint32_t* nameLength) {
  RegStatus status;
  const std::shared_ptr<Node> node = Resolve(key, kKeyEnumerateSubKeys, &status);
  if (!node) return status;
  if (index >= node->subkeys.size()) return kRegNoMoreItems;
  const std::string& found = node->subkeys[index]->name;
  if (name == nullptr || nameLength == nullptr) return kRegInvalidParameter;
  if (*nameLength <= found.size()) return kRegMoreData;
  std::memcpy(name, found.c_str(), found.size() + 1);
  *nameLength = static_cast<std::uint32_t>(found.size());
  return kRegSuccess;
}

RegStatus MemoryRegistry::EnumKey(RegKey key, std::uint32_t index, char* name,
                                  std::uint32_t bufferLength) {
  std::uint32_t length = bufferLength;
  return EnumKeyEx(key, index, name, &length);
}

RegStatus MemoryRegistry::CloseKey(RegKey key) {
  if (m_hives.count(key) != 0) return kRegSuccess;
  return m_handles.erase(key) != 0 ? kRegSuccess : kRegInvalidHandle;
}

// --- Setting up and inspecting ---

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::FindPath(RegKey hive,
                                                               std::string_view path) const {
  const auto root = m_hives.find(hive);
  if (root == m_hives.end()) return nullptr;
  const ParsedPath parsed = ParsePath(path);
  if (parsed.status != kRegSuccess || parsed.hasEmptyPart) return nullptr;
  std::shared_ptr<Node> node = root->second;
  for (std::string_view part : parsed.parts) {
    node = node->Child(part);
    if (!node) return nullptr;
  }
  return node;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::MakePath(RegKey hive,
                                                               std::string_view path) {
  const auto root = m_hives.find(hive);
  if (root == m_hives.end()) throw std::invalid_argument("not a predefined registry root");
  std::shared_ptr<Node> node = root->second;
  for (std::string_view part : ParsePath(path).parts) {
    std::shared_ptr<Node> child = node->Child(part);
    node = child ? std::move(child) : node->AddChild(part);
  }
  return node;
}

void MemoryRegistry::Put(RegKey hive, std::string_view path, std::string_view name, Value value) {
  const std::shared_ptr<Node> node = MakePath(hive, path);
  if (auto* entry = node->FindValue(name)) {
    entry->second = std::move(value);
  } else {
    node->values.emplace_back(std::string(name), std::move(value));
  }
}

void MemoryRegistry::PutText(RegKey hive, std::string_view path, std::string_view name,
                             std::string_view text) {
  Value value{kRegSz, std::vector<std::uint8_t>(text.begin(), text.end())};
  value.data.push_back(0);
  Put(hive, path, name, std::move(value));
}

void MemoryRegistry::PutDword(RegKey hive, std::string_view path, std::string_view name,
                              std::uint32_t number) {
  Put(hive, path, name,
      Value{kRegDword,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}});
}

void MemoryRegistry::CreatePath(RegKey hive, std::string_view path) { MakePath(hive, path); }

std::optional<MemoryRegistry::Value> MemoryRegistry::Get(RegKey hive, std::string_view path,
                                                         std::string_view name) const {
  const std::shared_ptr<Node> node = FindPath(hive, path);
  if (!node) return std::nullopt;
  const auto* entry = node->FindValue(name);
  if (entry == nullptr) return std::nullopt;
  return entry->second;
}

std::optional<std::string> MemoryRegistry::GetText(RegKey hive, std::string_view path,
                                                   std::string_view name) const {
  const std::optional<Value> value = Get(hive, path, name);
  if (!value || value->type != kRegSz) return std::nullopt;
  std::string text(value->data.begin(), value->data.end());
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

std::optional<std::uint32_t> MemoryRegistry::GetDword(RegKey hive, std::string_view path,
                                                      std::string_view name) const {
  const std::optional<Value> value = Get(hive, path, name);
  if (!value || value->type != kRegDword || value->data.size() != 4) return std::nullopt;
  return static_cast<std::uint32_t>(value->data[0]) |
         static_cast<std::uint32_t>(value->data[1]) << 8 |
         static_cast<std::uint32_t>(value->data[2]) << 16 |
         static_cast<std::uint32_t>(value->data[3]) << 24;
}

bool MemoryRegistry::KeyExists(RegKey hive, std::string_view path) const {
  return FindPath(hive, path) != nullptr;
}

std::vector<std::string> MemoryRegistry::ValueNames(RegKey hive, std::string_view path) const {
  std::vector<std::string> names;
  if (const std::shared_ptr<Node> node = FindPath(hive, path)) {
    for (const auto& entry : node->values) names.push_back(entry.first);
  }
  return names;
}

std::vector<std::string> MemoryRegistry::SubkeyNames(RegKey hive, std::string_view path) const {
  std::vector<std::string> names;
  if (const std::shared_ptr<Node> node = FindPath(hive, path)) {
    for (const auto& child : node->subkeys) names.push_back(child->name);
  }
  return names;
}

void MemoryRegistry::DenyWrite(RegKey hive, std::string_view path, bool deny) {
  MakePath(hive, path)->denyWrite = deny;
}

}  // namespace quelvar
