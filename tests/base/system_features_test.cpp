// DLL versions to features: the thresholds of the common controls and the shell, and where the
// still-running notice falls back to the notice box.
#include <gtest/gtest.h>

#include "base/system_features.h"

namespace quelvar {
namespace {

TEST(SystemFeatures, CommonControlsThresholds) {
  struct Case {
    unsigned version;
    bool initEx, standardClasses;
  };
  // 400: Windows 95 and NT 4 as shipped; 470: Internet Explorer 3; 471/472: IE 4 and Windows 98;
  // 580/581: 98 SE, IE 5, 2000 and ME; 582: XP without a manifest; 600: XP's visual styles.
  for (const Case& c : {Case{0, false, false}, Case{400, false, false}, Case{469, false, false},
                        Case{470, true, false}, Case{471, true, false}, Case{580, true, false},
                        Case{582, true, false}, Case{600, true, true}, Case{610, true, true}}) {
    SCOPED_TRACE(c.version);
    const CommonControlsFeatures features = CommonControlsFeaturesFor(c.version);
    EXPECT_EQ(features.initCommonControlsEx, c.initEx);
    EXPECT_EQ(features.extendedListStyles, c.initEx);
    EXPECT_EQ(features.standardClasses, c.standardClasses);
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
