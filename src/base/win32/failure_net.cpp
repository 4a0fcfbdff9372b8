// The failure net; see failure_net.h. The report travels as a message to a hidden window of
// its own, made on the window thread, so it is shown by whichever message loop runs next
// there, whatever thread failed.
#include "base/win32/failure_net.h"

#include <windows.h>

namespace quelvar {

namespace {

constexpr UINT kMsgReportFailure = WM_APP + 1;
constexpr const char* kReporterClass = "QuelvarFailureReport";

// The first failure claims the slot; its text is complete before `ready` is set.
volatile LONG g_claimed = 0;
volatile LONG g_ready = 0;
volatile LONG g_reported = 0;
std::string g_first;
HWND g_reporter = nullptr;

void ShowReport() {
  if (!g_ready || ::InterlockedExchange(&g_reported, 1) != 0) return;
  ::MessageBoxA(nullptr, g_first.c_str(), "Quelvar", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

LRESULT CALLBACK ReporterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgReportFailure) {
    ShowReport();
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
  if (::InterlockedExchange(&g_claimed, 1) != 0) return;
  try {
    g_first = what.empty() ? "An unexpected error occurred." : what;
  } catch (...) {
  }
  ::InterlockedExchange(&g_ready, 1);
  // Without a prepared reporter (a test, say) this thread makes one.
  if (!g_reporter) PrepareFailureReport();
  // Without a window to carry the report, it waits for ReportFailureNow.
  if (g_reporter) ::PostMessageA(g_reporter, kMsgReportFailure, 0, 0);
}

void ReportFailureNow() noexcept { ShowReport(); }

std::string FirstFailure() { return g_ready ? g_first : std::string(); }

}  // namespace quelvar
