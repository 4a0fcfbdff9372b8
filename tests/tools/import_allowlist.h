// The functions the 32-bit release may import: those Windows 95 and NT 4.0 both export, per
// DLL, and exactly those the program imports. Anything else must be loaded at run time
// (src/base/win32/optional_api.h) or reviewed and added here. A function that the 95 line
// exports only as a stub that fails passes only with a note of why the program is safe.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "tools/pe_imports.h"

namespace quelvar::tools {

struct ImportProblem {
  std::string dll;
  std::string function;  // empty when the whole DLL is not on the list
  std::string why;       // what is wrong, in a few words
};

// Quelvar.exe's list, or that list with what the setup program's stub needs besides.
enum class AllowList { kRelease, kSetupProgram };

// Every import of the image that the list lacks (DLL names compare case-insensitively,
// function names exactly; imports by ordinal are never allowed), and every import that is a
// stub on Windows 95 without a note of why it is safe (FindUnexplainedStubs with the list's
// own notes; Quelvar.exe's list only).
std::vector<ImportProblem> FindImportsNotAllowed(const PeImports& imports,
                                                 AllowList allowList = AllowList::kRelease);

// Every entry of the list that the image does not import: the list holds the program's needs.
std::vector<ImportProblem> FindListedButNotImported(const PeImports& imports);

// True for a function that the 95 line exports only as a stub that fails (answering
// ERROR_CALL_NOT_IMPLEMENTED or doing nothing): the wide-character ("...W") functions of the
// system DLLs outside the short list 95 implements, and the few others met so far.
bool IsStubOnWindows95(std::string_view dll, std::string_view function);

// Why the program may import such a stub: no code path reaches it, or the code that calls it
// handles its failure. A note counts only with the caller and the reason written out.
enum class StubSafety { kNone, kNeverReached, kFailureHandled };
struct StubNote {
  std::string_view dll;
  std::string_view function;
  StubSafety safety = StubSafety::kNone;
  std::string_view caller;  // the code that calls it
  std::string_view why;     // why that is safe
};

// The stub rule alone: every import that IsStubOnWindows95 names and no complete note covers.
std::vector<ImportProblem> FindUnexplainedStubs(const PeImports& imports, const std::vector<StubNote>& notes);

// Problems with the header fields the old loaders read: a subsystem version above 4.0 (Windows
// 95 and NT 4 refuse the image), a machine other than PE32.
std::vector<std::string> FindHeaderProblems(const PeImports& imports);

// How many DLL/function pairs the list holds.
std::size_t AllowedImportCount();

}  // namespace quelvar::tools
