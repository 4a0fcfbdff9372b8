// The pinger's schedule: the timer ticks every kPingerTickMs, and every
// PingIntervalMinutes-th tick pings. The count of ticks goes on through saves.
#pragma once
#include <cstdint>
#include <string>

namespace quelvar {

// One "minute" of the schedule (the timer's longest interval, not 60,000 ms).
inline constexpr unsigned kPingerTickMs = 65535;

class PingSchedule {
 public:
  enum class TickAction {
    Count,        // the period goes on
    Ping,         // ping now; the count starts again
    SkipForBusy,  // a ping was due but one is still under way
  };

  // From the interval list index as decimal text ("5" -> 6 ticks a period). Text that is not
  // an index of the list gives the automatic interval.
  void SetIntervalText(const std::string& PingIntervalText);

  // One timer tick. `pingUnderWay`: a ping (scheduled or "Ping Now") has not finished yet.
  TickAction Tick(bool pingUnderWay);

  std::int16_t ElapsedTicks() const { return m_ElapsedTicks; }
  std::int16_t PingIntervalMinutes() const { return m_PingIntervalMinutes; }

 private:
  std::int16_t m_ElapsedTicks = 0;
  std::int16_t m_PingIntervalMinutes = 6;
};

}  // namespace quelvar
