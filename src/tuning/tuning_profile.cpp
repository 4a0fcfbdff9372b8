// The preset table, exactly as the program ships it (odd values included: "Windows default"
// has MSS 1500 and HTTP limits 2 and 4; "Automatic-D" RWIN 5432; "Automatic-G" 6400000).
#include "tuning/tuning_profile.h"

#include "base/text_util.h"

namespace quelvar {

TuningProfile g_TuningProfile;
std::array<TuningProfile, kPresetCount> TuningPresets;

const std::array<const char*, kPresetCount> kPresetCaptions = {
    "Automatic-A", "Automatic-B", "Automatic-C", "Automatic-D",
    "Automatic-E", "Automatic-F", "Automatic-G", "Windows default"};

namespace {
//                  MTU    MSS   RWIN    TTL KeepAlive  Interval SYN NDI  Disc  BlackH H10 H11 ICMP
constexpr std::array<TuningProfile, kPresetCount> kPresetTable = {{
    {576, 536, 4288, 128, 600000, 1000, 2, 0, true, false, 16, 8, false},
    {576, 536, -1, 128, 600000, 1000, 2, 0, true, false, 16, 8, false},
    {-1, -1, -1, 128, 600000, 1000, 2, 0, true, false, 16, 8, false},
    {576, 536, 5432, 64, 7200000, 1000, 2, 0, true, false, 20, 20, false},
    {1500, 1460, 256960, 64, 7200000, 1000, 2, 0, true, false, 20, 20, false},
    {1492, 1452, 255552, 64, 7200000, 1000, 2, 0, true, false, 20, 20, false},
    {1500, 1460, 256960, 32, 6400000, 1000, 2, 0, true, false, 20, 20, false},
    {1500, 1500, 8192, 32, 3600000, 1000, 2, 0, true, false, 2, 4, false},
}};
}  // namespace

void LoadTuningPresets() { TuningPresets = kPresetTable; }

std::optional<int> PresetIndexByName(std::string_view caption) {
  for (int i = 0; i < kPresetCount; ++i) {
    if (EqualsNoCase(caption, kPresetCaptions[static_cast<std::size_t>(i)])) return i;
  }
  return std::nullopt;
}

void LoadPreset(int index) {
  if (index < 0 || index >= kPresetCount) return;
  g_TuningProfile = TuningPresets[static_cast<std::size_t>(index)];
}

}  // namespace quelvar
