// quelvar_import_check [--setup] <exe>...: checks that a 32-bit release (or, with --setup, the
// setup program and its uninstaller) can load on Windows 95 and NT 4.0.
// Every imported function must be on the allow-list (tools/import_allowlist.cpp), every entry of
// the release's list must be imported, a function the 95 line exports only as a failing stub
// needs a note of why it is safe, and the subsystem version must be 4.0 or lower. Prints the header fields
// and the section table too, so that a change of linker or runtime shows in the log.
#include <cstdio>
#include <string_view>

#include "tools/import_allowlist.h"
#include "tools/pe_imports.h"

int main(int argc, char** argv) {
  using namespace quelvar::tools;
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s [--setup] <executable>...\n", argv[0]);
    return 2;
  }
  int first = 1;
  AllowList allowList = AllowList::kRelease;
  if (argc > 2 && std::string_view(argv[1]) == "--setup") {
    allowList = AllowList::kSetupProgram;
    first = 2;
  }
  int failures = 0;
  for (int i = first; i < argc; ++i) {
    const PeImportsResult result = ReadPeImportsFromFile(argv[i]);
    if (!result.imports) {
      std::printf("FAILED %s: %s\n", argv[i], result.error.c_str());
      ++failures;
      continue;
    }
    const PeImports& image = *result.imports;
    std::printf("%s: %s, subsystem %u version %u.%u, operating system version %u.%u\n", argv[i],
                image.is64Bit ? "PE32+" : "PE32", image.subsystem, image.subsystemVersionMajor,
                image.subsystemVersionMinor, image.osVersionMajor, image.osVersionMinor);
    std::printf("  sections:");
    for (const PeSection& section : image.sections) {
      std::printf(" %s(%#x)", section.name.c_str(), section.virtualSize);
    }
    std::printf("\n");

    std::size_t functions = 0;
    for (const ImportedDll& dll : image.dlls) functions += dll.functions.size();
    const std::vector<std::string> header = FindHeaderProblems(image);
    for (const std::string& problem : header) std::printf("  header: %s\n", problem.c_str());
    const std::vector<ImportProblem> imports = FindImportsNotAllowed(image, allowList);
    const std::vector<ImportProblem> unused =
        allowList == AllowList::kRelease ? FindListedButNotImported(image) : std::vector<ImportProblem>{};
    for (const std::vector<ImportProblem>* problems : {&imports, &unused}) {
      for (const ImportProblem& entry : *problems) {
        std::printf("  %s%s%s: %s (tests/tools/import_allowlist.cpp)\n", entry.dll.c_str(),
                    entry.function.empty() ? "" : "!", entry.function.c_str(), entry.why.c_str());
      }
    }
    const bool ok = header.empty() && imports.empty() && unused.empty();
    std::printf("%s %s: %zu functions from %zu DLLs, %zu not allowed, %zu listed but not imported "
                "(list of %zu), %zu header problems\n",
                ok ? "passed" : "FAILED", argv[i], functions, image.dlls.size(), imports.size(),
                unused.size(), AllowedImportCount(), header.size());
    if (!ok) ++failures;
  }
  return failures == 0 ? 0 : 1;
}
