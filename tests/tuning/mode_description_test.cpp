// Wizard mode's description of each preset, character for character (tabs, CR LF, flags).
#include <gtest/gtest.h>

#include "tuning/mode_description.h"
#include "tuning/tuning_profile.h"

namespace quelvar {
namespace {

std::string Expected(const char* mss, const char* mtu, const char* ndi, const char* http10,
                     const char* http11, const char* rwin, const char* keepAlive,
                     const char* ttl) {
  return std::string("MSS = ") + mss + "\tMTU = " + mtu + "\t\tICMP = False\r\n" + "\r\n" +
         "NDI = " + ndi + "\tMSCPS0 = " + http10 + "\t\tMSCPS1 = " + http11 + "\r\n" + "\r\n" +
         "BlackHole = False\tRWIN = " + rwin + "\t\r\n" + "Keep Alive = " + keepAlive + "\r\n" +
         "\r\n" + "Keep Alive Interval= 1000\tSYN = 2\t\tTTL= " + ttl + "\r\n" + "\r\n";
}

TEST(ModeDescription, EveryPresetReadsAsTheWindowShowsIt) {
  LoadTuningPresets();
  const std::string expected[kPresetCount] = {
      Expected("536", "576", "0", "16", "8", "4288", "600000", "128"),
      Expected("536", "576", "0", "16", "8", "-1", "600000", "128"),
      Expected("-1", "-1", "0", "16", "8", "-1", "600000", "128"),
      Expected("536", "576", "0", "20", "20", "5432", "7200000", "64"),
      Expected("1460", "1500", "0", "20", "20", "256960", "7200000", "64"),
      Expected("1452", "1492", "0", "20", "20", "255552", "7200000", "64"),
      Expected("1460", "1500", "0", "20", "20", "256960", "6400000", "32"),
      Expected("1500", "1500", "0", "2", "4", "8192", "3600000", "32"),
  };
  for (int i = 0; i < kPresetCount; ++i) {
    SCOPED_TRACE(kPresetCaptions[i]);
    EXPECT_EQ(ModeDescription(TuningPresets[i]), expected[i]);
  }
}

TEST(ModeDescription, FlagsShowAsTrueAndFalseAndDiscoveryIsNotShown) {
  TuningProfile profile;
  profile.ICMPRedirect = true;
  profile.BlackHoleDetect = true;
  profile.MTUDiscovery = true;
  const std::string text = ModeDescription(profile);
  EXPECT_NE(text.find("ICMP = True\r\n"), std::string::npos);
  EXPECT_NE(text.find("BlackHole = True\t"), std::string::npos);
  EXPECT_EQ(text.find("Discovery"), std::string::npos);
  profile.MTUDiscovery = false;
  EXPECT_EQ(ModeDescription(profile), text);
}

}  // namespace
}  // namespace quelvar
