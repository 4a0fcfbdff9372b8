// The failure net; see failure_net.h. Each report travels as a message to a hidden window of
// its own, made on the window thread, so it is shown by whichever message loop runs next
// there, whatever thread failed.
#include "base/win32/failure_net.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace quelvar {

namespace {

constexpr UINT kMsgReportFailure = WM_APP + 1;
constexpr const char* kReporterClass = "QuelvarFailureReport";
constexpr const char* kUnexpected = "An unexpected error occurred.";
// Distinct failures kept in one session; any beyond them are not reported.
constexpr std::size_t kMostFailures = 64;

// Guards the recorded failures: any thread records, the window thread shows.
volatile LONG g_lock = 0;
std::vector<std::string> g_failures;  // distinct texts, in the order they happened
std::size_t g_shown = 0;              // how many of them have been taken for a box
volatile LONG g_showing = 0;          // a box is on show on the window thread
HWND g_reporter = nullptr;

class Lock {
 public:
  Lock() {
    while (::InterlockedExchange(&g_lock, 1) != 0) ::Sleep(0);
  }
  ~Lock() { ::InterlockedExchange(&g_lock, 0); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
};

// The next failure to show, taken from the waiting ones; false when none waits.
bool TakeNext(std::string& text) noexcept {
  try {
    Lock lock;
    if (g_shown >= g_failures.size()) return false;
    text = g_failures[g_shown++];
    return true;
  } catch (...) {
    return false;
  }
}

void ShowReports() noexcept {
  // A box on show shows the rest when it closes (a report that arrives meanwhile, through the
  // box's own message loop, waits for it).
  if (::InterlockedExchange(&g_showing, 1) != 0) return;
  std::string text;
  while (TakeNext(text)) {
    ::MessageBoxA(nullptr, text.c_str(), "Quelvar", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  }
  ::InterlockedExchange(&g_showing, 0);
}

LRESULT CALLBACK ReporterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgReportFailure) {
    ShowReports();
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeReporter() {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  if (!::GetClassInfoExA(instance, kReporterClass, &wc)) {
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &ReporterProc;
    wc.hInstance = instance;
    wc.lpszClassName = kReporterClass;
    if (!::RegisterClassExA(&wc)) return nullptr;
  }
  return ::CreateWindowExA(WS_EX_TOOLWINDOW, kReporterClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, instance, nullptr);
}

}  // namespace

void PrepareFailureReport() noexcept {
  if (!g_reporter || !::IsWindow(g_reporter)) g_reporter = MakeReporter();
}

void RecordFailure(const std::string& what) noexcept {
  try {
    const std::string text = what.empty() ? std::string(kUnexpected) : what;
    Lock lock;
    if (g_failures.size() >= kMostFailures ||
        std::find(g_failures.begin(), g_failures.end(), text) != g_failures.end()) {
      return;
    }
    g_failures.push_back(text);
  } catch (...) {
    return;
  }
  // Without a prepared reporter (a test, say) this thread makes one.
  if (!g_reporter) PrepareFailureReport();
  // Without a window to carry the report, it waits for ReportFailureNow.
  if (g_reporter) ::PostMessageA(g_reporter, kMsgReportFailure, 0, 0);
}

void ReportFailureNow() noexcept { ShowReports(); }

std::string FirstFailure() {
  Lock lock;
  return g_failures.empty() ? std::string() : g_failures.front();
}

}  // namespace quelvar
