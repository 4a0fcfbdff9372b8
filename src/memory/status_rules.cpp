// The system status window's rules; see status_rules.h.
#include "memory/status_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quelvar {

namespace {

// value / 1024 to the nearest whole number, ties to even.
std::int64_t DivideBy1024(std::int64_t value) {
  const bool negative = value < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::uint64_t quotient = magnitude / 1024;
  const std::uint64_t remainder = magnitude % 1024;
  if (remainder > 512 || (remainder == 512 && quotient % 2 == 1)) ++quotient;
  const auto result = static_cast<std::int64_t>(quotient);
  return negative ? -result : result;
}

// The largest whole number of megabytes whose byte count fits a signed 32-bit number.
constexpr int kLargest32BitRequestMB = 2047;

}  // namespace

std::int64_t BytesToMegabytes(std::int64_t bytes) { return DivideBy1024(DivideBy1024(bytes)); }

std::optional<double> MemorySample(std::int64_t freeMB, std::int64_t totalMB) {
  if (totalMB == 0) return std::nullopt;
  return static_cast<double>(freeMB) / static_cast<double>(totalMB) * 100.0;
}

std::string FormatGraphValue(double value) {
  char text[64] = {};
  std::snprintf(text, sizeof text, "%.4f", value);
  std::string result = text;
  result.erase(result.find_last_not_of('0') + 1);
  if (result.back() == '.') result.pop_back();
  if (result == "-0") result = "0";
  return result;
}

std::string ProcessorCaption(double value) {
  return "Processor usage (" + FormatGraphValue(value) + "%).";
}

std::string MemoryCaption(double value) {
  return "Memory Usage (" + FormatGraphValue(value) + "%).";
}

std::string TrayMemoryTip(bool inPercent, double memoryValue, std::int64_t freeMB) {
  if (inPercent) return MemoryCaption(memoryValue);
  return "Memory Usage (" + std::to_string(freeMB) + "MB).";
}

namespace {

// "d.dU" below 9.95 units, else "dddU" below 999.5 units, else the same in the next unit;
// each unit is 1024 of the one before, the first a gigabyte. Rounded half up, exactly.
std::string ScaledFigure(std::uint64_t megabytes) {
  static constexpr char kUnits[] = {'G', 'T', 'P', 'E', 'Z', 'Y'};
  std::uint64_t divisor = 1024;
  for (std::size_t unit = 0; unit < sizeof kUnits; ++unit, divisor *= 1024) {
    const std::uint64_t quotient = megabytes / divisor;
    const std::uint64_t rest = megabytes % divisor;
    const std::uint64_t tenths = quotient * 10 + (rest * 10 + divisor / 2) / divisor;
    if (tenths < 100) {
      return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + kUnits[unit];
    }
    const std::uint64_t whole = quotient + (rest >= (divisor + 1) / 2 ? 1 : 0);
    if (whole < 1000 || unit + 1 == sizeof kUnits) return std::to_string(whole) + kUnits[unit];
  }
  return {};
}

}  // namespace

std::string TrayFigureText(bool inPercent, double memoryValue, std::int64_t freeMB) {
  if (inPercent) {
    const double whole = std::floor(std::clamp(memoryValue, 0.0, 100.0));
    return std::to_string(static_cast<int>(whole)) + "%";
  }
  if (freeMB < 1000) return std::to_string(std::max<std::int64_t>(freeMB, 0));
  return ScaledFigure(static_cast<std::uint64_t>(freeMB));
}

std::string FreeChangeText(const FreeChange& change) {
  return "Free memory: " + std::to_string(change.beforeMB) + " MB -> " +
         std::to_string(change.afterMB) + " MB";
}

int SamplingInterval(int position) { return 1300 - position; }

FreeAmountLimit FreeAmountSliderLimit(std::int64_t totalMB, unsigned pointerBits) {
  // A 64-bit request holds any machine's memory; the slider's own range is an int.
  const std::int64_t largest = pointerBits <= 32 ? kLargest32BitRequestMB : INT32_MAX;
  FreeAmountLimit limit;
  limit.capped = totalMB > largest;
  limit.megabytes = static_cast<int>(std::clamp<std::int64_t>(totalMB, 0, largest));
  return limit;
}

std::string FreeAmountToolTip(int megabytes, const FreeAmountLimit& limit) {
  std::string tip = std::to_string(megabytes) + " MB to free when Optimize is clicked";
  if (limit.capped) {
    tip += " (at most " + std::to_string(limit.megabytes) + " MB can be freed at once)";
  }
  return tip;
}

std::string TargetLevelText(int megabytes) {
  return "Target Level Of RAM " + std::to_string(megabytes) + "MB.";
}

}  // namespace quelvar
