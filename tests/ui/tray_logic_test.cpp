// The tray control without a window: add/modify/remove, the records, the click events with
// the busy flag and Timer1, the shell restart and the saved properties.
#include "ui/tray_logic.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quelvar {
namespace {

struct FakeShell : TrayShell {
  std::vector<std::pair<TrayShellOp, TrayRecord>> calls;
  std::vector<unsigned> timer;  // every SetTimer1 interval, in order
  bool accept = true;
  bool NotifyIcon(TrayShellOp op, const TrayRecord& record) override {
    calls.emplace_back(op, record);
    return accept;
  }
  void SetTimer1(unsigned interval) override { timer.push_back(interval); }
  std::vector<TrayShellOp> Ops() const {
    std::vector<TrayShellOp> ops;
    for (const auto& call : calls) ops.push_back(call.first);
    return ops;
  }
};

struct RecordingEvents : TrayEvents {
  std::vector<std::string> raised;
  std::function<void()> during;  // runs inside every handler
  void LeftClick() override { Raise("LeftClick"); }
  void RightClick() override { Raise("RightClick"); }
  void MouseClick(int Button) override { Raise("MouseClick " + std::to_string(Button)); }
  void Raise(std::string name) {
    raised.push_back(std::move(name));
    if (during) during();
  }
};

class TrayLogicTest : public ::testing::Test {
 protected:
  FakeShell shell;
  RecordingEvents events;
  TrayLogic tray{shell, events};
};

using Ops = std::vector<TrayShellOp>;

TEST_F(TrayLogicTest, NewControlHoldsTheDefaults) {
  EXPECT_EQ(tray.TrayToolTip(), "Program notification");
  EXPECT_EQ(tray.TrayBalloonToolTip(), "The Program Still Running Here");
  EXPECT_EQ(tray.EventMode(), 0);
  EXPECT_FALSE(tray.IsVisible());
  EXPECT_FALSE(tray.IsBusy());
}

TEST_F(TrayLogicTest, ShowAddsOnceThenModifiesAndFalseRemoves) {
  tray.Show(true);
  EXPECT_TRUE(tray.IsVisible());
  tray.Show(true);
  tray.Show(false);
  EXPECT_FALSE(tray.IsVisible());
  EXPECT_EQ(shell.Ops(), (Ops{TrayShellOp::Add, TrayShellOp::Modify, TrayShellOp::Delete}));
}

TEST_F(TrayLogicTest, ShowFalseWhenAbsentAndBalloonFalseDoNothing) {
  tray.Show(false);
  tray.showBalloonoolTip(false);
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_FALSE(tray.IsVisible());
}

TEST_F(TrayLogicTest, RefusedAddStillCountsAsShown) {
  shell.accept = false;
  tray.Show(true);
  EXPECT_TRUE(tray.IsVisible());
  tray.Show(true);
  EXPECT_EQ(shell.Ops(), (Ops{TrayShellOp::Add, TrayShellOp::Modify}));
}

TEST_F(TrayLogicTest, ShowRecordCarriesTipButNoBalloon) {
  tray.SetTrayToolTip("Free RAM 12 MB");
  tray.Show(true);
  const TrayRecord& record = shell.calls.at(0).second;
  EXPECT_EQ(record.id, 1u);
  EXPECT_EQ(record.flags, 7u);
  EXPECT_EQ(record.callbackMessage, 0x200u);
  EXPECT_EQ(record.tip, TrayTipField("Free RAM 12 MB"));
  EXPECT_FALSE(record.balloon);
}

TEST_F(TrayLogicTest, BalloonModifiesWithTitleTextAndInformationIcon) {
  tray.Show(true);
  tray.SetTrayToolTip("Quelvar");
  tray.SetTrayBalloonToolTip("Still here");
  tray.showBalloonoolTip(true);
  ASSERT_EQ(shell.Ops(), (Ops{TrayShellOp::Add, TrayShellOp::Modify}));
  const TrayRecord& record = shell.calls.at(1).second;
  EXPECT_EQ(record.flags, 0x17u);
  EXPECT_TRUE(record.balloon);
  EXPECT_EQ(record.info, TraySpaceFilledField("Still here", kTrayInfoChars));
  EXPECT_EQ(record.infoTitle, TraySpaceFilledField("Quelvar", kTrayInfoTitleChars));
  EXPECT_EQ(record.tip, TrayTipField("Quelvar"));
  EXPECT_EQ(record.infoFlags, 1u);
  EXPECT_EQ(record.timeout, 1u);
  EXPECT_EQ(record.state, 0u);
  EXPECT_EQ(record.stateMask, 0u);
}

TEST_F(TrayLogicTest, BalloonNeitherTestsNorChangesIsVisible) {
  tray.showBalloonoolTip(true);
  EXPECT_EQ(shell.Ops(), (Ops{TrayShellOp::Modify}));
  EXPECT_FALSE(tray.IsVisible());
}

TEST_F(TrayLogicTest, EventModeIsClampedOnWrite) {
  tray.SetEventMode(5);
  EXPECT_EQ(tray.EventMode(), 1);
  tray.SetEventMode(-3);
  EXPECT_EQ(tray.EventMode(), 0);
  EXPECT_TRUE(tray.PropertiesChanged());
}

TEST_F(TrayLogicTest, ButtonDownsRaiseEventsByMode) {
  struct Case {
    int mode;
    unsigned message;
    std::string event;
  };
  const Case cases[] = {
      {0, 0x201, "LeftClick"},
      {0, 0x204, "RightClick"},
      {1, 0x201, "MouseClick 1"},
      {1, 0x204, "MouseClick 2"},
  };
  for (const Case& c : cases) {
    FakeShell caseShell;
    RecordingEvents caseEvents;
    TrayLogic control(caseShell, caseEvents);
    control.SetEventMode(c.mode);
    control.OnNotification(c.message);
    EXPECT_EQ(caseEvents.raised, std::vector<std::string>{c.event}) << c.mode << " " << c.message;
    EXPECT_TRUE(control.IsBusy());
    EXPECT_EQ(caseShell.timer, std::vector<unsigned>{15});
  }
}

TEST_F(TrayLogicTest, OtherMouseMessagesAreIgnored) {
  // Move, left up, left double click, right up, right double click, middle down/up/double.
  for (unsigned message : {0x200u, 0x202u, 0x203u, 0x205u, 0x206u, 0x207u, 0x208u, 0x209u}) {
    tray.OnNotification(message);
  }
  EXPECT_TRUE(events.raised.empty());
  EXPECT_FALSE(tray.IsBusy());
  EXPECT_TRUE(shell.timer.empty());
}

TEST_F(TrayLogicTest, DoubleClickRaisesOneLeftClick) {
  // What the shell reports for a double click: down, up, double-click, up.
  for (unsigned message : {0x201u, 0x202u, 0x203u, 0x202u}) {
    tray.OnNotification(message);
    tray.Timer1_Timer();
  }
  EXPECT_EQ(events.raised, std::vector<std::string>{"LeftClick"});
}

TEST_F(TrayLogicTest, BusyDropsClicksUntilTimer1Fires) {
  tray.OnNotification(0x201);
  tray.OnNotification(0x204);
  tray.OnNotification(0x201);
  EXPECT_EQ(events.raised, std::vector<std::string>{"LeftClick"});
  tray.Timer1_Timer();
  EXPECT_FALSE(tray.IsBusy());
  EXPECT_EQ(shell.timer, (std::vector<unsigned>{15, 0}));
  tray.OnNotification(0x204);
  EXPECT_EQ(events.raised, (std::vector<std::string>{"LeftClick", "RightClick"}));
}

TEST_F(TrayLogicTest, ClickDuringTheHandlerIsDroppedAndTimerStartsAfterIt) {
  events.during = [this] {
    // A modal menu shown from RightClick pumps further notifications.
    EXPECT_TRUE(tray.IsBusy());
    EXPECT_TRUE(shell.timer.empty());
    events.during = nullptr;
    tray.OnNotification(0x204);
  };
  tray.OnNotification(0x204);
  EXPECT_EQ(events.raised, std::vector<std::string>{"RightClick"});
  EXPECT_EQ(shell.timer, std::vector<unsigned>{15});
}

TEST_F(TrayLogicTest, FailingHandlerStillArmsTimer1) {
  events.during = [] { throw std::runtime_error("handler failed"); };
  EXPECT_THROW(tray.OnNotification(0x201), std::runtime_error);
  EXPECT_EQ(shell.timer, std::vector<unsigned>{15});
  tray.Timer1_Timer();
  EXPECT_FALSE(tray.IsBusy());
}

TEST_F(TrayLogicTest, ShellRestartAddsTheIconAgainOnlyWhenShown) {
  tray.OnTaskbarCreated();
  EXPECT_TRUE(shell.calls.empty());
  tray.SetTrayToolTip("Quelvar");
  tray.Show(true);
  tray.OnTaskbarCreated();
  ASSERT_EQ(shell.Ops(), (Ops{TrayShellOp::Add, TrayShellOp::Add}));
  EXPECT_EQ(shell.calls[1].second.tip, TrayTipField("Quelvar"));
  tray.Show(false);
  tray.OnTaskbarCreated();
  EXPECT_EQ(shell.calls.size(), 3u);
}

TEST_F(TrayLogicTest, PropertiesLoadWithDefaultsAndEventModeUnclamped) {
  tray.ReadProperties({{"TrayToolTip", "Quelvar"}, {"EventMode", "5"}});
  EXPECT_EQ(tray.TrayToolTip(), "Quelvar");
  EXPECT_EQ(tray.EventMode(), 5);
  EXPECT_EQ(tray.TrayBalloonToolTip(), "The Program Still Running Here");
  EXPECT_FALSE(tray.PropertiesChanged());

  tray.ReadProperties({{"EventMode", "one"}, {"BalloonTip", "Hello"}});
  EXPECT_EQ(tray.TrayToolTip(), "Program notification");
  EXPECT_EQ(tray.EventMode(), 0);
  EXPECT_EQ(tray.TrayBalloonToolTip(), "Hello");
}

TEST_F(TrayLogicTest, PropertiesSaveOnlyWhatDiffersFromTheDefaults) {
  TrayPropertyBag bag{{"TrayToolTip", "old"}};
  tray.WriteProperties(bag);
  EXPECT_TRUE(bag.empty());

  tray.SetTrayToolTip("Quelvar");
  tray.SetEventMode(1);
  tray.WriteProperties(bag);
  EXPECT_EQ(bag, (TrayPropertyBag{{"TrayToolTip", "Quelvar"}, {"EventMode", "1"}}));

  TrayLogic reloaded(shell, events);
  reloaded.ReadProperties(bag);
  EXPECT_EQ(reloaded.TrayToolTip(), "Quelvar");
  EXPECT_EQ(reloaded.EventMode(), 1);
}

}  // namespace
}  // namespace quelvar
