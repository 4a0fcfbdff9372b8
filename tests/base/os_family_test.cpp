// The version decision: every platform id, the 95 line's minor versions, the NT line's
// major/minor combinations, and a failed query.
#include <gtest/gtest.h>

#include "base/os_family.h"

namespace quelvar {
namespace {

struct VersionCase {
  std::uint32_t platform, major, minor;
  std::int16_t expectedFamily;
};

class OsFamilyTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(OsFamilyTest, ClassifiesIntoItsFamily) {
  const VersionCase& c = GetParam();
  WindowsVersionRecord record;
  record.platformId = c.platform;
  record.majorVersion = c.major;
  record.minorVersion = c.minor;
  setOsFamily(record);
  EXPECT_EQ(OsFamily, c.expectedFamily)
      << "platform " << c.platform << " version " << c.major << "." << c.minor;
  EXPECT_EQ(GetWindowsVersion(record), c.expectedFamily - 1);
}

INSTANTIATE_TEST_SUITE_P(
    EveryRow, OsFamilyTest,
    ::testing::Values(
        // Platform 1 decides by minor version alone; the major version is never looked at.
        VersionCase{1, 4, 0, 2}, VersionCase{1, 4, 10, 3}, VersionCase{1, 4, 90, 4},
        VersionCase{1, 9, 10, 3}, VersionCase{1, 4, 20, 1}, VersionCase{1, 4, 1, 1},
        // Platform 2: below 5 is NT whatever the minor; 5.0, 5.1; 5.2 and 6+ unrecognised.
        VersionCase{2, 3, 51, 5}, VersionCase{2, 4, 0, 5}, VersionCase{2, 4, 90, 5},
        VersionCase{2, 5, 0, 6}, VersionCase{2, 5, 1, 7}, VersionCase{2, 5, 2, 1},
        VersionCase{2, 6, 0, 1}, VersionCase{2, 6, 1, 1}, VersionCase{2, 10, 0, 1},
        // Platform 0 (the 16-bit host layer), 3 (CE), and a failed query (all zero).
        VersionCase{0, 3, 10, 1}, VersionCase{3, 4, 0, 1}, VersionCase{0, 0, 0, 1}));

TEST(OsFamilyLines, SplitIntoTheTwoLines) {
  for (int family = 1; family <= 4; ++family) {
    EXPECT_TRUE(IsNineFiveLine(family));
    EXPECT_FALSE(IsNtLine(family));
  }
  for (int family = 5; family <= 7; ++family) {
    EXPECT_TRUE(IsNtLine(family));
    EXPECT_FALSE(IsNineFiveLine(family));
  }
  EXPECT_FALSE(IsNineFiveLine(0) || IsNtLine(0) || IsNineFiveLine(8) || IsNtLine(8));
}

TEST(OsFamilyLines, WindowsNtIsThePlatformIdAlone) {
  WindowsVersionRecord record;
  record.platformId = 2;
  record.majorVersion = 6;
  EXPECT_TRUE(IsWindowsNT(record));
  record.platformId = 1;
  EXPECT_FALSE(IsWindowsNT(record));
}

}  // namespace
}  // namespace quelvar
