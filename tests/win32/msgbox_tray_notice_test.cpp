// Starting in the tray on the 95 line: the main window stays hidden and the self-closing
// balloon notice comes up at the lower right corner of the screen, where the tray is.
#include <gtest/gtest.h>

#include <string>

#include "resource.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

constexpr const char* kMainSettingsKey = "SOFTWARE\\Brannoc\\Quelvar\\Settings\\MainSettings";

// Sets chkRunProgramMini for the test and puts the earlier value (or its absence) back.
class ScopedRunInTray {
 public:
  ScopedRunInTray() {
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMainSettingsKey, 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &m_key, nullptr);
    char old[64] = {};
    DWORD size = sizeof(old);
    DWORD type = 0;
    m_hadValue = m_key && ::RegQueryValueExA(m_key, "chkRunProgramMini", nullptr, &type,
                                             reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
    if (m_hadValue) m_old = old;
    m_ok = m_key && ::RegSetValueExA(m_key, "chkRunProgramMini", 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>("1"), 2) == ERROR_SUCCESS;
  }
  ~ScopedRunInTray() {
    if (!m_key) return;
    if (m_hadValue) {
      ::RegSetValueExA(m_key, "chkRunProgramMini", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(m_old.c_str()),
                       static_cast<DWORD>(m_old.size() + 1));
    } else {
      ::RegDeleteValueA(m_key, "chkRunProgramMini");
    }
    ::RegCloseKey(m_key);
  }
  bool Ok() const { return m_ok; }

 private:
  HKEY m_key = nullptr;
  bool m_hadValue = false;
  bool m_ok = false;
  std::string m_old;
};

TEST(TrayNoticeTest, NinetyFiveLineStartInTrayShowsTheNoticeAtTheLowerRight) {
  ScopedWineVersion win98("Quelvar.exe", "win98");
  ASSERT_TRUE(win98.Ok());
  ScopedRunInTray runInTray;
  ASSERT_TRUE(runInTray.Ok());

  Process quelvar = Process::Start(QuelvarExePath());
  ASSERT_TRUE(quelvar.Started()) << "CreateProcess error " << quelvar.StartError();
  HWND notice = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    notice = ::FindWindowA("msgFrm", "Program notification");
    return notice && ::IsWindowVisible(notice);
  }, Milliseconds{15000})) << "no notice appeared";

  EXPECT_EQ(GetText(FindChildById(notice, IDC_MSGBOX_PROMPT)), "The Program Still Running Here");
  EXPECT_EQ(FindChild(notice, "OK"), nullptr);
  EXPECT_TRUE(::GetWindowLongPtrA(notice, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Placed against the point 40 pixels left of the right edge on the bottom edge: the box
  // stands above and to the left of it, its right edge 42 pixels past the point.
  RECT rect;
  ::GetWindowRect(notice, &rect);
  const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenH = ::GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(rect.right, screenW - 40 + 42);
  EXPECT_EQ(rect.bottom, screenH);
  EXPECT_GT(rect.left, screenW / 2);

  HWND main = ::FindWindowA("QuelvarMain", "Quelvar");
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(::IsWindowVisible(main)) << "started in the tray";
  EXPECT_TRUE(SaveScreenshot(ScreenshotPath("msgbox-tray-notice")));

  // The notice closes itself after its five seconds; the program keeps running.
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(notice); }, Milliseconds{15000}));
  EXPECT_TRUE(quelvar.IsRunning());
  quelvar.Close();
}

}  // namespace
}  // namespace quelvar
