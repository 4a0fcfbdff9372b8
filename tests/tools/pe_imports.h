// Reads the import table of a Windows executable (PE32 or PE32+) without any Windows API,
// so the 32-bit release can be checked on the build machine.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quelvar::tools {

struct ImportedDll {
  std::string name;                    // as written in the file ("KERNEL32.dll")
  std::vector<std::string> functions;  // by name; an import by ordinal reads "#<ordinal>"
};

// One entry of the section table.
struct PeSection {
  std::string name;  // up to 8 characters, or "/<offset>" for a long name kept in the string table
  std::uint32_t virtualSize = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t characteristics = 0;
};

struct PeImports {
  bool is64Bit = false;
  std::vector<ImportedDll> dlls;
  // The optional header's version fields that old loaders compare with their own version.
  std::uint16_t osVersionMajor = 0, osVersionMinor = 0;
  std::uint16_t subsystemVersionMajor = 0, subsystemVersionMinor = 0;
  std::uint16_t subsystem = 0;  // 2 = Windows GUI, 3 = console
  std::vector<PeSection> sections;
};

// The imports of an image held in memory; an error text when it is not a well-formed PE image.
struct PeImportsResult {
  std::optional<PeImports> imports;
  std::string error;
};
PeImportsResult ReadPeImports(const std::vector<std::uint8_t>& image);
PeImportsResult ReadPeImportsFromFile(const std::string& path);

}  // namespace quelvar::tools
