// The preset table cell by cell, and LoadPreset replacing every field of the profile.
#include <gtest/gtest.h>

#include "tuning/tuning_profile.h"

namespace quelvar {
namespace {

struct PresetRow {
  const char* caption;
  std::int32_t mtu, mss, rwin, ttl, keepAlive, interval;
  std::int16_t syn;
  std::int32_t ndi;
  bool discovery, blackHole;
  std::int32_t http10, http11;
  bool icmp;
};

// Written out from the shipped table, independently of the program's own copy.
constexpr PresetRow kExpected[kPresetCount] = {
    {"Automatic-A", 576, 536, 4288, 128, 600000, 1000, 2, 0, true, false, 16, 8, false},
    {"Automatic-B", 576, 536, -1, 128, 600000, 1000, 2, 0, true, false, 16, 8, false},
    {"Automatic-C", -1, -1, -1, 128, 600000, 1000, 2, 0, true, false, 16, 8, false},
    {"Automatic-D", 576, 536, 5432, 64, 7200000, 1000, 2, 0, true, false, 20, 20, false},
    {"Automatic-E", 1500, 1460, 256960, 64, 7200000, 1000, 2, 0, true, false, 20, 20, false},
    {"Automatic-F", 1492, 1452, 255552, 64, 7200000, 1000, 2, 0, true, false, 20, 20, false},
    {"Automatic-G", 1500, 1460, 256960, 32, 6400000, 1000, 2, 0, true, false, 20, 20, false},
    {"Windows default", 1500, 1500, 8192, 32, 3600000, 1000, 2, 0, true, false, 2, 4, false},
};

TEST(TuningPresets, EveryCellHoldsTheShippedValue) {
  LoadTuningPresets();
  for (int i = 0; i < kPresetCount; ++i) {
    SCOPED_TRACE(kExpected[i].caption);
    const PresetRow& e = kExpected[i];
    LoadPreset(i);
    const TuningProfile& p = g_TuningProfile;
    EXPECT_STREQ(kPresetCaptions[static_cast<std::size_t>(i)], e.caption);
    EXPECT_EQ(p.MTU, e.mtu);
    EXPECT_EQ(p.MSS, e.mss);
    EXPECT_EQ(p.RWIN, e.rwin);
    EXPECT_EQ(p.TTL, e.ttl);
    EXPECT_EQ(p.KeepAliveTime, e.keepAlive);
    EXPECT_EQ(p.KeepAliveInterval, e.interval);
    EXPECT_EQ(p.SYNProtect, e.syn);
    EXPECT_EQ(p.NDICacheSize, e.ndi);
    EXPECT_EQ(p.MTUDiscovery, e.discovery);
    EXPECT_EQ(p.BlackHoleDetect, e.blackHole);
    EXPECT_EQ(p.HTTP10Connections, e.http10);
    EXPECT_EQ(p.HTTP11Connections, e.http11);
    EXPECT_EQ(p.ICMPRedirect, e.icmp);
  }
}

TEST(TuningPresets, LoadPresetReplacesFieldsSetByHand) {
  LoadTuningPresets();
  g_TuningProfile = TuningProfile{};
  g_TuningProfile.TTL = 99;
  g_TuningProfile.ICMPRedirect = true;
  g_TuningProfile.SYNProtect = 0;
  LoadPreset(7);
  EXPECT_EQ(g_TuningProfile, TuningPresets[7]);
}

TEST(TuningPresets, ReloadingRewritesTheSameValues) {
  LoadTuningPresets();
  const auto first = TuningPresets;
  TuningPresets[0].MTU = 1;
  LoadTuningPresets();
  EXPECT_EQ(TuningPresets, first);
}

}  // namespace
}  // namespace quelvar
