// The PE import directory walk: headers, section table (to turn RVAs into file offsets),
// import descriptors and their name thunks. Every read is bounds-checked.
#include "tools/pe_imports.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace quelvar::tools {

namespace {

class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& image) : m_image(image) {}

  bool Has(std::uint64_t offset, std::uint64_t size) const {
    return offset <= m_image.size() && size <= m_image.size() - offset;
  }
  std::uint64_t Le(std::uint64_t offset, int bytes) const {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | m_image[offset + static_cast<std::uint64_t>(i)];
    return value;
  }
  // A NUL-terminated string at offset, or nullopt when it runs off the image.
  std::optional<std::string> Text(std::uint64_t offset) const {
    std::string text;
    for (std::uint64_t at = offset; at < m_image.size(); ++at) {
      if (m_image[at] == 0) return text;
      text += static_cast<char>(m_image[at]);
    }
    return std::nullopt;
  }

 private:
  const std::vector<std::uint8_t>& m_image;
};

struct Section {
  std::uint32_t virtualAddress;
  std::uint32_t virtualSize;
  std::uint32_t rawOffset;
  std::uint32_t rawSize;
};

std::optional<std::uint64_t> RvaToOffset(const std::vector<Section>& sections, std::uint64_t rva) {
  for (const Section& s : sections) {
    const std::uint64_t span = std::max(s.virtualSize, s.rawSize);
    if (rva >= s.virtualAddress && rva < s.virtualAddress + span) {
      const std::uint64_t inside = rva - s.virtualAddress;
      if (inside >= s.rawSize) return std::nullopt;
      return s.rawOffset + inside;
    }
  }
  return std::nullopt;
}

PeImportsResult Fail(std::string error) { return {std::nullopt, std::move(error)}; }

}  // namespace

PeImportsResult ReadPeImports(const std::vector<std::uint8_t>& image) {
  const Reader in(image);
  if (!in.Has(0, 0x40) || in.Le(0, 2) != 0x5A4D) return Fail("no MZ header");
  const std::uint64_t pe = in.Le(0x3C, 4);
  if (!in.Has(pe, 24) || in.Le(pe, 4) != 0x00004550) return Fail("no PE signature");
  const auto sectionCount = in.Le(pe + 6, 2);
  const auto optionalSize = in.Le(pe + 20, 2);
  const std::uint64_t optional = pe + 24;
  if (!in.Has(optional, optionalSize) || optionalSize < 2) return Fail("optional header truncated");

  PeImports result;
  const auto magic = in.Le(optional, 2);
  if (magic == 0x20B) {
    result.is64Bit = true;
  } else if (magic != 0x10B) {
    return Fail("unknown optional header magic");
  }
  if (optionalSize >= 70) {
    result.osVersionMajor = static_cast<std::uint16_t>(in.Le(optional + 40, 2));
    result.osVersionMinor = static_cast<std::uint16_t>(in.Le(optional + 42, 2));
    result.subsystemVersionMajor = static_cast<std::uint16_t>(in.Le(optional + 48, 2));
    result.subsystemVersionMinor = static_cast<std::uint16_t>(in.Le(optional + 50, 2));
    result.subsystem = static_cast<std::uint16_t>(in.Le(optional + 68, 2));
  }
  const std::uint64_t directories = optional + (result.is64Bit ? 112 : 96);
  const std::uint64_t directoryCountAt = optional + (result.is64Bit ? 108 : 92);
  if (directoryCountAt + 4 > optional + optionalSize || in.Le(directoryCountAt, 4) < 2 ||
      directories + 16 > optional + optionalSize) {
    return Fail("no import directory entry");
  }
  const std::uint64_t importRva = in.Le(directories + 8, 4);

  std::vector<Section> sections;
  const std::uint64_t table = optional + optionalSize;
  if (!in.Has(table, sectionCount * 40)) return Fail("section table truncated");
  for (std::uint64_t i = 0; i < sectionCount; ++i) {
    const std::uint64_t at = table + i * 40;
    sections.push_back({static_cast<std::uint32_t>(in.Le(at + 12, 4)), static_cast<std::uint32_t>(in.Le(at + 8, 4)),
                        static_cast<std::uint32_t>(in.Le(at + 20, 4)), static_cast<std::uint32_t>(in.Le(at + 16, 4))});
    PeSection listed;
    for (std::uint64_t c = 0; c < 8 && image[at + c] != 0; ++c) listed.name += static_cast<char>(image[at + c]);
    if (listed.name.size() > 1 && listed.name[0] == '/') {
      // A long name (the linker's debug sections): an offset into the string table that
      // follows the symbol table.
      const std::uint64_t strings = in.Le(pe + 12, 4) + in.Le(pe + 16, 4) * 18;
      const auto longName = in.Text(strings + std::strtoull(listed.name.c_str() + 1, nullptr, 10));
      if (in.Le(pe + 12, 4) != 0 && longName) listed.name = *longName;
    }
    listed.virtualSize = sections.back().virtualSize;
    listed.rawSize = sections.back().rawSize;
    listed.characteristics = static_cast<std::uint32_t>(in.Le(at + 36, 4));
    result.sections.push_back(std::move(listed));
  }
  if (importRva == 0) return {result, {}};

  auto descriptor = RvaToOffset(sections, importRva);
  if (!descriptor) return Fail("import directory outside every section");
  const int thunkSize = result.is64Bit ? 8 : 4;
  const std::uint64_t ordinalFlag = result.is64Bit ? (1ull << 63) : (1ull << 31);
  for (std::uint64_t d = *descriptor;; d += 20) {
    if (!in.Has(d, 20)) return Fail("import descriptors truncated");
    const std::uint64_t nameTable = in.Le(d, 4);
    const std::uint64_t nameRva = in.Le(d + 12, 4);
    const std::uint64_t addressTable = in.Le(d + 16, 4);
    if (nameTable == 0 && nameRva == 0 && addressTable == 0) break;  // the closing null descriptor

    ImportedDll dll;
    const auto nameAt = RvaToOffset(sections, nameRva);
    const auto name = nameAt ? in.Text(*nameAt) : std::nullopt;
    if (!name) return Fail("DLL name outside the image");
    dll.name = *name;

    const auto thunks = RvaToOffset(sections, nameTable != 0 ? nameTable : addressTable);
    if (!thunks) return Fail("thunks of " + dll.name + " outside the image");
    for (std::uint64_t t = *thunks;; t += static_cast<std::uint64_t>(thunkSize)) {
      if (!in.Has(t, static_cast<std::uint64_t>(thunkSize))) return Fail("thunks of " + dll.name + " truncated");
      const std::uint64_t thunk = in.Le(t, thunkSize);
      if (thunk == 0) break;
      if (thunk & ordinalFlag) {
        dll.functions.push_back("#" + std::to_string(thunk & 0xFFFF));
        continue;
      }
      const auto hintAt = RvaToOffset(sections, thunk & 0x7FFFFFFF);
      const auto function = hintAt ? in.Text(*hintAt + 2) : std::nullopt;
      if (!function) return Fail("function name of " + dll.name + " outside the image");
      dll.functions.push_back(*function);
    }
    result.dlls.push_back(std::move(dll));
  }
  return {result, {}};
}

PeImportsResult ReadPeImportsFromFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return Fail("cannot open " + path);
  const std::vector<std::uint8_t> image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return ReadPeImports(image);
}

}  // namespace quelvar::tools
