// Functions the 32-bit release must not import because Windows XP (the newest system it is
// built for) lacks them, by DLL, with the first Windows version that has each one.
// A function newer than the oldest supported Windows is loaded at run time with a fallback.
#pragma once
#include <string>
#include <vector>

#include "tools/pe_imports.h"

namespace quelvar::tools {

struct TooNewImport {
  std::string dll;
  std::string function;
  std::string firstWindows;  // "Vista", "7", ...
};

// Every import of the image that Windows XP lacks (DLL names compare case-insensitively).
std::vector<TooNewImport> FindImportsXpLacks(const PeImports& imports);

// How many DLL/function pairs the rule table lists.
std::size_t XpRuleCount();

}  // namespace quelvar::tools
