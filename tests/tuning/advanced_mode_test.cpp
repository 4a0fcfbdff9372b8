// The advanced mode wizard's rules without a window: recommendations, the receive window and
// its fallbacks, the silent value check, page entries and Back, and Finish on the NT line.
#include "tuning/advanced_mode.h"

#include <gtest/gtest.h>

#include "backup_test_support.h"
#include "tuning/apply_profile.h"

namespace quelvar {
namespace {

// A wizard over its own profile (Automatic-A, as wizard mode leaves it at start-up) with an
// apply that only counts.
struct Wizard {
  TuningProfile profile = TuningPresets[0];
  int applies = 0;
  bool applyRuns = true;
  AdvancedModeWizard wizard{profile, [this] {
                              ++applies;
                              return applyRuns;
                            }};
  Wizard() { wizard.Form_Load(); }
  void Next(int times) {
    for (int i = 0; i < times; ++i) wizard.cmdNextPage_Click();
  }
};

class AdvancedModeTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadTuningPresets(); }
};

TEST_F(AdvancedModeTest, CableModemRecommendsItsMtuMssAndReceiveWindow) {
  Wizard w;
  w.wizard.optConnType_Click(1);
  w.Next(3);
  EXPECT_EQ(w.wizard.CurrentPage(), 3);
  EXPECT_EQ(w.wizard.BoxText(ValueBox::MTU), "1500");
  EXPECT_EQ(w.wizard.BoxText(ValueBox::MSS), "1460");
  EXPECT_EQ(w.wizard.lblMTURecValue(), "1500 Byte");
  EXPECT_EQ(w.wizard.txtMSSRWINValue(), "1460");
  EXPECT_EQ(w.wizard.txtMultiplier(), "44");
  EXPECT_EQ(w.wizard.txtRWIN(), "256960");
  EXPECT_EQ(w.wizard.lblRWINRecValue(), "256960Bytes");
  EXPECT_EQ(w.profile.RWIN, 256960);
  EXPECT_EQ(w.profile.MSS, 1460);
}

TEST_F(AdvancedModeTest, MultiplierFallsBackWhenNoNumberOrTheWindowLeavesItsRange) {
  struct Case {
    int connectionType;
    const char* typed;
    const char* multiplier;
    const char* rwin;
  };
  const Case cases[] = {
      {0, "0", "3", "6432"},  // below one segment
      {0, "-2", "3", "6432"},
      {0, "abc", "3", "6432"},                // no number
      {1, "200000", "44", "256960"},          // above 1073741823
      {1, "183859", "183859", "1073736560"},  // the largest that stays
      {0, "10", "10", "21440"},
      {0, "2.5", "2.5", "5360"},  // a fraction stays as it is typed
      {0, "1.1", "1.1", "2358.4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Wizard w;
    w.wizard.optConnType_Click(c.connectionType);
    w.Next(3);
    w.wizard.SetMultiplierText(c.typed);
    EXPECT_EQ(w.wizard.txtMultiplier(), c.multiplier);
    EXPECT_EQ(w.wizard.txtRWIN(), c.rwin);
  }
}

TEST_F(AdvancedModeTest, ValueCheckKeepsNumbersWithinBoundsAndReplacesTheRest) {
  struct Case {
    ValueBox box;
    const char* typed;
    const char* shown;
  };
  // Page 4 entered: TTL 64, 20 and 20 connections; page 1: MTU 576.
  const Case cases[] = {
      {ValueBox::HTTP10, "3", "20"},
      {ValueBox::HTTP10, "4", "4"},
      {ValueBox::HTTP11, "1", "20"},
      {ValueBox::HTTP11, "2", "2"},
      {ValueBox::TTL, "256", "256"},
      {ValueBox::TTL, "257", "64"},
      {ValueBox::TTL, "0", "0"},
      {ValueBox::TTL, "-1", "64"},
      {ValueBox::MTU, "abc", "576"},
      {ValueBox::MTU, "", "576"},
      {ValueBox::MTU, " 1e3 ", " 1e3 "},
      {ValueBox::MTU, "0x10", "576"},
      {ValueBox::MTU, "2147483647", "2147483647"},
      {ValueBox::MTU, "2147483648", "576"},
      {ValueBox::MTU, "-1", "-1"},  // removes the value, as a preset's -1 does
      {ValueBox::MSS, "-1", "-1"},
      {ValueBox::MSS, "-2", "536"},
      {ValueBox::MTU, "-0.5", "576"},
      {ValueBox::KeepAliveTime, "12.5", "12.5"},
      {ValueBox::SYN, "3", "2"},
      {ValueBox::SYN, "x", "2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Wizard w;
    w.Next(4);
    w.wizard.SetBoxText(c.box, c.typed);
    EXPECT_EQ(w.wizard.BoxText(c.box), c.shown);
  }
}

TEST_F(AdvancedModeTest, ReplacementOutsideTheBoundsEndsTheCheck) {
  Wizard w;
  w.profile.TTL = 300;
  w.wizard.SetBoxText(ValueBox::TTL, "999");
  EXPECT_EQ(w.wizard.BoxText(ValueBox::TTL), "300");
}

TEST_F(AdvancedModeTest, SynBoxAndNdiListSetTheProfileAtOnce) {
  Wizard w;
  w.Next(6);
  w.wizard.SetBoxText(ValueBox::SYN, "0");
  w.wizard.cmbNDI_Click(4);
  EXPECT_EQ(w.profile.SYNProtect, 0);
  EXPECT_EQ(w.profile.NDICacheSize, 16);
  // Entering page 6 again resets both while the box and the list keep their state.
  w.wizard.cmdPrevPage_Click();
  w.Next(1);
  EXPECT_EQ(w.profile.SYNProtect, 2);
  EXPECT_EQ(w.profile.NDICacheSize, 0);
  EXPECT_EQ(w.wizard.BoxText(ValueBox::SYN), "0");
  EXPECT_EQ(w.wizard.NdiIndex(), 4);
}

TEST_F(AdvancedModeTest, DisableDiscoveryTickedSurvivesBackButEnteringPage2EnablesDiscovery) {
  Wizard w;
  w.Next(2);
  w.wizard.chkMTUDisconver_Click(true);
  EXPECT_FALSE(w.profile.MTUDiscovery);
  w.wizard.cmdPrevPage_Click();
  EXPECT_EQ(w.wizard.CurrentPage(), 1);
  w.Next(1);
  EXPECT_TRUE(w.wizard.MTUDisconverTicked());
  EXPECT_TRUE(w.profile.MTUDiscovery);
}

TEST_F(AdvancedModeTest, ButtonsAlongTheWayAndBackAfterFinish) {
  Wizard w;
  EXPECT_FALSE(w.wizard.PrevEnabled());
  w.Next(7);
  EXPECT_STREQ(w.wizard.NextCaption(), "Finish");
  EXPECT_EQ(w.wizard.cmdNextPage_Click(), NextResult::kApplied);
  EXPECT_EQ(w.applies, 1);
  EXPECT_EQ(w.wizard.CurrentPage(), kFinishedPage);
  EXPECT_EQ(w.wizard.VisiblePage(), 7);
  EXPECT_FALSE(w.wizard.NextEnabled());

  w.wizard.cmdPrevPage_Click();
  EXPECT_EQ(w.wizard.CurrentPage(), 7);
  EXPECT_TRUE(w.wizard.NextEnabled());
  EXPECT_STREQ(w.wizard.NextCaption(), "Next>>");
  EXPECT_EQ(w.wizard.cmdNextPage_Click(), NextResult::kApplied);
  EXPECT_EQ(w.applies, 2);

  for (int i = 0; i < 9; ++i) w.wizard.cmdPrevPage_Click();
  EXPECT_EQ(w.wizard.CurrentPage(), 0);
  EXPECT_FALSE(w.wizard.PrevEnabled());
}

TEST_F(AdvancedModeTest, FinishRoundsHalvesToEvenAndStaysOnPage7WhenTheApplyDidNotRun) {
  Wizard w;
  w.Next(1);
  w.wizard.SetBoxText(ValueBox::MTU, "1500.5");
  w.wizard.SetBoxText(ValueBox::MSS, "1461.5");
  w.applyRuns = false;
  w.Next(7);
  EXPECT_EQ(w.profile.MTU, 1500);
  EXPECT_EQ(w.profile.MSS, 1462);
  EXPECT_EQ(w.wizard.CurrentPage(), 7);
  EXPECT_TRUE(w.wizard.NextEnabled());
  EXPECT_STREQ(w.wizard.NextCaption(), "Finish");
}

// A receive window beyond what the profile holds (an MSS of 2000000000 taken at Finish, then
// page 3 entered again from page 2) is refused with a message instead of being wrapped.
TEST_F(AdvancedModeTest, ReceiveWindowTheProfileCannotHoldIsNeverApplied) {
  testing::RecordingMessageBox boxes;
  SetMessageBoxService(boxes);
  Wizard w;
  w.Next(1);
  w.wizard.SetBoxText(ValueBox::MSS, "2000000000");
  w.Next(7);
  ASSERT_EQ(w.applies, 1);
  for (int i = 0; i < 6; ++i) w.wizard.cmdPrevPage_Click();
  w.Next(1);
  EXPECT_EQ(w.wizard.txtRWIN(), "24000000000");
  EXPECT_EQ(w.profile.RWIN, 6432);  // what page 3 took the first time
  w.Next(4);
  // The last page's preview says what Finish then tells the user.
  const std::string refusal = w.wizard.ProfileFromBoxes().refusal;
  EXPECT_NE(refusal.find("\"24000000000\" cannot be applied"), std::string::npos);
  EXPECT_EQ(w.wizard.cmdNextPage_Click(), NextResult::kNotApplied);
  EXPECT_EQ(w.applies, 1);
  EXPECT_EQ(w.profile.RWIN, 6432);
  EXPECT_EQ(w.wizard.CurrentPage(), 7);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, refusal + "\n\nNothing was changed.");
}

class AdvancedModeApplyTest : public testing::BackupApplyTest {};

TEST_F(AdvancedModeApplyTest, FinishOnTheNtLineWithDialUpDefaultsWritesTheWizardsValues) {
  OsFamily = 6;
  const std::string interface =
      "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{A1}";
  store().CreatePath(kHkeyLocalMachine, interface);
  g_TuningProfile = TuningPresets[0];
  AdvancedModeWizard wizard(g_TuningProfile, [] { return ApplyTuningProfile(); });
  wizard.Form_Load();
  for (int i = 0; i < 8; ++i) wizard.cmdNextPage_Click();
  EXPECT_FALSE(wizard.NextEnabled());
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(Backup("001.BCK").empty());
  EXPECT_TRUE(Backup("002.BCK").empty());

  const std::string params = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
  const std::string internet = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  const struct {
    RegKey hive;
    std::string key;
    const char* name;
    std::uint32_t value;
  } expected[] = {
      {kHkeyLocalMachine, interface, "MTU", 576},
      {kHkeyLocalMachine, interface, "MSS", 536},
      {kHkeyLocalMachine, params, "DefaultTTL", 64},
      {kHkeyLocalMachine, params, "GlobalMaxTcpWindowSize", 6432},
      {kHkeyLocalMachine, params, "TcpWindowSize", 6432},
      {kHkeyLocalMachine, params, "KeepAliveTime", 7200000},
      {kHkeyLocalMachine, params, "KeepAliveInterval", 1000},
      {kHkeyLocalMachine, params, "SYNAttackProtect", 2},
      {kHkeyLocalMachine, params, "EnablePMTUDiscovery", 1},
      {kHkeyLocalMachine, params, "EnablePMTUBHDetect", 0},
      {kHkeyLocalMachine, params, "EnableICMPRedirects", 0},
      {kHkeyCurrentUser, internet, "MaxConnectionsPer1_0Server", 20},
      {kHkeyCurrentUser, internet, "MaxConnectionsPerServer", 20},
      {kHkeyLocalMachine,
       "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize", "", 0},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(store().GetDword(e.hive, e.key, e.name), e.value);
  }
}

// An MTU or MSS of -1 is taken at Finish as the presets take it: the value is removed (an MTU
// of -1 removes the MSS as well).
TEST_F(AdvancedModeApplyTest, FinishTakesAnMtuOrMssOfMinusOneAsRemovingTheValue) {
  const struct {
    const char* mtu;
    const char* mss;
    std::optional<std::uint32_t> mtuAfter, mssAfter;
  } cases[] = {
      {"-1", "-1", std::nullopt, std::nullopt},
      {"-1", "536", std::nullopt, std::nullopt},
      {"576", "-1", 576u, std::nullopt},
  };
  const std::string interface =
      "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{A1}";
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mtu) + " " + c.mss);
    OsFamily = 7;
    store().PutDword(kHkeyLocalMachine, interface, "MTU", 1400);
    store().PutDword(kHkeyLocalMachine, interface, "MSS", 1360);
    g_TuningProfile = TuningPresets[0];
    AdvancedModeWizard wizard(g_TuningProfile, [] { return ApplyTuningProfile(); });
    wizard.Form_Load();
    for (int i = 0; i < 7; ++i) wizard.cmdNextPage_Click();
    wizard.SetBoxText(ValueBox::MTU, c.mtu);
    wizard.SetBoxText(ValueBox::MSS, c.mss);
    EXPECT_EQ(wizard.ProfileFromBoxes().refusal, "");
    EXPECT_EQ(wizard.cmdNextPage_Click(), NextResult::kApplied);
    EXPECT_TRUE(boxes.shown.empty()) << boxes.shown[0].text;
    EXPECT_EQ(store().GetDword(kHkeyLocalMachine, interface, "MTU"), c.mtuAfter);
    EXPECT_EQ(store().GetDword(kHkeyLocalMachine, interface, "MSS"), c.mssAfter);
  }
}

}  // namespace
}  // namespace quelvar
