// How long Quelvar's window keeps a message waiting while it works: starts Quelvar.exe, opens
// the window of the action, presses its button, and meanwhile sends the main window WM_NULL
// every 10 ms from another thread, timing each answer. Prints the longest wait:
//   ui_wait_bench <Quelvar.exe> apply|ping|free512 [seconds]
//   RESULT uiwait <action> max_ms=N probes=N
// apply: wizard mode's "Optimize Now"; ping: the pinger's "Ping Now" (to the saved host; the
// caller saves a host that does not answer); free512: the status window frees 512 MB.
#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "../res/resource.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Probe {
  HWND target = nullptr;
  std::atomic<bool> done{false};
  std::atomic<long long> longest{0};
  std::atomic<long> probes{0};
  static DWORD WINAPI Run(void* self) {
    auto* probe = static_cast<Probe*>(self);
    while (!probe->done) {
      const auto start = Clock::now();
      DWORD_PTR result = 0;
      ::SendMessageTimeoutA(probe->target, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
      const long long waited =
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
      if (waited > probe->longest) probe->longest = waited;
      ++probe->probes;
      ::Sleep(10);
    }
    return 0;
  }
};

struct Found {
  int id;
  const char* caption;
  HWND window = nullptr;
};

BOOL CALLBACK FindControl(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<Found*>(param);
  if (found->id != 0 && ::GetDlgCtrlID(window) == found->id) {
    found->window = window;
    return FALSE;
  }
  if (found->caption != nullptr) {
    char text[128] = {};
    ::GetWindowTextA(window, text, sizeof text);
    std::string plain;
    for (const char* c = text; *c; ++c) {
      if (*c != '&') plain += *c;
    }
    if (plain == found->caption) {
      found->window = window;
      return FALSE;
    }
  }
  return TRUE;
}

HWND Control(HWND main, int id, const char* caption = nullptr) {
  Found found{id, caption};
  ::EnumChildWindows(main, FindControl, reinterpret_cast<LPARAM>(&found));
  return found.window;
}

HWND WaitForMain(DWORD pid) {
  for (int i = 0; i < 300; ++i) {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, nullptr, "Quelvar")) != nullptr) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (owner == pid && ::IsWindowVisible(window)) return window;
    }
    ::Sleep(100);
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: ui_wait_bench <Quelvar.exe> apply|ping|free512 [seconds]\n");
    return 2;
  }
  const std::string action = argv[2];
  const int seconds = argc > 3 ? std::atoi(argv[3]) : (action == "ping" ? 12 : 5);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string command = std::string("\"") + argv[1] + "\"";
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    std::printf("cannot start %s\n", argv[1]);
    return 1;
  }
  HWND main = WaitForMain(process.dwProcessId);
  if (main == nullptr) {
    std::printf("Quelvar's window did not appear\n");
    ::TerminateProcess(process.hProcess, 1);
    return 1;
  }
  const char* page = action == "apply" ? "Wizard Mode" : action == "ping" ? "Ping Settings"
                                                                          : "System Status";
  const int buttonId = action == "apply" ? IDC_WIZARD_OPTIMIZE
                       : action == "ping" ? IDC_PINGER_PING_NOW
                                          : IDC_STATUS_OPTIMIZE;
  // The face's buttons appear once the main window shows; a page makes its controls when it
  // is first shown, so the page is opened before its button is looked for.
  HWND pageButton = nullptr;
  for (int i = 0; i < 100 && pageButton == nullptr; ++i) {
    main = WaitForMain(process.dwProcessId);  // the splash shows first under the same title
    pageButton = Control(main, 0, page);
    if (pageButton == nullptr) ::Sleep(100);
  }
  HWND button = nullptr;
  if (pageButton != nullptr) {
    ::SendMessageA(pageButton, BM_CLICK, 0, 0);
    for (int i = 0; i < 100 && button == nullptr; ++i) {
      button = Control(main, buttonId);
      if (button == nullptr) ::Sleep(100);
    }
  }
  if (button == nullptr) {
    std::printf("the %s controls were not found\n", action.c_str());
    ::TerminateProcess(process.hProcess, 1);
    return 1;
  }
  if (action == "free512") {
    HWND slider = Control(main, IDC_STATUS_FREE_AMOUNT);
    ::SendMessageA(slider, TBM_SETPOS, TRUE, 512);
  }
  ::Sleep(500);

  Probe probe;
  probe.target = main;
  HANDLE thread = ::CreateThread(nullptr, 0, &Probe::Run, &probe, 0, nullptr);
  ::Sleep(300);
  ::PostMessageA(button, BM_CLICK, 0, 0);
  ::Sleep(static_cast<DWORD>(seconds) * 1000);
  probe.done = true;
  ::WaitForSingleObject(thread, INFINITE);
  ::CloseHandle(thread);
  std::printf("RESULT uiwait %s max_ms=%lld probes=%ld\n", action.c_str(), probe.longest.load(),
              probe.probes.load());

  // A message box the action may have left (a refused apply, a failed ping) goes with the window.
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.hProcess, 1);
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return 0;
}
#else
#include <cstdio>
int main() {
  std::printf("ui_wait_bench drives Quelvar.exe; build it for Windows\n");
  return 0;
}
#endif
