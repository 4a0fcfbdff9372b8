// quelvar_import_check <exe>...: lists each executable's imports and fails when one of them
// is a function Windows XP lacks (the 32-bit release must start on Windows 95 to XP).
#include <cstdio>

#include "tools/pe_imports.h"
#include "tools/xp_import_rules.h"

int main(int argc, char** argv) {
  using namespace quelvar::tools;
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <executable>...\n", argv[0]);
    return 2;
  }
  int failures = 0;
  for (int i = 1; i < argc; ++i) {
    const PeImportsResult result = ReadPeImportsFromFile(argv[i]);
    if (!result.imports) {
      std::printf("FAILED %s: %s\n", argv[i], result.error.c_str());
      ++failures;
      continue;
    }
    std::size_t functions = 0;
    for (const ImportedDll& dll : result.imports->dlls) functions += dll.functions.size();
    const std::vector<TooNewImport> tooNew = FindImportsXpLacks(*result.imports);
    for (const TooNewImport& entry : tooNew) {
      std::printf("  %s!%s needs Windows %s\n", entry.dll.c_str(), entry.function.c_str(), entry.firstWindows.c_str());
    }
    std::printf("%s %s: %zu functions from %zu DLLs (%s), %zu newer than Windows XP (of %zu checked)\n",
                tooNew.empty() ? "passed" : "FAILED", argv[i], functions, result.imports->dlls.size(),
                result.imports->is64Bit ? "PE32+" : "PE32", tooNew.size(), XpRuleCount());
    if (!tooNew.empty()) ++failures;
  }
  return failures == 0 ? 0 : 1;
}
