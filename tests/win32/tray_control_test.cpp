// The tray control against Wine's real notification area: the icon goes in and out, the
// record is the second-version size, a bitmap becomes a 32 by 32 icon, the icon's mouse
// notifications raise the host's events with the busy flag, and a shell restart re-adds.
#include "ui/win32/tray.h"

#include <gtest/gtest.h>

#include "win32/ui_test_lib.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quelvar {
namespace {

struct RecordingEvents : TrayEvents {
  std::vector<std::string> raised;
  void LeftClick() override { raised.push_back("LeftClick"); }
  void RightClick() override { raised.push_back("RightClick"); }
  void MouseClick(int Button) override { raised.push_back("MouseClick " + std::to_string(Button)); }
};

// Runs this thread's messages until the condition holds or the time-out passes.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 2000) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    if (condition()) return true;
    if (::GetTickCount() - start > timeoutMs) return false;
    ::Sleep(5);
  }
}

using uitest::ShellHasIcon;
static_assert(kTrayIconId == 1, "the probe asks for the icon (window, 1)");

class TrayControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_host = ::CreateWindowExA(0, "STATIC", "Tray host", WS_POPUP, 0, 0, 200, 200, nullptr,
                               nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(m_host, nullptr);
    ASSERT_TRUE(tray.Create(m_host, events, 4, 4, 1200));
    tray.SetTrayImage(::LoadIconA(nullptr, MAKEINTRESOURCEA(32512)));  // IDI_APPLICATION
  }
  void TearDown() override {
    tray.Show(false);
    tray.Destroy();
    if (m_host) ::DestroyWindow(m_host);
  }
  void Notify(UINT mouseMessage) {
    ::SendMessageA(tray.hwnd(), kTrayCallbackMessage, kTrayIconId, mouseMessage);
  }

  HWND m_host = nullptr;
  RecordingEvents events;
  Tray tray;
};

TEST_F(TrayControlTest, ShowAddsTheIconToTheShellAndFalseRemovesIt) {
  tray.SetTrayToolTip("Quelvar test");
  tray.Show(true);
  EXPECT_TRUE(tray.IsVisible());
  EXPECT_TRUE(ShellHasIcon(tray.hwnd()));

  const NOTIFYICONDATAA& record = tray.Record();
  EXPECT_EQ(record.cbSize, offsetof(NOTIFYICONDATAA, guidItem));
  EXPECT_EQ(record.hWnd, tray.hwnd());
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.uCallbackMessage, 0x200u);
  EXPECT_EQ(record.hIcon, tray.TrayImage());
  EXPECT_STREQ(record.szTip, " Quelvar test ");

  tray.Show(false);
  EXPECT_FALSE(tray.IsVisible());
  EXPECT_FALSE(ShellHasIcon(tray.hwnd()));
}

TEST_F(TrayControlTest, BalloonFillsTheInfoFields) {
  tray.Show(true);
  tray.SetTrayToolTip("Quelvar");
  tray.SetTrayBalloonToolTip("Still running");
  tray.showBalloonoolTip(true);
  const NOTIFYICONDATAA& record = tray.Record();
  EXPECT_EQ(record.uFlags, 0x17u);
  EXPECT_STREQ(record.szInfo, "Still running");
  EXPECT_EQ(record.szInfo[14], ' ');
  EXPECT_STREQ(record.szInfoTitle, "Quelvar");
  EXPECT_EQ(record.szInfoTitle[8], ' ');
  EXPECT_EQ(record.dwInfoFlags, 1u);
  EXPECT_EQ(record.uTimeout, 1u);
  EXPECT_TRUE(ShellHasIcon(tray.hwnd()));
}

TEST_F(TrayControlTest, BitmapsBecomeIconsOf32By32) {
  for (int side : {16, 32, 48}) {
    HDC screen = ::GetDC(nullptr);
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, side, side));
    ::ReleaseDC(nullptr, screen);
    ASSERT_TRUE(bitmap);
    tray.SetTrayImage(bitmap.get());
    ASSERT_NE(tray.TrayImage(), nullptr) << side;
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(tray.TrayImage(), &info)) << side;
    UniqueBitmap color(info.hbmColor);
    UniqueBitmap mask(info.hbmMask);
    EXPECT_TRUE(info.fIcon) << side;
    BITMAP colorBits{};
    ASSERT_TRUE(::GetObjectA(info.hbmColor, sizeof(colorBits), &colorBits)) << side;
    EXPECT_EQ(colorBits.bmWidth, 32) << side;
    EXPECT_EQ(colorBits.bmHeight, 32) << side;
  }
  tray.Show(true);
  EXPECT_TRUE(ShellHasIcon(tray.hwnd()));
}

TEST_F(TrayControlTest, CursorsBecomeIconsAndIconsStayAsGiven) {
  const HICON icon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32516));  // IDI_ASTERISK
  tray.SetTrayImage(icon);
  EXPECT_EQ(tray.TrayImage(), icon);

  const HCURSOR cursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  tray.SetTrayImage(cursor);
  ASSERT_NE(tray.TrayImage(), nullptr);
  EXPECT_NE(tray.TrayImage(), cursor);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(tray.TrayImage(), &info));
  UniqueBitmap color(info.hbmColor);
  UniqueBitmap mask(info.hbmMask);
  EXPECT_TRUE(info.fIcon);

  tray.SetTrayImage(nullptr);
  EXPECT_EQ(tray.TrayImage(), nullptr);
}

TEST_F(TrayControlTest, NotificationsRaiseEventsAndBusyDropsASecondClick) {
  tray.Show(true);
  Notify(WM_LBUTTONDOWN);
  Notify(WM_RBUTTONDOWN);  // within 15 ms: dropped
  EXPECT_EQ(events.raised, std::vector<std::string>{"LeftClick"});
  EXPECT_TRUE(tray.IsBusy());

  ASSERT_TRUE(PumpUntil([this] { return !tray.IsBusy(); }));
  Notify(WM_LBUTTONUP);
  Notify(WM_LBUTTONDBLCLK);
  Notify(WM_RBUTTONDOWN);
  EXPECT_EQ(events.raised, (std::vector<std::string>{"LeftClick", "RightClick"}));

  ASSERT_TRUE(PumpUntil([this] { return !tray.IsBusy(); }));
  tray.SetEventMode(1);
  Notify(WM_RBUTTONDOWN);
  EXPECT_EQ(events.raised.back(), "MouseClick 2");
  EXPECT_EQ(events.raised.size(), 3u);
}

TEST_F(TrayControlTest, RealMouseMovesOverTheFaceAreNotNotifications) {
  // Key flags MK_LBUTTON (1) and a point inside the face: an ordinary move.
  ::SendMessageA(tray.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 0));
  ::SendMessageA(tray.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  // A move with the right button held whose point reads as a button-down's number: only
  // the icon's identifier in wParam tells a notification from it.
  ::SendMessageA(tray.hwnd(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(WM_LBUTTONDOWN, 0));
  EXPECT_TRUE(events.raised.empty());
  EXPECT_FALSE(tray.IsBusy());
}

TEST_F(TrayControlTest, ShellRestartAddsTheShownIconAgain) {
  tray.Show(true);
  // The shell forgets every icon when it restarts.
  NOTIFYICONDATAA forget = tray.Record();
  ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &forget));
  ASSERT_FALSE(ShellHasIcon(tray.hwnd()));

  const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
  ASSERT_NE(tray.ShellWatcher(), nullptr);
  EXPECT_EQ(::GetParent(tray.ShellWatcher()), nullptr);
  ::SendMessageA(tray.ShellWatcher(), taskbarCreated, 0, 0);
  EXPECT_TRUE(ShellHasIcon(tray.hwnd()));
  EXPECT_TRUE(tray.IsVisible());

  tray.Show(false);
  ::SendMessageA(tray.ShellWatcher(), taskbarCreated, 0, 0);
  EXPECT_FALSE(ShellHasIcon(tray.hwnd()));
}

TEST_F(TrayControlTest, FaceStaysAt36By36) {
  ::SetWindowPos(tray.hwnd(), nullptr, 10, 12, 120, 80, SWP_NOZORDER);
  RECT bounds{};
  ::GetWindowRect(tray.hwnd(), &bounds);
  EXPECT_EQ(bounds.right - bounds.left, 36);
  EXPECT_EQ(bounds.bottom - bounds.top, 36);
  ::MoveWindow(tray.hwnd(), 0, 0, 5, 5, TRUE);
  ::GetWindowRect(tray.hwnd(), &bounds);
  EXPECT_EQ(bounds.right - bounds.left, 36);
}

TEST_F(TrayControlTest, DestroyingTheControlTakesItsIconAlong) {
  tray.Show(true);
  const HWND window = tray.hwnd();
  ASSERT_TRUE(ShellHasIcon(window));
  tray.Destroy();
  // The shell keys icons by window and identifier; the window is gone, so ask by its value.
  EXPECT_FALSE(ShellHasIcon(window));
}

}  // namespace
}  // namespace quelvar
