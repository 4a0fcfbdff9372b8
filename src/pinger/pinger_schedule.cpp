// The pinger's schedule; see pinger_schedule.h.
#include "pinger/pinger_schedule.h"

#include "pinger/pinger_settings.h"

namespace quelvar {

void PingSchedule::SetIntervalText(const std::string& PingIntervalText) {
  m_PingIntervalMinutes = static_cast<std::int16_t>(IntervalIndexFromText(PingIntervalText) + 1);
}

PingSchedule::TickAction PingSchedule::Tick(bool pingUnderWay) {
  if (m_ElapsedTicks < m_PingIntervalMinutes - 1) {
    ++m_ElapsedTicks;
    return TickAction::Count;
  }
  if (pingUnderWay) {
    // Never two pings at once: the ping under way keeps the line busy for this one. The
    // skipped tick is counted toward the next period, which so ends one tick sooner.
    m_ElapsedTicks = 1;
    return TickAction::SkipForBusy;
  }
  m_ElapsedTicks = 0;
  return TickAction::Ping;
}

}  // namespace quelvar
