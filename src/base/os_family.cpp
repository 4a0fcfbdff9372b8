// The version decision table: platform 1 decides by minor version alone, platform 2 by
// major then minor; everything else is unrecognised and takes the 95-line road.
#include "base/os_family.h"

namespace quelvar {

std::int16_t OsFamily = 0;

namespace {
constexpr std::uint32_t kPlatformWindows = 1;
constexpr std::uint32_t kPlatformNt = 2;
}  // namespace

std::int16_t GetWindowsVersion(const WindowsVersionRecord& record) {
  if (record.platformId == kPlatformWindows) {
    switch (record.minorVersion) {
      case 0: return 1;
      case 10: return 2;
      case 90: return 3;
      default: return 0;
    }
  }
  if (record.platformId == kPlatformNt) {
    if (record.majorVersion < 5) return 4;
    if (record.majorVersion == 5) {
      if (record.minorVersion == 0) return 5;
      if (record.minorVersion == 1) return 6;
    }
    return 0;
  }
  return 0;
}

void setOsFamily(const WindowsVersionRecord& record) {
  OsFamily = static_cast<std::int16_t>(GetWindowsVersion(record) + 1);
}

bool IsWindowsNT(const WindowsVersionRecord& record) { return record.platformId == kPlatformNt; }

}  // namespace quelvar
