// The main window at a high dpi on a small screen: at 144 dpi on Wine's 1024 x 768 desktop it
// lies wholly inside the work area, its close button on screen and its foot above the taskbar.
#include <gtest/gtest.h>

#include <windows.h>

#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

constexpr const char* kDesktopKey = "Control Panel\\Desktop";

// Wine's screen dpi for programs started while the object lives; the old setting comes back.
class ScopedLogPixels {
 public:
  explicit ScopedLogPixels(DWORD dpi) {
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &m_key,
                          nullptr) != ERROR_SUCCESS) {
      return;
    }
    DWORD size = sizeof(m_old);
    m_had = ::RegQueryValueExA(m_key, "LogPixels", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&m_old), &size) == ERROR_SUCCESS;
    m_ok = Set(dpi);
  }
  ~ScopedLogPixels() {
    if (!m_key) return;
    if (m_had) {
      Set(m_old);
    } else {
      ::RegDeleteValueA(m_key, "LogPixels");
    }
    ::RegCloseKey(m_key);
  }
  bool Ok() const { return m_ok; }

 private:
  bool Set(DWORD dpi) {
    return ::RegSetValueExA(m_key, "LogPixels", 0, REG_DWORD, reinterpret_cast<BYTE*>(&dpi),
                            sizeof(dpi)) == ERROR_SUCCESS;
  }
  HKEY m_key = nullptr;
  DWORD m_old = 96;
  bool m_had = false;
  bool m_ok = false;
};

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

TEST(MainWindowDpiTest, At144DpiTheWindowFitsTheWorkArea) {
  ScopedLogPixels dpi(144);
  ASSERT_TRUE(dpi.Ok());
  Process quelvar = Process::Start(QuelvarExePath());
  ASSERT_TRUE(quelvar.Started()) << "CreateProcess error " << quelvar.StartError();
  HWND main = WaitForWindow("Quelvar", Milliseconds{15000}, quelvar.Id());
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return FindChild(main, "Close") != nullptr; }));
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("main-144dpi")));

  RECT work{};
  ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  RECT window{};
  ::GetWindowRect(main, &window);
  EXPECT_TRUE(Inside(window, work)) << window.left << "," << window.top << " - " << window.right
                                    << "," << window.bottom;
  RECT close{};
  ::GetWindowRect(FindChild(main, "Close"), &close);
  EXPECT_TRUE(Inside(close, work));
  // Laid out larger than at 96 dpi (714 x 499), not merely left small.
  EXPECT_GT(window.right - window.left, 900);
  EXPECT_TRUE(quelvar.Close());
}

}  // namespace
}  // namespace quelvar
