// The tuning profile (the thirteen values an apply writes) and the eight fixed presets
// that wizard mode copies into it. Both are program-wide values of the tuning module.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quelvar {

struct TuningProfile {
  std::int32_t MTU = 0;                // -1: remove per-adapter MTU and MSS instead of writing
  std::int32_t MSS = 0;
  std::int32_t RWIN = 0;               // -1: remove the receive window values instead
  std::int32_t TTL = 0;
  std::int32_t KeepAliveTime = 0;      // milliseconds
  std::int32_t KeepAliveInterval = 0;  // milliseconds
  std::int16_t SYNProtect = 0;         // level 0, 1 or 2
  std::int32_t NDICacheSize = 0;
  bool MTUDiscovery = false;
  bool BlackHoleDetect = false;
  std::int32_t HTTP10Connections = 0;
  std::int32_t HTTP11Connections = 0;
  bool ICMPRedirect = false;

  friend bool operator==(const TuningProfile&, const TuningProfile&) = default;
};

constexpr int kPresetCount = 8;

// The profile an apply writes; zero until a preset or advanced mode fills it.
extern TuningProfile g_TuningProfile;
// Filled once at start-up by LoadTuningPresets.
extern std::array<TuningProfile, kPresetCount> TuningPresets;

// Captions of the presets by index ("Automatic-A" ... "Windows default").
extern const std::array<const char*, kPresetCount> kPresetCaptions;

void LoadTuningPresets();
// The preset index of a mode caption, letter case ignored ("windows default" finds 7).
std::optional<int> PresetIndexByName(std::string_view caption);
// Copies preset `index` (0..7) over the whole profile; other indices leave it unchanged.
void LoadPreset(int index);

}  // namespace quelvar
