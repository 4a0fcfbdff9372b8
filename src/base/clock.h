// Today's date and the time of day, behind an interface so backups written by tests carry a
// fixed stamp. Win32 reads the local time; FixedClock answers with a set value.
#pragma once

namespace quelvar {

struct LocalDateTime {
  int year = 0;    // four digits
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59

  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() = 0;
};

// A clock that always answers with the value it was given (tests, benchmarks).
class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalDateTime now) : m_now(now) {}
  LocalDateTime Now() override { return m_now; }
  void Set(LocalDateTime now) { m_now = now; }

 private:
  LocalDateTime m_now;
};

// The process-wide clock, set once at start-up by WinMain or by a test.
void SetClock(Clock& clock);
Clock& TheClock();

}  // namespace quelvar
