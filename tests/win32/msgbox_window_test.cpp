// The balloon boxes driven as a user would: each box runs on a thread of its own while the
// test finds its window, reads and clicks its real controls, and checks what the call returns.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>

#include "resource.h"
#include "ui/win32/msg_frm.h"

namespace quelvar {
namespace {

using Clock = std::chrono::steady_clock;

bool Eventually(const std::function<bool()>& condition, int timeoutMs = 5000) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Clock::now() < end) {
    if (condition()) return true;
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    ::Sleep(20);
  }
  return condition();
}

HWND VisibleBox(const std::string& caption) {
  HWND box = ::FindWindowA(kMsgFrmClass, caption.c_str());
  return box && ::IsWindowVisible(box) ? box : nullptr;
}

HWND FocusOf(HWND box) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(box, nullptr), &info);
  return info.hwndFocus;
}

// A modal box once it is on screen and active (its focus placed), ready for clicks.
HWND WaitForBox(const std::string& caption) {
  HWND box = nullptr;
  Eventually([&] {
    box = VisibleBox(caption);
    return box && ::GetForegroundWindow() == box && FocusOf(box) &&
           (FocusOf(box) == box || ::IsChild(box, FocusOf(box)));
  });
  return box;
}

std::string TextOf(HWND window) {
  char text[256] = {};
  ::SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

struct ChildSearch {
  std::string className;
  std::string text;
  int id = 0;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  char className[64] = {};
  ::GetClassNameA(child, className, sizeof(className));
  if (!::IsWindowVisible(child)) return TRUE;
  if (!search->className.empty() && lstrcmpiA(className, search->className.c_str()) != 0) {
    return TRUE;
  }
  if (search->id != 0 && ::GetDlgCtrlID(child) != search->id) return TRUE;
  if (!search->text.empty() && TextOf(child) != search->text) return TRUE;
  search->found.push_back(child);
  return TRUE;
}

std::vector<HWND> Children(HWND box, const std::string& className, const std::string& text = "",
                           int id = 0) {
  ChildSearch search{className, text, id, {}};
  ::EnumChildWindows(box, &CollectChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The visible push buttons' captions, left to right.
std::vector<std::string> ButtonCaptions(HWND box) {
  std::vector<std::pair<LONG, std::string>> buttons;
  for (HWND button : Children(box, "Button")) {
    const LONG_PTR type = ::GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) continue;
    RECT rect;
    ::GetWindowRect(button, &rect);
    buttons.emplace_back(rect.left, TextOf(button));
  }
  std::sort(buttons.begin(), buttons.end());
  std::vector<std::string> captions;
  for (const auto& b : buttons) captions.push_back(b.second);
  return captions;
}

HWND Button(HWND box, const std::string& caption) {
  const auto found = Children(box, "Button", caption);
  return found.empty() ? nullptr : found.front();
}

// Runs one modal box on its own thread; ends a box left open so a failed test cannot hang.
template <typename Result>
class BoxThread {
 public:
  explicit BoxThread(std::function<Result()> show)
      : m_thread([this, show] {
          m_threadId = ::GetCurrentThreadId();
          m_result = show();
          m_finished = true;
        }) {}
  ~BoxThread() {
    while (m_thread.joinable() && !m_finished) {
      if (m_threadId) ::PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
      ::Sleep(20);
    }
    if (m_thread.joinable()) m_thread.join();
  }
  bool Finished() { return Eventually([this] { return m_finished.load(); }); }
  Result result() {
    m_thread.join();
    return m_result;
  }

 private:
  std::atomic<bool> m_finished{false};
  std::atomic<DWORD> m_threadId{0};
  Result m_result{};
  std::thread m_thread;
};

TEST(MsgBoxWindow, NoFlagsShowsOneOkThatReturnsOne) {
  BoxThread<std::int16_t> box([] {
    return msg_Box("Plain message", 0, "Plain", false, "", "", "", "", 0, 300, 200, 0);
  });
  HWND window = WaitForBox("Plain");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ButtonCaptions(window), std::vector<std::string>{"OK"});
  EXPECT_TRUE(Children(window, "Button", "", IDX_MSGBOX_CHECK).empty());
  ::SendMessageA(Button(window, "OK"), BM_CLICK, 0, 0);
  ASSERT_TRUE(box.Finished());
  EXPECT_EQ(box.result(), 1);
  EXPECT_FALSE(::IsWindow(window));
}

TEST(MsgBoxWindow, DefaultButtonTwoFocusesNoAndCancelReturnsTwo) {
  BoxThread<std::int16_t> box([] {
    return msg_Box("Save the changes?", YesNoCancel + Question + DefaultButton2, "Three", false,
                   "", "", "", "", 0, 300, 200, 0);
  });
  HWND window = WaitForBox("Three");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ButtonCaptions(window), (std::vector<std::string>{"Yes", "No", "Cancel"}));
  ASSERT_TRUE(Eventually([&] { return FocusOf(window) == Button(window, "No"); }))
      << "focus on \"" << TextOf(FocusOf(window)) << "\"";
  EXPECT_EQ(::GetWindowLongPtrA(Button(window, "No"), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  ::SendMessageA(Button(window, "Cancel"), BM_CLICK, 0, 0);
  ASSERT_TRUE(box.Finished());
  EXPECT_EQ(box.result(), 2);
}

TEST(MsgBoxWindow, EnterPressesTheDefaultButtonAndEscapeMeansCancel) {
  {
    BoxThread<std::int16_t> box([] {
      return msg_Box("Keys", YesNoCancel + DefaultButton2, "Enter", false, "", "", "", "", 0,
                     300, 200, 0);
    });
    HWND window = WaitForBox("Enter");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(Eventually([&] { return FocusOf(window) != nullptr; }));
    ::PostMessageA(FocusOf(window), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(box.Finished());
    EXPECT_EQ(box.result(), 7);
  }
  {
    BoxThread<std::int16_t> box([] {
      return msg_Box("Keys", OKCancel, "Escape", false, "", "", "", "", 0, 300, 200, 0);
    });
    HWND window = WaitForBox("Escape");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(Eventually([&] { return FocusOf(window) != nullptr; }));
    ::PostMessageA(FocusOf(window), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(box.Finished());
    EXPECT_EQ(box.result(), 2);
  }
}

TEST(MsgBoxWindow, OneCustomButtonIsCentredAndReturnsOne) {
  BoxThread<std::int16_t> box([] {
    return msg_Box("Custom", CustomButtons, "Custom", false, "", "Go on", "", "", 0, 300, 200, 0);
  });
  HWND window = WaitForBox("Custom");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ButtonCaptions(window), std::vector<std::string>{"Go on"});
  HWND button = Button(window, "Go on");
  HWND panel = ::GetParent(button);
  RECT buttonRect, panelRect;
  ::GetWindowRect(button, &buttonRect);
  ::GetWindowRect(panel, &panelRect);
  EXPECT_LE(std::abs((buttonRect.left + buttonRect.right) - (panelRect.left + panelRect.right)), 2);
  ::SendMessageA(button, BM_CLICK, 0, 0);
  ASSERT_TRUE(box.Finished());
  EXPECT_EQ(box.result(), 1);
}

TEST(MsgBoxWindow, TickedCheckBoxAddsAHundred) {
  BoxThread<std::int16_t> box([] {
    return msg_Box("Check", YesNo, "Checked", false, "Do not ask again", "", "", "", 0, 300, 200,
                   0);
  });
  HWND window = WaitForBox("Checked");
  ASSERT_NE(window, nullptr);
  HWND check = ::GetDlgItem(::GetDlgItem(window, IDC_MSGBOX_PANEL), IDX_MSGBOX_CHECK);
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(TextOf(check), "Do not ask again");
  ::SendMessageA(check, BM_CLICK, 0, 0);
  ::SendMessageA(Button(window, "Yes"), BM_CLICK, 0, 0);
  ASSERT_TRUE(box.Finished());
  EXPECT_EQ(box.result(), 106);
}

TEST(MsgBoxWindow, BoxHangsFromItsPointByScreenQuarter) {
  const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenH = ::GetSystemMetrics(SM_CYSCREEN);
  const float x = static_cast<float>(screenW - 100);
  const float y = static_cast<float>(screenH - 100);
  BoxThread<std::int16_t> box([x, y] {
    return msg_Box("Lower right", 0, "Placed", false, "", "", "", "", 0, x, y, 0);
  });
  HWND window = WaitForBox("Placed");
  ASSERT_NE(window, nullptr);
  RECT rect;
  ::GetWindowRect(window, &rect);
  // Lower right quarter: right edge 42 pixels right of the point, bottom edge on it.
  EXPECT_EQ(rect.right, screenW - 100 + 42);
  EXPECT_EQ(rect.bottom, screenH - 100);
  // The shape holds the pointer's tip (next to the point) and the body, not the corner
  // beside the tip.
  HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(window, shape), ERROR);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  EXPECT_TRUE(::PtInRegion(shape, w - 42, h - 2));
  EXPECT_TRUE(::PtInRegion(shape, w / 2, h / 2));
  EXPECT_FALSE(::PtInRegion(shape, 2, h - 2));
  EXPECT_FALSE(::PtInRegion(shape, w - 2, 2));
  ::DeleteObject(shape);
  ::SendMessageA(Button(window, "OK"), BM_CLICK, 0, 0);
  ASSERT_TRUE(box.Finished());
}

TEST(InputBoxWindow, OkOnEmptyIsIgnoredAndCancelReturnsEmpty) {
  BoxThread<std::string> box([] {
    return input_box("Your name:", 0, "Input", "", false, "Remember", 0, 300, 200, 0);
  });
  HWND window = WaitForBox("Input");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ButtonCaptions(window), (std::vector<std::string>{"Cancel", "OK"}));
  ::SendMessageA(Button(window, "OK"), BM_CLICK, 0, 0);
  ::Sleep(200);
  EXPECT_TRUE(::IsWindowVisible(window)) << "OK closed the box with an empty text box";

  HWND edit = Children(window, "Edit").front();
  ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed"));
  ::SendMessageA(Children(window, "Button", "Remember").front(), BM_CLICK, 0, 0);
  ::SendMessageA(Button(window, "Cancel"), BM_CLICK, 0, 0);
  ASSERT_TRUE(box.Finished());
  EXPECT_EQ(box.result(), "");
}

TEST(InputBoxWindow, TickedCheckBoxAppendsTheNotSign) {
  EXPECT_EQ(NotSignText(), "\xAC");  // the test prefix runs code page 1252
  BoxThread<std::string> box([] {
    return input_box("Your name:", Information, "Input ticked", "", false, "Remember", 0, 300,
                     200, 0);
  });
  HWND window = WaitForBox("Input ticked");
  ASSERT_NE(window, nullptr);
  HWND edit = Children(window, "Edit").front();
  ASSERT_TRUE(Eventually([&] { return FocusOf(window) == edit; }));
  ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc"));
  ::SendMessageA(Children(window, "Button", "Remember").front(), BM_CLICK, 0, 0);
  ::SendMessageA(Button(window, "OK"), BM_CLICK, 0, 0);
  ASSERT_TRUE(box.Finished());
  EXPECT_EQ(box.result(), "abc" + NotSignText());
}

TEST(InputBoxWindow, DefaultTextIsReturnedOnOk) {
  BoxThread<std::string> box([] {
    return input_box("Host:", 0, "Input default", "127.0.0.1", false, "", 0, 300, 200, 0);
  });
  HWND window = WaitForBox("Input default");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(Children(window, "Button", "", IDX_MSGBOX_CHECK).empty());
  ::SendMessageA(Button(window, "OK"), BM_CLICK, 0, 0);
  ASSERT_TRUE(box.Finished());
  EXPECT_EQ(box.result(), "127.0.0.1");
}

TEST(MsgAutoBoxWindow, ReturnsAtOnceAndClosesItselfAfterItsTime) {
  const auto start = Clock::now();
  EXPECT_EQ(MsgAuto_box("The Program Still Running Here", Information, "Auto", 5, true,
                        RGB(242, 248, 200), 500, 400, 0),
            "");
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
  HWND window = VisibleBox("Auto");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(Children(window, "Button", "Close").size(), 0u);
  EXPECT_TRUE(Children(window, "Button", "OK").empty());

  // Still there after two seconds, gone well before fifteen (this thread runs its timer).
  EXPECT_FALSE(Eventually([&] { return !::IsWindow(window); }, 2000));
  EXPECT_TRUE(Eventually([&] { return !::IsWindow(window); }, 13000));
  EXPECT_GE(Clock::now() - start, std::chrono::seconds(4));
}

TEST(MsgAutoBoxWindow, CloseButtonEndsTheNoticeAtOnce) {
  MsgAuto_box("Closing", 0, "Auto close", 30, true, 0, 500, 400, 0);
  HWND window = VisibleBox("Auto close");
  ASSERT_NE(window, nullptr);
  ::SendMessageA(Children(window, "Button", "Close").front(), BM_CLICK, 0, 0);
  EXPECT_TRUE(Eventually([&] { return !::IsWindow(window); }, 2000));
}

}  // namespace
}  // namespace quelvar
