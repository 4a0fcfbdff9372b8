// The system status window's rules: megabytes, the memory sample and captions, the tray tip,
// the speed mapping and the amount slider's cap.
#include <gtest/gtest.h>

#include "memory/status_rules.h"

namespace quelvar {
namespace {

TEST(StatusRulesTest, MegabytesRoundToEvenAtEachStep) {
  const struct {
    std::int64_t bytes;
    std::int64_t megabytes;
  } cases[] = {
      {120ll << 20, 120},
      {(512ll << 20) + (512 << 10), 512},   // 512.5 MB: ties to even
      {(513ll << 20) + (512 << 10), 514},   // 513.5 MB
      {(1ll << 20) + 1536 * 1024 - 1, 2},  // KB first: 2559.999 KB -> 2560 -> 2.5 -> 2
      {24ll << 30, 24576},                  // beyond 4 GB
  };
  for (const auto& c : cases) EXPECT_EQ(BytesToMegabytes(c.bytes), c.megabytes) << c.bytes;
}

TEST(StatusRulesTest, SampleCaptionsAndTrayTip) {
  const std::optional<double> sample = MemorySample(120, 512);
  ASSERT_TRUE(sample);
  EXPECT_EQ(*sample, 23.4375);
  EXPECT_EQ(MemoryCaption(*sample), "Memory Usage (23.4375%).");
  EXPECT_EQ(TrayMemoryTip(true, *sample, 120), "Memory Usage (23.4375%).");
  EXPECT_EQ(TrayMemoryTip(false, *sample, 120), "Memory Usage (120MB).");
  EXPECT_EQ(MemoryCaption(*MemorySample(1, 3)), "Memory Usage (33.3333%).");
  EXPECT_FALSE(MemorySample(120, 0)) << "a total of 0 leaves the graph as it was";
  EXPECT_EQ(ProcessorCaption(50), "Processor usage (50%).");
  EXPECT_EQ(ProcessorCaption(-1), "Processor usage (-1%).");
}

TEST(StatusRulesTest, SpeedAndAmountSliders) {
  EXPECT_EQ(SamplingInterval(1000), 300);
  EXPECT_EQ(SamplingInterval(300), 1000);

  const struct {
    std::int64_t totalMB;
    unsigned bits;
    int limit;
    bool capped;
  } cases[] = {
      {512, 32, 512, false}, {2047, 32, 2047, false}, {4096, 32, 2047, true},
      {24576, 64, 24576, false}, {0, 32, 0, false},
  };
  for (const auto& c : cases) {
    const FreeAmountLimit limit = FreeAmountSliderLimit(c.totalMB, c.bits);
    EXPECT_EQ(limit.megabytes, c.limit) << c.totalMB;
    EXPECT_EQ(limit.capped, c.capped) << c.totalMB;
  }
  EXPECT_EQ(FreeAmountToolTip(0, {512, false}), "0 MB to free when Optimize is clicked");
  EXPECT_EQ(FreeAmountToolTip(64, {2047, true}),
            "64 MB to free when Optimize is clicked (at most 2047 MB can be freed at once)");
  EXPECT_EQ(TargetLevelText(0), "Target Level Of RAM 0MB.");
}

// The tray icon has room for four characters: every figure, from nothing free to more than
// the largest machine holds, must fit, and a unit change must not jump.
TEST(StatusRulesTest, TrayFigureFitsTheIconAtEveryMagnitude) {
  const struct {
    bool inPercent;
    double percent;
    std::int64_t freeMB;
    const char* text;
  } cases[] = {
      {false, 0, 0, "0"},
      {false, 0, -5, "0"},
      {false, 0, 412, "412"},
      {false, 0, 999, "999"},
      {false, 0, 1000, "1.0G"},
      {false, 0, 9999, "9.8G"},
      {false, 0, 10188, "9.9G"},
      {false, 0, 10189, "10G"},     // 9.95 G: the tenths would need a fifth character
      {false, 0, 24576, "24G"},
      {false, 0, 1023487, "999G"},
      {false, 0, 1023488, "1.0T"},  // 999.5 G
      {false, 0, INT64_MAX, "8.0Y"},
      {true, 0, 0, "0%"},
      {true, -1, 0, "0%"},
      {true, 87.9, 0, "87%"},
      {true, 99.99, 0, "99%"},      // rounded down: 100 % only when everything is free
      {true, 100, 0, "100%"},
  };
  for (const auto& c : cases) {
    const std::string text = TrayFigureText(c.inPercent, c.percent, c.freeMB);
    EXPECT_EQ(text, c.text) << c.freeMB << " MB, " << c.percent << " %";
    EXPECT_LE(text.size(), 4u) << text;
  }
  EXPECT_EQ(FreeChangeText({412, 655}), "Free memory: 412 MB -> 655 MB");
}

}  // namespace
}  // namespace quelvar
