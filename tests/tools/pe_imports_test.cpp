// The import reader against small hand-made images (32- and 64-bit), the allow-list's
// matching and header rules, and damaged files, which must give an error and never read out of bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tools/pe_imports.h"
#include "tools/import_allowlist.h"

namespace quelvar::tools {
namespace {

// One section at RVA 0x1000 (file offset 0x200) holding one import descriptor for
// "KERNEL32.dll" with GetTickCount64, GetVersionExA and ordinal 7.
struct TestImage {
  std::vector<std::uint8_t> bytes;
  std::size_t lastUsedByte = 0;
};

void Put(std::vector<std::uint8_t>& image, std::size_t at, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) image[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

TestImage MakeImage(bool is64Bit) {
  std::vector<std::uint8_t> image(0x400, 0);
  image[0] = 'M';
  image[1] = 'Z';
  Put(image, 0x3C, 0x40, 4);
  std::memcpy(&image[0x40], "PE\0\0", 4);
  const std::size_t optionalSize = is64Bit ? 240 : 224;
  Put(image, 0x44, is64Bit ? 0x8664 : 0x14C, 2);
  Put(image, 0x46, 1, 2);
  Put(image, 0x54, optionalSize, 2);
  const std::size_t optional = 0x58;
  Put(image, optional, is64Bit ? 0x20B : 0x10B, 2);
  Put(image, optional + (is64Bit ? 108 : 92), 16, 4);
  Put(image, optional + (is64Bit ? 112 : 96) + 8, 0x1000, 4);  // import directory RVA
  Put(image, optional + (is64Bit ? 112 : 96) + 12, 40, 4);
  const std::size_t section = optional + optionalSize;
  std::memcpy(&image[section], ".idata\0", 8);
  Put(image, section + 8, 0x1000, 4);   // virtual size
  Put(image, section + 12, 0x1000, 4);  // virtual address
  Put(image, section + 16, 0x200, 4);   // raw size
  Put(image, section + 20, 0x200, 4);   // raw offset

  auto file = [](std::uint32_t rva) { return static_cast<std::size_t>(rva - 0x1000 + 0x200); };
  Put(image, file(0x1000), 0x1040, 4);  // name table
  Put(image, file(0x100C), 0x1080, 4);  // DLL name
  Put(image, file(0x1010), 0x1060, 4);  // address table
  const int thunk = is64Bit ? 8 : 4;
  const std::uint64_t ordinal = is64Bit ? (1ull << 63) | 7 : (1ull << 31) | 7;
  for (std::uint32_t table : {0x1040u, 0x1060u}) {
    Put(image, file(table), 0x10A0, thunk);
    Put(image, file(table) + static_cast<std::size_t>(thunk), 0x10C0, thunk);
    Put(image, file(table) + 2 * static_cast<std::size_t>(thunk), ordinal, thunk);
  }
  std::strcpy(reinterpret_cast<char*>(&image[file(0x1080)]), "KERNEL32.dll");
  std::strcpy(reinterpret_cast<char*>(&image[file(0x10A2)]), "GetTickCount64");
  std::strcpy(reinterpret_cast<char*>(&image[file(0x10C2)]), "GetVersionExA");
  return {image, file(0x10C2) + std::strlen("GetVersionExA")};
}

class PeImportsTest : public ::testing::TestWithParam<bool> {};

TEST_P(PeImportsTest, ReadsFunctionsByNameAndOrdinal) {
  const TestImage image = MakeImage(GetParam());
  const PeImportsResult result = ReadPeImports(image.bytes);
  ASSERT_TRUE(result.imports) << result.error;
  EXPECT_EQ(result.imports->is64Bit, GetParam());
  ASSERT_EQ(result.imports->dlls.size(), 1u);
  EXPECT_EQ(result.imports->dlls[0].name, "KERNEL32.dll");
  EXPECT_EQ(result.imports->dlls[0].functions, (std::vector<std::string>{"GetTickCount64", "GetVersionExA", "#7"}));
}

TEST_P(PeImportsTest, EveryTruncationIsAnErrorNotACrash) {
  const TestImage image = MakeImage(GetParam());
  for (std::size_t length = 0; length <= image.lastUsedByte; ++length) {
    const std::vector<std::uint8_t> cut(image.bytes.begin(), image.bytes.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_FALSE(ReadPeImports(cut).imports) << "cut at " << length;
  }
}

TEST_P(PeImportsTest, NamesPointingOutsideEverySectionAreErrors) {
  for (std::size_t field : {0x20Cu, 0x240u}) {  // the DLL name RVA, then the first thunk
    TestImage image = MakeImage(GetParam());
    Put(image.bytes, field, 0x9000, 4);
    EXPECT_FALSE(ReadPeImports(image.bytes).imports) << "field at " << field;
  }
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, PeImportsTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Pe32Plus" : "Pe32");
                         });

TEST(ImportAllowlistTest, FlagsFunctionsAndDllsOffTheListInTheirOwnDll) {
  PeImports imports;
  imports.dlls = {{"KERNEL32.dll", {"GetTickCount64", "GetVersionExA", "InitOnceExecuteOnce", "#7"}},
                  {"USER32.dll", {"GetTickCount64", "TrackMouseEvent", "CreateWindowExA"}},
                  {"COMCTL32.DLL", {"InitCommonControls", "InitCommonControlsEx", "_TrackMouseEvent"}},
                  {"msvcrt.dll", {"malloc", "_fstat64"}},
                  {"ADVAPI32.DLL", {"RegOpenKeyExA", "RegGetValueA"}},
                  {"iphlpapi.dll", {"IcmpSendEcho"}}};
  std::vector<std::string> names;
  for (const ImportProblem& entry : FindImportsNotAllowed(imports)) names.push_back(entry.dll + "!" + entry.function);
  EXPECT_EQ(names, (std::vector<std::string>{
                       "KERNEL32.dll!GetTickCount64", "KERNEL32.dll!InitOnceExecuteOnce", "KERNEL32.dll!#7",
                       "USER32.dll!GetTickCount64", "USER32.dll!TrackMouseEvent", "COMCTL32.DLL!InitCommonControlsEx",
                       "COMCTL32.DLL!_TrackMouseEvent", "msvcrt.dll!_fstat64", "ADVAPI32.DLL!RegGetValueA",
                       "iphlpapi.dll!"}));
  // The setup program's list adds the stub's own needs (ole32 among them), nothing newer.
  PeImports setup;
  setup.dlls = {{"ole32.dll", {"OleInitialize", "CoCreateInstanceEx"}},
                {"KERNEL32.dll", {"MoveFileExA", "GetDiskFreeSpaceExA"}}};
  names.clear();
  for (const ImportProblem& entry : FindImportsNotAllowed(setup, AllowList::kSetupProgram)) {
    names.push_back(entry.dll + "!" + entry.function);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"ole32.dll!CoCreateInstanceEx",
                                             "KERNEL32.dll!GetDiskFreeSpaceExA"}));
  // Against Quelvar's own list: ole32 whole, both kernel32 functions, and MoveFileExA once more
  // as a failing stub on 95 with no note.
  EXPECT_EQ(FindImportsNotAllowed(setup).size(), 4u);
}

// A function the 95 line exports only as a failing stub passes with a note naming its caller and
// why it is safe, and fails without one; the wide functions 95 implements need none.
TEST(ImportAllowlistTest, StubsOnWindows95PassOnlyWithANoteOfCallerAndReason) {
  struct Case {
    const char* dll;
    const char* function;
    StubNote note;
    bool passes;
  };
  constexpr StubSafety kNever = StubSafety::kNeverReached;
  const StubNote none{};
  for (const Case& c : {
           Case{"KERNEL32.dll", "CreateSemaphoreW", none, false},
           Case{"KERNEL32.dll", "CreateSemaphoreW", {"kernel32.dll", "CreateSemaphoreW", kNever, "the locks", "unused"}, true},
           Case{"KERNEL32.dll", "CreateSemaphoreW", {"kernel32.dll", "CreateSemaphoreW", kNever, "", "unused"}, false},
           Case{"KERNEL32.dll", "CreateSemaphoreW", {"kernel32.dll", "CreateSemaphoreW", kNever, "the locks", ""}, false},
           Case{"KERNEL32.dll", "CreateSemaphoreW", {"kernel32.dll", "CreateSemaphoreW", StubSafety::kNone, "the locks", "unused"}, false},
           Case{"USER32.dll", "CreateSemaphoreW", {"kernel32.dll", "CreateSemaphoreW", kNever, "the locks", "unused"}, false},
           Case{"GDI32.dll", "GetTextExtentExPointW", none, false},
           Case{"KERNEL32.dll", "MoveFileExA", none, false},
           Case{"ADVAPI32.dll", "OpenProcessToken", none, false},
           Case{"KERNEL32.dll", "lstrlenW", none, true},
           Case{"GDI32.dll", "GetTextExtentPoint32W", none, true},
           Case{"USER32.dll", "ShowWindow", none, true},
           Case{"msvcrt.dll", "wcslen", none, true},
       }) {
    PeImports imports;
    imports.dlls = {{c.dll, {c.function}}};
    EXPECT_EQ(FindUnexplainedStubs(imports, {c.note}).empty(), c.passes)
        << c.dll << "!" << c.function << " with a note for " << c.note.dll << "!" << c.note.function;
  }
}

// The list is what the program imports: an entry the image lacks is reported, one it has is not.
TEST(ImportAllowlistTest, EntriesTheImageDoesNotImportAreReported) {
  PeImports imports;
  imports.dlls = {{"KERNEL32.dll", {"GetVersionExA"}}};
  std::vector<std::string> names;
  for (const ImportProblem& entry : FindListedButNotImported(imports)) names.push_back(entry.dll + "!" + entry.function);
  EXPECT_NE(std::find(names.begin(), names.end(), "kernel32.dll!CloseHandle"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "user32.dll!CreateWindowExA"), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), "kernel32.dll!GetVersionExA"), names.end());
}

TEST(ImportAllowlistTest, SubsystemVersionAboveFourIsAHeaderProblem) {
  struct Case {
    std::uint16_t major, minor;
    bool is64Bit;
    std::size_t problems;
  };
  for (const Case& c : {Case{4, 0, false, 0}, Case{3, 10, false, 0}, Case{4, 10, false, 1}, Case{5, 1, false, 1},
                        Case{4, 0, true, 1}}) {
    PeImports imports;
    imports.subsystemVersionMajor = c.major;
    imports.subsystemVersionMinor = c.minor;
    imports.is64Bit = c.is64Bit;
    EXPECT_EQ(FindHeaderProblems(imports).size(), c.problems) << c.major << "." << c.minor;
  }
}

TEST(PeHeaderTest, ReadsSubsystemVersionAndSections) {
  TestImage image = MakeImage(false);
  Put(image.bytes, 0x58 + 48, 4, 2);
  Put(image.bytes, 0x58 + 50, 10, 2);
  Put(image.bytes, 0x58 + 68, 2, 2);
  const PeImportsResult result = ReadPeImports(image.bytes);
  ASSERT_TRUE(result.imports) << result.error;
  EXPECT_EQ(result.imports->subsystemVersionMajor, 4);
  EXPECT_EQ(result.imports->subsystemVersionMinor, 10);
  EXPECT_EQ(result.imports->subsystem, 2);
  ASSERT_EQ(result.imports->sections.size(), 1u);
  EXPECT_EQ(result.imports->sections[0].name, ".idata");
  EXPECT_EQ(result.imports->sections[0].virtualSize, 0x1000u);
}

}  // namespace
}  // namespace quelvar::tools
