// DLL versions to features: the thresholds of the common controls and the shell, and where the
// still-running notice falls back to the notice box.
#include <gtest/gtest.h>

#include "base/system_features.h"

namespace quelvar {
namespace {

TEST(SystemFeatures, CommonControlsThresholds) {
  struct Case {
    unsigned version;
    bool initEx;
  };
  // 400: Windows 95 and NT 4 as shipped; 470: Internet Explorer 3; 471/472: IE 4 and Windows 98;
  // 580: IE 5, Windows 2000 and ME; 600: XP's visual styles.
  for (const Case& c : {Case{0, false}, Case{400, false}, Case{469, false}, Case{470, true},
                        Case{471, true}, Case{580, true}, Case{600, true}}) {
    SCOPED_TRACE(c.version);
    const CommonControlsFeatures features = CommonControlsFeaturesFor(c.version);
    EXPECT_EQ(features.initCommonControlsEx, c.initEx);
    EXPECT_EQ(features.extendedListStyles, c.initEx);
  }
}

TEST(SystemFeatures, ShellBeforeFiveTakesTheFirstRecordAndNeverABalloon) {
  struct Case {
    int osFamily;
    unsigned shell;
    bool v2, noticeBox;
  };
  for (const Case& c : {Case{5, 400, false, true},   // NT 4 as shipped
                        Case{5, 471, false, true},   // NT 4 with the desktop update
                        Case{2, 472, false, true},   // Windows 98
                        Case{4, 500, true, true},    // ME: a new shell, still the 95 line's notice
                        Case{6, 500, true, false},   // 2000
                        Case{7, 600, true, false},   // XP
                        Case{7, 0, false, true},     // a shell whose version cannot be read
                        Case{0, 600, true, true}}) { // family not yet known
    SCOPED_TRACE(std::to_string(c.osFamily) + "/" + std::to_string(c.shell));
    EXPECT_EQ(ShellFeaturesFor(c.shell).trayRecordV2, c.v2);
    EXPECT_EQ(ShellFeaturesFor(c.shell).balloons, c.v2);
    EXPECT_EQ(StillRunningUsesNoticeBox(c.osFamily, c.shell), c.noticeBox);
  }
}

}  // namespace
}  // namespace quelvar
