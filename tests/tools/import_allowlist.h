// The functions the 32-bit release may import: those Windows 95 and NT 4.0 both export, per
// DLL, limited to what the program uses or is about to use. Anything else must be loaded at run
// time (src/base/win32/optional_api.h) or reviewed and added here.
#pragma once
#include <string>
#include <vector>

#include "tools/pe_imports.h"

namespace quelvar::tools {

struct ImportProblem {
  std::string dll;
  std::string function;  // empty when the whole DLL is not on the list
};

// Quelvar.exe's list, or that list with what the setup program's stub needs besides.
enum class AllowList { kRelease, kSetupProgram };

// Every import of the image that the list lacks (DLL names compare case-insensitively,
// function names exactly; imports by ordinal are never allowed).
std::vector<ImportProblem> FindImportsNotAllowed(const PeImports& imports,
                                                 AllowList allowList = AllowList::kRelease);

// Problems with the header fields the old loaders read: a subsystem version above 4.0 (Windows
// 95 and NT 4 refuse the image), a machine other than PE32.
std::vector<std::string> FindHeaderProblems(const PeImports& imports);

// How many DLL/function pairs the list holds.
std::size_t AllowedImportCount();

}  // namespace quelvar::tools
