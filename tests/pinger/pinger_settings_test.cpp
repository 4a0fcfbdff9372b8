// The pinger window's rules without the window: the schedule's ticks, the two modes, what
// "Save" changes and which host the pings use.
#include "pinger/pinger_settings.h"

#include <gtest/gtest.h>

#include <vector>

#include "registry/memory_registry.h"

namespace quelvar {
namespace {

// The ticks (1-based) that ping among the first `ticks`.
std::vector<int> PingTicks(PingSchedule& schedule, int ticks) {
  std::vector<int> pings;
  for (int tick = 1; tick <= ticks; ++tick) {
    if (schedule.Tick(false) == PingSchedule::TickAction::Ping) pings.push_back(tick);
  }
  return pings;
}

TEST(PingScheduleTest, EveryIntervalThTickPings) {
  const struct {
    const char* intervalText;
    std::vector<int> pings;
  } cases[] = {
      {"5", {6, 12, 18}},  // 6 min.
      {"0", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}},
      {"59", {}},
      {"60", {6, 12, 18}},  // no such list item: the automatic interval
  };
  for (const auto& c : cases) {
    PingSchedule schedule;
    schedule.SetIntervalText(c.intervalText);
    EXPECT_EQ(PingTicks(schedule, 18), c.pings) << c.intervalText;
  }
}

TEST(PingScheduleTest, ShorteningBelowTheCountedTicksPingsAtTheNextTick) {
  PingSchedule schedule;
  schedule.SetIntervalText("9");  // 10 ticks
  PingTicks(schedule, 7);
  schedule.SetIntervalText("2");  // 3 ticks, 7 already counted
  EXPECT_EQ(PingTicks(schedule, 4), (std::vector<int>{1, 4}));
}

TEST(PingScheduleTest, ADueTickDuringAPingIsSkippedAndCountsTowardTheNextPeriod) {
  PingSchedule schedule;
  schedule.SetIntervalText("2");  // 3 ticks
  PingTicks(schedule, 2);
  EXPECT_EQ(schedule.Tick(true), PingSchedule::TickAction::SkipForBusy);
  EXPECT_EQ(schedule.ElapsedTicks(), 1);
  EXPECT_EQ(PingTicks(schedule, 5), (std::vector<int>{2, 5}));
  // Ticks that are not due just count, ping or no ping.
  EXPECT_EQ(schedule.Tick(true), PingSchedule::TickAction::Count);
}

class PingerSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetRegistryBackend(registry); }
  std::optional<std::string> Stored(const char* name) const {
    return registry.GetText(kHkeyLocalMachine, SettingsKey(kNetPingerSection), name);
  }
  void Store(const char* name, const char* text) {
    registry.PutText(kHkeyLocalMachine, SettingsKey(kNetPingerSection), name, text);
  }
  MemoryRegistry registry;
  PingerSettingsModel model;
};

TEST_F(PingerSettingsTest, FirstStartIsAutomaticDisabledAndUnchanged) {
  model.loadSettings();
  EXPECT_EQ(model.controls(), (PingerControls{0, true, false, "Automatic", 0, 0}));
  EXPECT_FALSE(model.frameConfigurationsEnabled());
  EXPECT_FALSE(model.hostAndIntervalEnabled());
  EXPECT_FALSE(model.timerEnabled());
  EXPECT_FALSE(model.settingsChanged());
  EXPECT_FALSE(Stored("chkDoPinging"));

  // Enabled and saved: the default host every 6 ticks, the list still on its first item.
  model.chkDoPinging_Click(1);
  model.cmdSave_Click();
  EXPECT_TRUE(model.timerEnabled());
  EXPECT_EQ(model.PingHostName(), kDefaultPingHost);
  EXPECT_EQ(model.schedule().PingIntervalMinutes(), 6);
  EXPECT_EQ(model.controls().cmbPingInterval, 0);
  const std::pair<const char*, const char*> stored[] = {
      {"chkDoPinging", "1"}, {"optAuto", "True"},       {"optManual", "False"},
      {"txtPingHost", "Automatic"}, {"cmbPingInterval", "0"}, {"chkSound", "0"}};
  for (const auto& [name, text] : stored) EXPECT_EQ(Stored(name), text) << name;
}

TEST_F(PingerSettingsTest, ManualModeFillsTheDefaultHostAndUsesOnlySavedText) {
  model.loadSettings();
  model.optManual_Click();
  EXPECT_EQ(model.controls().txtPingHost, kDefaultPingHost);
  EXPECT_TRUE(model.hostAndIntervalEnabled());
  model.txtPingHost_Change("127.0.0.1");
  model.cmbPingInterval_Click(0);
  EXPECT_TRUE(model.settingsChanged());
  EXPECT_EQ(model.PingHostName(), kDefaultPingHost) << "unsaved text is not pinged";
  model.cmdSave_Click();
  EXPECT_FALSE(model.settingsChanged());
  EXPECT_EQ(model.PingHostName(), "127.0.0.1");
  EXPECT_EQ(model.schedule().PingIntervalMinutes(), 1);

  model.txtPingHost_Change("127.0.0.2");
  EXPECT_EQ(model.PingHostName(), "127.0.0.1");

  // A new load reads back what was saved; back to automatic shows its fixed texts.
  PingerSettingsModel reloaded;
  reloaded.loadSettings();
  EXPECT_EQ(reloaded.controls(), (PingerControls{0, false, true, "127.0.0.1", 0, 0}));
  reloaded.optAuto_Click();
  EXPECT_EQ(reloaded.controls().txtPingHost, "Automatic");
  EXPECT_FALSE(reloaded.hostAndIntervalEnabled());
}

TEST_F(PingerSettingsTest, TickingEnableWithoutSaveLeavesTheScheduleOff) {
  model.loadSettings();
  model.chkDoPinging_Click(1);
  EXPECT_TRUE(model.frameConfigurationsEnabled());
  EXPECT_FALSE(model.timerEnabled());
  model.cmdSave_Click();
  model.chkDoPinging_Click(0);
  EXPECT_TRUE(model.timerEnabled()) << "clearing the box alone does not stop it either";
}

TEST_F(PingerSettingsTest, HandWrittenValuesReadSafely) {
  Store("chkDoPinging", "yes");
  Store("optAuto", "false");
  Store("optManual", "0");
  Store("txtPingHost", "host with\\backslash ");
  Store("cmbPingInterval", "75");
  model.loadSettings();
  EXPECT_EQ(model.controls(), (PingerControls{0, false, true, "host with\\backslash ", 5, 0}));
  EXPECT_EQ(model.PingHostName(), "host with\\backslash ");
  EXPECT_EQ(model.schedule().PingIntervalMinutes(), 6);
}

}  // namespace
}  // namespace quelvar
