// Win32 clock service; see win32_clock.h.
#include "base/win32/win32_clock.h"

#include <windows.h>

namespace quelvar {

LocalDateTime Win32Clock::Now() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace quelvar
