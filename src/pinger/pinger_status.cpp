// The pinger's status and its texts; see pinger_status.h.
#include "pinger/pinger_status.h"

#include <algorithm>

namespace quelvar {

void PingerStatus::PingDone(bool scheduled, PingRecord record) {
  m_failuresInARow = record.answered ? 0 : m_failuresInARow + 1;
  if (scheduled) m_lastScheduledFailed = !record.answered;
  m_lastPing = std::move(record);
}

std::string PingOutcomeText(const PingRecord& record) {
  if (!record.answered) return "no answer";
  // The system reports a reply within the same millisecond as 0.
  if (record.roundTripMs == 0) return "answered in less than 1 ms";
  return "answered in " + std::to_string(record.roundTripMs) + " ms";
}

std::string LastPingText(const std::optional<PingRecord>& record, std::string_view timeText) {
  if (!record) return "Last ping: none yet";
  std::string host = record->host;
  if (host.size() > kStatusHostChars) host = host.substr(0, kStatusHostChars - 3) + "...";
  return "Last ping: " + std::string(timeText) + ", " + host + ", " + PingOutcomeText(*record);
}

std::string FailuresInARowText(int failures) {
  return "Failures in a row: " + std::to_string(failures);
}

std::string NextPingText(std::string_view dueTimeText) {
  if (dueTimeText.empty()) return "Next ping: not scheduled";
  return "Next ping: " + std::string(dueTimeText);
}

std::string PingerStatusText(std::string_view lastPingLine, int failures,
                             std::string_view dueTimeText) {
  return std::string(lastPingLine) + "\n" + FailuresInARowText(failures) + ".   " +
         NextPingText(dueTimeText);
}

std::uint64_t MsUntilNextPing(int elapsedTicks, int intervalTicks, unsigned tickMs,
                              std::uint64_t msSinceLastTick) {
  // The tick that finds the count at interval - 1 pings; a count already past it (the interval
  // was shortened) pings at the next tick.
  const std::uint64_t ticks = static_cast<std::uint64_t>(std::max(1, intervalTicks - elapsedTicks));
  const std::uint64_t due = ticks * tickMs;
  return due > msSinceLastTick ? due - msSinceLastTick : 0;
}

std::string PingerTrayLine(bool pingerEnabled, bool lastScheduledFailed) {
  if (!pingerEnabled || !lastScheduledFailed) return {};
  return "Pinger: the last ping got no answer";
}

}  // namespace quelvar
