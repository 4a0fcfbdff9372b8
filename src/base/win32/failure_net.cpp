// The failure net; see failure_net.h. The report travels as a message to a hidden window of
// its own, so it is shown by whichever message loop runs next.
#include "base/win32/failure_net.h"

#include <windows.h>

namespace quelvar {

namespace {

constexpr UINT kMsgReportFailure = WM_APP + 1;
constexpr const char* kReporterClass = "QuelvarFailureReport";

struct FailureState {
  std::string first;
  bool recorded = false;
  bool reported = false;
  HWND reporter = nullptr;
};

FailureState& State() {
  static FailureState state;
  return state;
}

void ShowReport() {
  FailureState& state = State();
  if (!state.recorded || state.reported) return;
  state.reported = true;
  ::MessageBoxA(nullptr, state.first.c_str(), "Quelvar", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

LRESULT CALLBACK ReporterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgReportFailure) {
    ShowReport();
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

HWND Reporter() {
  FailureState& state = State();
  if (state.reporter && ::IsWindow(state.reporter)) return state.reporter;
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
  state.reporter = ::CreateWindowExA(WS_EX_TOOLWINDOW, kReporterClass, "", WS_POPUP, 0, 0, 0, 0,
                                     nullptr, nullptr, instance, nullptr);
  return state.reporter;
}

}  // namespace

void RecordFailure(const std::string& what) noexcept {
  try {
    FailureState& state = State();
    if (state.recorded) return;
    state.recorded = true;
    state.first = what.empty() ? "An unexpected error occurred." : what;
    const HWND reporter = Reporter();
    // Without a window to carry the report, it waits for ReportFailureNow.
    if (reporter) ::PostMessageA(reporter, kMsgReportFailure, 0, 0);
  } catch (...) {
  }
}

void ReportFailureNow() noexcept {
  try {
    ShowReport();
  } catch (...) {
  }
}

std::string FirstFailure() { return State().first; }

}  // namespace quelvar
