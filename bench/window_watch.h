// Looking at another program's windows from outside, for the bench programs: its visible
// top-level windows, whether it answers, and whether a window has finished painting. Everything
// here works across processes, on Windows and under Wine.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace quelvar::bench {

// Milliseconds on the performance counter.
inline double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / perMs;
}

inline std::string ClassOf(HWND window) {
  char name[128] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

// A window the user can see: visible and larger than the 1 x 1 helpers Wine keeps.
inline bool IsShown(HWND window) {
  RECT rect{};
  return ::IsWindowVisible(window) && ::GetWindowRect(window, &rect) &&
         rect.right - rect.left > 1 && rect.bottom - rect.top > 1;
}

// Every top-level window, front to back. (Enumeration callbacks are plain functions: a
// lambda does not convert to the 32-bit CALLBACK convention.)
inline BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

inline std::vector<HWND> TopWindows() {
  std::vector<HWND> windows;
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// The shown top-level windows of a process (0: of every process), front to back.
inline std::vector<HWND> ShownTopWindows(DWORD processId) {
  std::vector<HWND> shown;
  for (HWND window : TopWindows()) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if ((processId == 0 || owner == processId) && IsShown(window)) shown.push_back(window);
  }
  return shown;
}

// The first shown top-level window of that class (and caption, when one is given).
inline HWND FindShownTop(DWORD processId, const std::string& className,
                         const std::string& caption = "") {
  for (HWND window : ShownTopWindows(processId)) {
    if (ClassOf(window) != className) continue;
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    if (caption.empty() || caption == text) return window;
  }
  return nullptr;
}

// True when the window's thread takes a sent message within the time-out: it is back in its
// message loop.
inline bool Answers(HWND window, UINT timeoutMs) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

// True when neither the window nor any shown window inside it waits to be painted.
inline bool NothingToPaint(HWND window) {
  if (::GetUpdateRect(window, nullptr, FALSE)) return false;
  std::vector<HWND> children;
  ::EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE)) return false;
  }
  return true;
}

// Shown, answering and fully painted: what the user sees is finished.
inline bool IsSettled(HWND window) {
  return window != nullptr && IsShown(window) && Answers(window, 5000) && NothingToPaint(window);
}

// Waits, looking every `everyMs`, until the first shown top-level window of that class (and
// caption) is settled; nullptr when none is within the time-out.
inline HWND WaitForSettled(DWORD processId, const std::string& className,
                           const std::string& caption, double timeoutMs, DWORD everyMs = 10) {
  const double start = NowMs();
  do {
    HWND window = FindShownTop(processId, className, caption);
    if (IsSettled(window)) return window;
    ::Sleep(everyMs);
  } while (NowMs() - start < timeoutMs);
  return nullptr;
}

}  // namespace quelvar::bench
