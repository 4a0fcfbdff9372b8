// The only Win32 side of the version classification: one GetVersionExA call.
#include "base/win32/windows_version.h"

#include <windows.h>

namespace quelvar {

WindowsVersionRecord QueryWindowsVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);  // 148 bytes
  WindowsVersionRecord record;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  // The result is not tested: on failure the record stays zero, which is unrecognised.
  ::GetVersionExA(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  record.majorVersion = info.dwMajorVersion;
  record.minorVersion = info.dwMinorVersion;
  record.buildNumber = info.dwBuildNumber;
  record.platformId = info.dwPlatformId;
  return record;
}

}  // namespace quelvar
