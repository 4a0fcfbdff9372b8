// What the pinger window and the tray tell about the pings: the last ping's host and outcome,
// the failures in a row, when the next scheduled ping is due, and the tray's line after a
// scheduled ping that got no answer. Clock times come in already formatted (the user's
// format is the window's business); everything else about the texts is decided here.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quelvar {

// The longest host shown in full; a longer one is cut and ends in "...".
inline constexpr std::size_t kStatusHostChars = 40;

struct PingRecord {
  std::string host;
  bool answered = false;
  std::uint32_t roundTripMs = 0;  // the echo's own round trip; only when answered
};

class PingerStatus {
 public:
  // A ping finished: scheduled by the timer, or "Ping Now".
  void PingDone(bool scheduled, PingRecord record);
  // The schedule stopped: the next one starts with no scheduled ping behind it.
  void ScheduleStopped() { m_lastScheduledFailed = false; }

  const std::optional<PingRecord>& LastPing() const { return m_lastPing; }
  // Pings of either kind without an answer since the last one that had one.
  int FailuresInARow() const { return m_failuresInARow; }
  bool LastScheduledFailed() const { return m_lastScheduledFailed; }

 private:
  std::optional<PingRecord> m_lastPing;
  int m_failuresInARow = 0;
  bool m_lastScheduledFailed = false;
};

// "answered in 12 ms", "answered in less than 1 ms" or "no answer".
std::string PingOutcomeText(const PingRecord& record);
// "Last ping: none yet", or "Last ping: <time>, <host>, <outcome>".
std::string LastPingText(const std::optional<PingRecord>& record, std::string_view timeText);
// "Failures in a row: N".
std::string FailuresInARowText(int failures);
// "Next ping: <time>", or "Next ping: not scheduled" when there is no time.
std::string NextPingText(std::string_view dueTimeText);

// The status label: the last ping's line, then the failures in a row and the next ping.
std::string PingerStatusText(std::string_view lastPingLine, int failures,
                             std::string_view dueTimeText);

// Milliseconds from the schedule's last tick (or the timer's start) to the tick that pings,
// for a timer of `tickMs` whose schedule stands at `elapsedTicks` of `intervalTicks`; a tick
// already overdue counts as due now (0).
std::uint64_t MsUntilNextPing(int elapsedTicks, int intervalTicks, unsigned tickMs,
                              std::uint64_t msSinceLastTick);

// The tray tip's line for the pinger: empty unless the pinger is on and its last scheduled
// ping got no answer.
std::string PingerTrayLine(bool pingerEnabled, bool lastScheduledFailed);

}  // namespace quelvar
