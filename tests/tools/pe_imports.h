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

struct PeImports {
  bool is64Bit = false;
  std::vector<ImportedDll> dlls;
};

// The imports of an image held in memory; an error text when it is not a well-formed PE image.
struct PeImportsResult {
  std::optional<PeImports> imports;
  std::string error;
};
PeImportsResult ReadPeImports(const std::vector<std::uint8_t>& image);
PeImportsResult ReadPeImportsFromFile(const std::string& path);

}  // namespace quelvar::tools
