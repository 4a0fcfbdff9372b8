// The pinger's status: how pings add up to failures in a row and the tray's line, when the
// next scheduled ping is due, and the label's texts.
#include "pinger/pinger_status.h"

#include <gtest/gtest.h>

#include "pinger/pinger_schedule.h"

namespace quelvar {
namespace {

TEST(PingerStatusTest, FailuresInARowAndTheTrayLineFollowThePings) {
  const struct {
    bool scheduled;
    bool answered;
    int failures;
    bool trayLine;  // with the pinger on
  } steps[] = {
      {false, false, 1, false},  // "Ping Now" alone never puts the line up
      {true, false, 2, true},
      {false, true, 0, true},    // nor takes it down: only the next scheduled ping does
      {true, false, 1, true},
      {true, true, 0, false},
  };
  PingerStatus status;
  for (const auto& step : steps) {
    status.PingDone(step.scheduled, PingRecord{"127.0.0.1", step.answered, 3});
    EXPECT_EQ(status.FailuresInARow(), step.failures);
    EXPECT_EQ(PingerTrayLine(true, status.LastScheduledFailed()).empty(), !step.trayLine);
  }
  status.PingDone(true, PingRecord{"127.0.0.1", false, 0});
  EXPECT_TRUE(PingerTrayLine(false, status.LastScheduledFailed()).empty()) << "pinger off";
  status.ScheduleStopped();
  EXPECT_TRUE(PingerTrayLine(true, status.LastScheduledFailed()).empty()) << "a new schedule";
}

TEST(PingerStatusTest, TheLabelsTexts) {
  const std::string longHost(60, 'h');
  const struct {
    std::optional<PingRecord> ping;
    int failures;
    const char* due;
    std::string text;
  } cases[] = {
      {std::nullopt, 0, "",
       "Last ping: none yet\nFailures in a row: 0.   Next ping: not scheduled"},
      {PingRecord{"127.0.0.1", true, 12}, 0, "12:05",
       "Last ping: 12:00, 127.0.0.1, answered in 12 ms\nFailures in a row: 0.   Next ping: 12:05"},
      {PingRecord{"localhost", true, 0}, 0, "12:05",
       "Last ping: 12:00, localhost, answered in less than 1 ms\n"
       "Failures in a row: 0.   Next ping: 12:05"},
      {PingRecord{longHost, false, 0}, 3, "",
       "Last ping: 12:00, " + longHost.substr(0, kStatusHostChars - 3) + "..., no answer\n"
       "Failures in a row: 3.   Next ping: not scheduled"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PingerStatusText(LastPingText(c.ping, "12:00"), c.failures, c.due), c.text);
  }
}

TEST(PingerStatusTest, TheNextPingIsDueAtTheTickThatPings) {
  constexpr std::uint64_t tick = kPingerTickMs;
  const struct {
    int elapsed;
    int interval;
    std::uint64_t sinceTick;
    std::uint64_t due;
  } cases[] = {
      {0, 6, 0, 6 * tick},                 // the timer just started
      {0, 1, 1000, tick - 1000},           // every tick pings
      {5, 6, 2000, tick - 2000},           // the last tick of the period
      {1, 6, 0, 5 * tick},                 // after a tick skipped for a ping under way
      {30, 6, 0, tick},                    // the interval was shortened: the next tick pings
      {5, 6, tick + 500, 0},               // the tick is late: due now
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MsUntilNextPing(c.elapsed, c.interval, kPingerTickMs, c.sinceTick), c.due)
        << c.elapsed << "/" << c.interval;
  }
  // The count the schedule keeps agrees: six ticks from a fresh start to the ping.
  PingSchedule schedule;
  schedule.SetIntervalText("5");
  int ticks = 1;
  while (schedule.Tick(false) != PingSchedule::TickAction::Ping) ++ticks;
  EXPECT_EQ(ticks * tick, MsUntilNextPing(0, 6, kPingerTickMs, 0));
}

}  // namespace
}  // namespace quelvar
