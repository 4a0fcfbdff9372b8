// The two processor meters; see processor_meter.h.
#include "memory/processor_meter.h"

#include <cmath>
#include <string>

#include "registry/scoped_reg_key.h"

namespace quelvar {

namespace {

constexpr char kStartStat[] = "PerfStats\\StartStat";
constexpr char kStatData[] = "PerfStats\\StatData";
constexpr char kStopStat[] = "PerfStats\\StopStat";
constexpr char kCpuUsageValue[] = "KERNEL\\CPUUsage";

// A double rounded to four decimals, ties to even (the fixed point's own rounding), in
// ten-thousandths.
double RoundToFourDecimals(double value) { return std::nearbyint(value * 10000.0) / 10000.0; }

}  // namespace

// --- The 95 line ---

clsCPUUsage::~clsCPUUsage() {
  if (m_key) Registry().CloseKey(*m_key);
}

void clsCPUUsage::Initialize() {
  {
    ScopedRegKey start;
    if (Registry().OpenKeyEx(kHkeyDynData, kStartStat, kKeyAllAccess, start.put()) != kRegSuccess) {
      return;
    }
    start.Opened();
    // Reading the start value is what starts the collection; the figure itself is not used.
    std::uint32_t type = 0;
    std::uint32_t size = sizeof(m_data);
    Registry().QueryValueEx(start.get(), kCpuUsageValue, &type, m_data, &size);
  }
  RegKey data = 0;
  if (Registry().OpenKeyEx(kHkeyDynData, kStatData, kKeyRead, &data) == kRegSuccess) m_key = data;
}

std::int32_t clsCPUUsage::Query() {
  if (m_key) {
    // A failed read leaves the buffer as it was: the last figure is shown again.
    std::uint8_t buffer[4] = {m_data[0], m_data[1], m_data[2], m_data[3]};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof(buffer);
    if (Registry().QueryValueEx(*m_key, kCpuUsageValue, &type, buffer, &size) == kRegSuccess) {
      for (int i = 0; i < 4; ++i) m_data[i] = buffer[i];
    }
  }
  return m_data[0];
}

void clsCPUUsage::Terminate() {
  if (m_key) {
    Registry().CloseKey(*m_key);
    m_key.reset();
  }
  ScopedRegKey stop;
  if (Registry().OpenKeyEx(kHkeyDynData, kStopStat, kKeyAllAccess, stop.put()) != kRegSuccess) {
    return;
  }
  stop.Opened();
  std::uint32_t type = 0;
  std::uint32_t size = sizeof(m_data);
  Registry().QueryValueEx(stop.get(), kCpuUsageValue, &type, m_data, &size);
}

// --- The NT line ---

std::int32_t ProcessorUsagePercent(std::int64_t idleDifference, std::int64_t timeDifference,
                                   unsigned processors) {
  if (processors == 0) return -1;
  // The share in ten-thousandths: exact for a zero time difference, rounded otherwise.
  const double share =
      timeDifference != 0
          ? RoundToFourDecimals(static_cast<double>(idleDifference) / static_cast<double>(timeDifference))
          : static_cast<double>(idleDifference) / 10000.0;
  const double idlePercent = std::nearbyint(share * 10000.0) * 100.0 / 10000.0;
  const double usage = RoundToFourDecimals(100.0 - idlePercent / processors + 0.5);
  return static_cast<std::int32_t>(std::floor(usage));
}

void clsCPUUsageNT::Initialize() {
  std::int64_t time = 0;
  std::int64_t idle = 0;
  if (!m_system.SystemTime(&time) || !m_system.IdleTime(&idle)) return;
  m_previousIdle = idle;
  m_previousTime = time;
}

std::int32_t clsCPUUsageNT::Query() {
  std::uint8_t processors = 0;
  std::int64_t time = 0;
  std::int64_t idle = 0;
  if (!m_system.NumberOfProcessors(&processors) || !m_system.SystemTime(&time) ||
      !m_system.IdleTime(&idle)) {
    return -1;
  }
  if (processors == 0) return -1;
  const std::int32_t usage =
      ProcessorUsagePercent(idle - m_previousIdle, time - m_previousTime, processors);
  m_previousIdle = idle;
  m_previousTime = time;
  return usage;
}

}  // namespace quelvar
