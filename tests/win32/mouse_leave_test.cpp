// TrackMouseLeave with each fallback forced (one process per case, as CTest runs them, so the
// hidden entries are read fresh): a plain window, which asks for nothing itself, gets exactly
// a WM_MOUSELEAVE after its last WM_MOUSEMOVE once the mouse has left it, never two in a row,
// through user32, comctl32 or the cursor timer.
#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>

#include "base/win32/mouse_leave.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

struct LeaveCase {
  const char* hidden;
  MouseLeaveMethod method;
};

void PrintTo(const LeaveCase& c, std::ostream* out) { *out << (*c.hidden ? c.hidden : "nothing") << " hidden"; }

int g_leaves = 0;
bool g_hot = false;          // a move came after the last leave
bool g_doubleLeave = false;  // a leave came with no move before it

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEMOVE) {
    g_hot = true;
    TrackMouseLeave(window);
  } else if (message == WM_MOUSELEAVE) {
    if (!g_hot) g_doubleLeave = true;
    g_hot = false;
    ++g_leaves;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

class MouseLeave : public ::testing::TestWithParam<LeaveCase> {};

TEST_P(MouseLeave, ALeaveEndsEveryHover) {
  ::SetEnvironmentVariableA("QUELVAR_HIDE_API", GetParam().hidden);
  EXPECT_EQ(CurrentMouseLeaveMethod(), GetParam().method);

  WNDCLASSA plain{};
  plain.lpfnWndProc = &PlainProc;
  plain.hInstance = ::GetModuleHandleA(nullptr);
  plain.lpszClassName = "QuelvarMouseLeaveTest";
  plain.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  ::RegisterClassA(&plain);
  HWND window = ::CreateWindowExA(WS_EX_TOPMOST, plain.lpszClassName, "leave", WS_POPUP | WS_VISIBLE,
                                  100, 100, 200, 150, nullptr, nullptr, plain.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  ::SetForegroundWindow(window);
  MoveMouseTo(500, 500);
  WaitUntil([] { return false; }, Milliseconds{200});
  g_leaves = 0;
  MoveMouseTo(150, 150);
  MoveMouseTo(160, 160);
  WaitUntil([] { return false; }, Milliseconds{300});
  EXPECT_EQ(g_leaves, 0) << "a leave while the mouse is inside";
  MoveMouseTo(600, 500);
  EXPECT_TRUE(WaitUntil([] { return g_leaves > 0; }, Milliseconds{3000})) << "no WM_MOUSELEAVE";
  WaitUntil([] { return false; }, Milliseconds{4 * kMouseLeavePollMs});
  EXPECT_FALSE(g_hot) << "the last message was a move: the window stays hot";
  EXPECT_FALSE(g_doubleLeave);
  ::DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(
    Fallbacks, MouseLeave,
    ::testing::Values(LeaveCase{"", MouseLeaveMethod::User32},
                      LeaveCase{"TrackMouseEvent", MouseLeaveMethod::Comctl32},
                      LeaveCase{"TrackMouseEvent,_TrackMouseEvent", MouseLeaveMethod::Timer}),
    [](const ::testing::TestParamInfo<LeaveCase>& info) {
      return std::string(info.param.method == MouseLeaveMethod::User32     ? "User32"
                         : info.param.method == MouseLeaveMethod::Comctl32 ? "Comctl32"
                                                                           : "Timer");
    });

}  // namespace
}  // namespace quelvar
