// The processor meter: how busy the processor is, in whole percent, with one implementation
// per Windows line. clsCPUUsage reads the 95 line's kernel statistics from the dynamic-data
// registry root; clsCPUUsageNT derives the figure from the NT line's system idle time.
#pragma once
#include <cstdint>
#include <optional>

#include "registry/registry_backend.h"

namespace quelvar {

class ProcessorMeter {
 public:
  virtual ~ProcessorMeter() = default;
  virtual void Initialize() = 0;
  // Whole percent; -1 when the NT meter's system calls fail.
  virtual std::int32_t Query() = 0;
  virtual void Terminate() = 0;
};

// The 95 line: "PerfStats\StartStat" starts the kernel's collection, "PerfStats\StatData"
// holds the running figure, "PerfStats\StopStat" stops it (all under HKEY_DYN_DATA, through
// the registry backend).
class clsCPUUsage final : public ProcessorMeter {
 public:
  clsCPUUsage() = default;
  ~clsCPUUsage() override;
  clsCPUUsage(const clsCPUUsage&) = delete;
  clsCPUUsage& operator=(const clsCPUUsage&) = delete;

  void Initialize() override;
  // The lowest byte of the last value read (the previous one when a read fails).
  std::int32_t Query() override;
  void Terminate() override;

 private:
  std::optional<RegKey> m_key;
  std::uint8_t m_data[4] = {};
};

// The three system information records the NT meter reads. Each call fills one record of the
// target's own size (zero-filled first) and gives the field; false when the system refuses.
class SystemInformation {
 public:
  virtual ~SystemInformation() = default;
  // Class 0, basic information: the number of processors.
  virtual bool NumberOfProcessors(std::uint8_t* processors) = 0;
  // Class 2, performance information: the cumulative idle time, 100 ns units.
  virtual bool IdleTime(std::int64_t* idle) = 0;
  // Class 3, time of day: the current system time, 100 ns units.
  virtual bool SystemTime(std::int64_t* time) = 0;
};

class clsCPUUsageNT final : public ProcessorMeter {
 public:
  explicit clsCPUUsageNT(SystemInformation& system) : m_system(system) {}

  void Initialize() override;
  // Usage since the previous successful sample; -1 (previous sample kept) on failure.
  std::int32_t Query() override;
  void Terminate() override {}

 private:
  SystemInformation& m_system;
  std::int64_t m_previousIdle = 0;
  std::int64_t m_previousTime = 0;
};

// The NT meter's arithmetic on two differences in 100 ns units: the counters are fixed-point
// numbers of milliseconds with four decimals, the idle share is rounded to four decimals
// (ties to even), and 100 - share / processors is rounded half up to a whole percent.
// A zero time difference takes the idle difference itself as the share. 0 processors: -1.
std::int32_t ProcessorUsagePercent(std::int64_t idleDifference, std::int64_t timeDifference,
                                   unsigned processors);

}  // namespace quelvar
