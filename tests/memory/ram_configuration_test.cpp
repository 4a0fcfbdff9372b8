// The RAM configuration: loading with its defaults and mends, saving in the stored forms, the
// corrections of the amount boxes, "Save" following edits, and the alarm's decisions with
// fakes for memory, meter and sound.
#include <gtest/gtest.h>

#include "memory/fake_memory_system.h"
#include "memory/free_ram.h"
#include "memory/ram_configuration.h"
#include "registry/memory_registry.h"
#include "registry/settings.h"

namespace quelvar {
namespace {

using testing::FakeMemorySystem;

struct FixedMeter : ProcessorMeter {
  std::int32_t usage = 0;
  int queries = 0;
  void Initialize() override {}
  std::int32_t Query() override {
    ++queries;
    return usage;
  }
  void Terminate() override {}
};

struct RecordingPlayer : SoundPlayer {
  std::vector<std::string> played;
  bool PlayFileAsync(const std::string& path) override {
    played.push_back(path);
    return true;
  }
};

class RamConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override { SetRegistryBackend(registry); }
  void Store(const char* name, const char* text) {
    registry.PutText(kHkeyLocalMachine, SettingsKey(kRamSettingsSection), name, text);
  }
  std::optional<std::string> Stored(const char* name) {
    return registry.GetText(kHkeyLocalMachine, SettingsKey(kRamSettingsSection), name);
  }
  // Free memory in whole megabytes.
  void SetFree(std::uint64_t megabytes) { memory.figures.availablePhysical = megabytes << 20; }

  MemoryRegistry registry;
  FakeMemorySystem memory;
  FixedMeter meter;
  RamConfiguration form;
};

TEST_F(RamConfigurationTest, DefaultsOnAFreshMachine) {
  form.LoadSettings();
  EXPECT_EQ(form.AlarmLevelMB(), 250);
  EXPECT_EQ(form.FreeAmountMB(), 10);
  EXPECT_EQ(form.AlarmInterval(), 100u);
  EXPECT_EQ(form.CpuLimit(), 2);
  EXPECT_EQ(form.RetryCount(), 10);
  EXPECT_EQ(form.chkSoundon(), 0);
  EXPECT_EQ(form.chkAutomatic(), 0);
  EXPECT_EQ(form.chkTrayFigure(), 0) << "the tray shows the program icon";
  EXPECT_TRUE(form.optMB());
  EXPECT_FALSE(form.optPer());
  EXPECT_FALSE(form.Changed());
  EXPECT_FALSE(form.IsEnabled(RamBox::txtAlarm));
}

TEST_F(RamConfigurationTest, SaveWritesTheStoredFormsThatALoadReadsBack) {
  Store("optPer", "TRUE");
  Store("optMB", "false");
  form.LoadSettings();
  EXPECT_TRUE(form.optPer());
  form.chkSoundon_Click(1);
  EXPECT_TRUE(form.Changed());
  EXPECT_TRUE(form.IsEnabled(RamBox::txtAlarm)) << "ticking Sound on enables the level box";
  form.opt_Click(false);
  form.SetText(RamBox::txtFreeAlarm, "64");
  form.chkTrayFigure_Click(1);
  form.cmdSave_Click();
  EXPECT_FALSE(form.Changed());
  const std::vector<std::string> order = registry.ValueNames(kHkeyLocalMachine, SettingsKey(kRamSettingsSection));
  EXPECT_EQ(order, (std::vector<std::string>{"optPer", "optMB", "chkSoundon", "chkAutomatic", "txtAlarm",
                                              "txtFreeAlarm", "txtTimeCheck", "txtRunOnly",
                                              "txtRetryOptimization", "chkTrayFigure"}));
  EXPECT_EQ(Stored("chkSoundon"), "1");
  EXPECT_EQ(Stored("optPer"), "False");
  EXPECT_EQ(Stored("optMB"), "True");
  EXPECT_EQ(Stored("txtFreeAlarm"), "64");
  RamConfiguration again;
  again.LoadSettings();
  EXPECT_TRUE(again.optMB());
  EXPECT_EQ(again.FreeAmountMB(), 64);
  EXPECT_EQ(again.chkSoundon(), 1);
  EXPECT_EQ(again.chkTrayFigure(), 1);
}

TEST_F(RamConfigurationTest, AmountBoxesFallBackToTheLoadedValues) {
  form.LoadSettings();
  const struct {
    RamBox box;
    const char* typed;
    const char* shown;
  } cases[] = {
      {RamBox::txtAlarm, "abc", "250"},      {RamBox::txtAlarm, "-5", "250"},
      {RamBox::txtAlarm, "400", "400"},      {RamBox::txtFreeAlarm, "1500", "10"},
      {RamBox::txtFreeAlarm, "1000", "1000"}, {RamBox::txtFreeAlarm, "", "10"},
  };
  for (const auto& c : cases) {
    form.SetText(c.box, c.typed);
    EXPECT_EQ(form.Text(c.box), c.shown) << c.typed;
  }
  EXPECT_TRUE(form.Changed());
  EXPECT_EQ(form.AlarmLevelMB(), 250) << "the level takes effect at the next load";
}

TEST_F(RamConfigurationTest, StoredValuesOutOfRangeOrNotNumbersLoadSafely) {
  Store("txtTimeCheck", "0");
  Store("txtRunOnly", "300");
  Store("txtRetryOptimization", "many");
  Store("chkSoundon", "yes");
  Store("txtAlarm", "abc");
  form.LoadSettings();
  EXPECT_EQ(form.AlarmInterval(), 100u) << "never below 100 ms";
  EXPECT_EQ(form.Text(RamBox::txtTimeCheck), "100");
  EXPECT_EQ(form.CpuLimit(), 100) << "a percentage stops at 100";
  EXPECT_EQ(form.RetryCount(), 10) << "not a number: the row's default";
  EXPECT_EQ(form.chkSoundon(), 0);
  EXPECT_EQ(form.Text(RamBox::txtAlarm), "0") << "corrected to the level held before the load";
  EXPECT_FALSE(form.Changed());
}

TEST_F(RamConfigurationTest, AlarmSoundsAndFreesOnlyBelowTheLevel) {
  Store("chkAutomatic", "1");
  Store("chkSoundon", "1");
  Store("txtRetryOptimization", "3");
  Store("txtRunOnly", "20");
  Store("txtFreeAlarm", "1");
  form.LoadSettings();
  const struct {
    std::uint64_t freeMB;
    std::int32_t usage;
    bool sound;
    std::size_t frees;
  } cases[] = {
      {250, 0, false, 0},  // exactly at the level: nothing
      {100, 35, true, 0},  // processor too busy for freeing
      {100, 19, true, 3},  // quiet: the configured passes
      {100, -1, true, 3},  // a failed measurement counts as quiet
  };
  for (const auto& c : cases) {
    FakeMemorySystem fresh;
    fresh.figures.availablePhysical = c.freeMB << 20;
    meter.usage = c.usage;
    // A tick that freed reports free memory around its passes, for the status window.
    const std::optional<FreeChange> change = form.tmrAlarm_Timer(fresh, &meter);
    EXPECT_EQ(change.has_value(), c.frees > 0) << c.freeMB << " MB, " << c.usage << " %";
    if (change) {
      EXPECT_EQ(change->beforeMB, static_cast<std::int64_t>(c.freeMB));
    }
    EXPECT_EQ(form.SoundDue(), c.sound) << c.freeMB << " MB, " << c.usage << " %";
    EXPECT_EQ(fresh.committed.size(), c.frees) << c.freeMB << " MB, " << c.usage << " %";
  }
  RecordingPlayer player;
  form.tmrSoundPlayer_Timer(player, "C:\\Q");
  EXPECT_EQ(player.played, std::vector<std::string>{"C:\\Q\\low-memory.wav"});
}

TEST_F(RamConfigurationTest, NoLimitAndNoRetriesFreeOnceWithTheLiveAmount) {
  Store("chkAutomatic", "1");
  Store("txtRunOnly", "0");
  Store("txtRetryOptimization", "0");
  form.LoadSettings();
  form.SetText(RamBox::txtFreeAlarm, "3");  // not saved: counts at once
  SetFree(100);
  meter.usage = 99;
  form.tmrAlarm_Timer(memory, &meter);
  EXPECT_EQ(memory.committed, std::vector<std::uint64_t>{2ull * 3 * 1048576});
  EXPECT_EQ(memory.yields, 14 + 14 + 10 + 14);
  EXPECT_EQ(form.RetryCount(), 1) << "until the next load";
  EXPECT_FALSE(form.SoundDue()) << "sound is off";
}

TEST_F(RamConfigurationTest, ATickDuringItsOwnFreeingIsSkipped) {
  Store("chkAutomatic", "1");
  Store("txtRetryOptimization", "1");
  Store("txtRunOnly", "0");
  form.LoadSettings();
  SetFree(100);
  int nested = 0;
  memory.onYield = [&] {
    if (nested++ == 0) form.tmrAlarm_Timer(memory, &meter);
  };
  form.tmrAlarm_Timer(memory, &meter);
  EXPECT_EQ(memory.committed.size(), 1u);
}

// Switched off while an alarm free runs, the alarm stops at once: a cleared "Sound on" takes
// back the sound that was due, a cleared "Optimize automatically" (or the window unloading)
// ends the passes at the next turn of the message loop, wherever the free stands.
TEST_F(RamConfigurationTest, SwitchingTheAlarmOffStopsItInEveryPhaseOfAFree) {
  enum class Phase { BeforeThePasses, InsideASlice, BetweenTwoPasses };
  enum class Off { BothSwitches, SoundOnly, AutomaticOnly, Unload };
  const struct {
    Phase phase;
    Off off;
    std::size_t frees;  // blocks committed, of the three passes
    bool sound;
  } cases[] = {
      {Phase::BeforeThePasses, Off::BothSwitches, 0, false},
      {Phase::InsideASlice, Off::BothSwitches, 1, false},
      {Phase::BetweenTwoPasses, Off::BothSwitches, 1, false},
      {Phase::BeforeThePasses, Off::Unload, 0, false},
      {Phase::InsideASlice, Off::Unload, 1, false},
      {Phase::BetweenTwoPasses, Off::Unload, 1, false},
      {Phase::BetweenTwoPasses, Off::SoundOnly, 3, false},
      {Phase::InsideASlice, Off::AutomaticOnly, 1, true},
  };
  Store("chkAutomatic", "1");
  Store("chkSoundon", "1");
  Store("txtRetryOptimization", "3");
  Store("txtRunOnly", "0");
  Store("txtFreeAlarm", "3");  // six slices of the write
  for (const auto& c : cases) {
    const int row = static_cast<int>(&c - cases);
    RamConfiguration alarm;
    alarm.LoadSettings();
    FakeMemorySystem fake;
    fake.figures.availablePhysical = 100ull << 20;
    fake.millisecondsPerLook = kFreeSliceMilliseconds;  // a turn after every slice
    bool done = false;
    fake.onYield = [&] {
      const bool now = c.phase == Phase::BeforeThePasses   ? fake.yields == 1
                       : c.phase == Phase::InsideASlice    ? fake.committed.size() == 1
                                                           : fake.released > 0;
      if (done || !now) return;
      done = true;
      if (c.off == Off::Unload) alarm.Unload();
      if (c.off == Off::BothSwitches || c.off == Off::SoundOnly) alarm.chkSoundon_Click(0);
      if (c.off == Off::BothSwitches || c.off == Off::AutomaticOnly) alarm.chkAutomatic_Click(0);
    };
    const std::optional<FreeChange> change = alarm.tmrAlarm_Timer(fake, nullptr);
    EXPECT_TRUE(done) << row;
    EXPECT_EQ(fake.committed.size(), c.frees) << row;
    EXPECT_EQ(change.has_value(), c.frees > 0) << row;
    EXPECT_EQ(alarm.SoundDue(), c.sound) << row;
    std::uint64_t committed = 0;
    for (auto size : fake.committed) committed += size;
    EXPECT_EQ(fake.released, committed) << row << ": every block goes back";
    if (c.phase == Phase::InsideASlice && c.frees == 1) {
      EXPECT_EQ(fake.decommitted, 1u << 20) << row << ": the write ended after its slice";
    }
    RecordingPlayer player;
    alarm.tmrSoundPlayer_Timer(player, "C:\\Q");
    EXPECT_EQ(player.played.size(), c.sound ? 1u : 0u) << row;
  }
}

// Unloaded and loaded again, the form reads the stored values as the first load did (the
// level box's correction falls back to the level of a new form, not the last one loaded).
TEST_F(RamConfigurationTest, AFormUnloadedAndLoadedAgainStartsAsTheFirstTime) {
  Store("txtAlarm", "400");
  form.LoadSettings();
  form.chkSoundon_Click(1);
  form.SetText(RamBox::txtFreeAlarm, "64");
  Store("txtAlarm", "abc");
  RamConfiguration first;
  first.LoadSettings();
  form.Unload();
  form.LoadSettings();
  for (int i = 0; i < kRamBoxCount; ++i) {
    EXPECT_EQ(form.Text(static_cast<RamBox>(i)), first.Text(static_cast<RamBox>(i))) << i;
  }
  EXPECT_EQ(form.chkSoundon(), first.chkSoundon());
  EXPECT_EQ(form.AlarmLevelMB(), first.AlarmLevelMB());
  EXPECT_FALSE(form.Changed());
}

}  // namespace
}  // namespace quelvar
