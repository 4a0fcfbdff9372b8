// The system status window's arithmetic and texts, without a window: megabyte figures, the
// memory sample, the captions, the tray tool tip, the speed sliders and the amount slider.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace quelvar {

// Bytes to kilobytes to megabytes, each step rounded to the nearest whole number (ties to
// even), 64 bits wide.
std::int64_t BytesToMegabytes(std::int64_t bytes);

// The memory graph's sample: the free share of physical memory in percent; nothing when the
// total is 0 (the graph keeps its last value).
std::optional<double> MemorySample(std::int64_t freeMB, std::int64_t totalMB);

// A graph value as the captions write it: at most four decimals, no trailing zeros
// ("23.4375", "33.3333", "50", "-1").
std::string FormatGraphValue(double value);

// "Processor usage (12%)." and "Memory Usage (23.4375%).".
std::string ProcessorCaption(double value);
std::string MemoryCaption(double value);

// The tray tool tip: the memory caption in percent, else "Memory Usage (120MB).".
std::string TrayMemoryTip(bool inPercent, double memoryValue, std::int64_t freeMB);

// What the tray icon shows for free memory, in at most four characters so that it stays
// legible at 16 by 16 pixels. In percent: the whole percent, rounded down ("87%", "100%" only
// when everything is free). In megabytes: up to 999 as is ("412"); then gigabytes of 1024 MB
// to the nearest tenth ("1.0G", "9.8G" for 9999 MB) and, from 9.95 on, to the nearest whole
// ("10G", "23G"), and the same again in terabytes ("1.5T", "12T") and beyond. Never below 0.
std::string TrayFigureText(bool inPercent, double memoryValue, std::int64_t freeMB);

// How a free changed the free memory, in megabytes.
struct FreeChange {
  std::int64_t beforeMB = 0;
  std::int64_t afterMB = 0;
};
// "Free memory: 412 MB -> 655 MB": the arrow is written "->", which the ANSI labels of every
// code page show.
std::string FreeChangeText(const FreeChange& change);

// A speed slider's position (300..1000) as its timer's interval: further right is faster.
int SamplingInterval(int position);

// The amount slider's upper limit: the total memory, but never more than one request can
// ask for (2047 MB where a byte count is 32 bits wide).
struct FreeAmountLimit {
  int megabytes = 0;
  bool capped = false;  // the total memory is more than one request can hold
};
FreeAmountLimit FreeAmountSliderLimit(std::int64_t totalMB, unsigned pointerBits);

// The amount slider's tool tip and the label above it, for the position `megabytes`.
std::string FreeAmountToolTip(int megabytes, const FreeAmountLimit& limit);
std::string TargetLevelText(int megabytes);

}  // namespace quelvar
