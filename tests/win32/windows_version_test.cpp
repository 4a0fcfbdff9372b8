// The version classification against the versions Wine can report: the probe runs the real
// GetVersionExA query and setOsFamily, and exits with the code a backup file would store.
#include <gtest/gtest.h>

#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

struct VersionCase {
  const char* wineVersion;  // "" is Wine's default (a newer NT)
  int osFamily;
  bool windowsNt;
};

void PrintTo(const VersionCase& row, std::ostream* out) {
  *out << (*row.wineVersion ? row.wineVersion : "default");
}

class WindowsVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(WindowsVersionTest, ProbeClassifiesWineVersion) {
  const VersionCase& row = GetParam();
  const std::string probe = ToWinePath(QUELVAR_OS_FAMILY_PROBE_PATH);
  ScopedWineVersion version(FileNameOf(probe), row.wineVersion);
  ASSERT_TRUE(version.Ok());

  Process process = Process::Start(probe);
  ASSERT_TRUE(process.Started()) << "CreateProcess error " << process.StartError();
  ASSERT_TRUE(process.WaitForExit(Milliseconds{15000}));
  const DWORD code = process.ExitCode();
  EXPECT_EQ(static_cast<int>(code % 100), row.osFamily);
  EXPECT_EQ(code >= 100, row.windowsNt);
}

INSTANTIATE_TEST_SUITE_P(Versions, WindowsVersionTest,
                         ::testing::Values(VersionCase{"win95", 2, false}, VersionCase{"win98", 3, false},
                                           VersionCase{"winme", 4, false}, VersionCase{"nt40", 5, true},
                                           VersionCase{"win2k", 6, true}, VersionCase{"winxp", 7, true},
                                           VersionCase{"", 1, true}),
                         [](const ::testing::TestParamInfo<VersionCase>& info) {
                           return std::string(*info.param.wineVersion ? info.param.wineVersion : "default");
                         });

}  // namespace
}  // namespace quelvar
