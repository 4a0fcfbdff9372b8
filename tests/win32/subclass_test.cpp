// The subclassing helper against real windows: hooks chain newest first, each unhooks only
// itself in any order, a procedure someone else put on top survives, and hooks let go when
// the window is destroyed.
#include "base/win32/subclass.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "base/win32/failure_net.h"

namespace quelvar {
namespace {

constexpr UINT kProbe = WM_APP + 7;
std::string g_trail;

LRESULT CALLBACK OriginalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) {
    g_trail += "window";
    return 1;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

WNDPROC g_belowForeign = nullptr;
LRESULT CALLBACK ForeignProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) g_trail += "foreign,";
  return ::CallWindowProcA(g_belowForeign, window, message, wParam, lParam);
}

class SubclassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &OriginalProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuelvarSubclassTest";
    ::RegisterClassA(&wc);
    m_window = ::CreateWindowExA(0, "QuelvarSubclassTest", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, wc.hInstance, nullptr);
    ASSERT_NE(m_window, nullptr);
  }
  void TearDown() override {
    if (::IsWindow(m_window)) ::DestroyWindow(m_window);
  }

  Subclass::Handler Named(const char* name) {
    return [name](Subclass& hook, UINT message, WPARAM wParam, LPARAM lParam) {
      if (message == kProbe) g_trail += std::string(name) + ",";
      return hook.CallNext(message, wParam, lParam);
    };
  }
  std::string Trail() {
    g_trail.clear();
    ::SendMessageA(m_window, kProbe, 0, 0);
    return g_trail;
  }
  WNDPROC Procedure() const {
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_window, GWLP_WNDPROC));
  }

  HWND m_window = nullptr;
};

TEST_F(SubclassTest, EachHookUnhooksOnlyItselfInAnyOrder) {
  Subclass a, b, c;
  ASSERT_TRUE(a.Hook(m_window, Named("a")));
  ASSERT_TRUE(b.Hook(m_window, Named("b")));
  ASSERT_TRUE(c.Hook(m_window, Named("c")));
  EXPECT_EQ(Trail(), "c,b,a,window");
  b.Unhook();  // the middle one first
  EXPECT_EQ(Trail(), "c,a,window");
  c.Unhook();
  EXPECT_EQ(Trail(), "a,window");
  a.Unhook();
  EXPECT_EQ(Trail(), "window");
  EXPECT_EQ(Procedure(), &OriginalProc);
}

TEST_F(SubclassTest, AProcedurePutOnTopByOthersSurvivesTheUnhook) {
  Subclass a;
  ASSERT_TRUE(a.Hook(m_window, Named("a")));
  g_belowForeign = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
  EXPECT_EQ(Trail(), "foreign,a,window");
  a.Unhook();
  EXPECT_EQ(Procedure(), &ForeignProc);
  EXPECT_EQ(Trail(), "foreign,window");
}

TEST_F(SubclassTest, HooksLetGoWhenTheWindowIsDestroyed) {
  Subclass a;
  ASSERT_TRUE(a.Hook(m_window, Named("a")));
  ASSERT_NE(Subclass::HookForLife(m_window, Named("life")), nullptr);
  EXPECT_EQ(Trail(), "life,a,window");
  ::DestroyWindow(m_window);
  EXPECT_FALSE(a.IsHooked());
  a.Unhook();  // nothing left to do, and nothing breaks
}

TEST_F(SubclassTest, AFailingHandlerNeitherEscapesNorStopsTheWindow) {
  Subclass a;
  ASSERT_TRUE(a.Hook(m_window, [](Subclass&, UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == kProbe) throw std::runtime_error("hook failed");
    return 0;
  }));
  EXPECT_EQ(::SendMessageA(m_window, kProbe, 0, 0), 0);
  EXPECT_EQ(FirstFailure(), "hook failed");
  a.Unhook();
  EXPECT_EQ(Trail(), "window");
}

}  // namespace
}  // namespace quelvar
