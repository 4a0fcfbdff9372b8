// Classification of the running Windows version into the program-wide OsFamily code.
// The codes are stored in backup files, so their numbering is a file format.
#pragma once
#include <cstdint>
#include <optional>

namespace quelvar {

// What the version query reports; all zero when the query failed.
struct WindowsVersionRecord {
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
};

// Raw codes: 0 unrecognised, 1 Windows 95, 2 Windows 98, 3 Windows ME,
// 4 Windows NT, 5 Windows 2000, 6 Windows XP.
std::int16_t GetWindowsVersion(const WindowsVersionRecord& record);

// The process-wide code 1..7, set once at start-up (0 until then).
extern std::int16_t OsFamily;

// OsFamily = GetWindowsVersion + 1.
void setOsFamily(const WindowsVersionRecord& record);

// The two lines every consumer splits the codes into.
constexpr bool IsNineFiveLine(int family) { return family >= 1 && family <= 4; }
constexpr bool IsNtLine(int family) { return family >= 5 && family <= 7; }

// True when the platform identifier is the NT one (2).
bool IsWindowsNT(const WindowsVersionRecord& record);

}  // namespace quelvar
