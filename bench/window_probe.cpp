// Looks at a running program from outside, for scripts/run, scripts/soak and scripts/bench.
//   window_probe wait <class> [caption|*] [ms]   exits 0 once a top-level window of that class
//                                               (and caption) is shown, answers and has nothing
//                                               left to paint; 1 when none is within the time
//                                               (default 30000 ms)
//   window_probe count <class>     prints "gdi=N windows=N user=N" for the window's process
//   window_probe tour              shows each page of Quelvar's main window once, then the home
//                                  page; prints "shown=N" (the pages shown)
//   window_probe tab <class> <n>   selects tab n (from 0) of the first tab control in the window
//   window_probe close <class>     asks the window to close (WM_CLOSE)
// GDI objects are counted in the process's GDI handle table, which its process environment
// block points at: Wine does not implement GetGuiResources, so this is the count both would
// give. user=-1 where the system does not count USER objects either.
#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../res/resource.h"
#include "window_watch.h"

namespace {

using namespace quelvar::bench;

// One entry of the GDI handle table as 64-bit processes lay it out.
struct GdiHandleEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint16_t unique;
  std::uint8_t type;  // 0: free slot
  std::uint8_t flags;
  std::uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kGdiHandleCount = 0x10000;
constexpr std::size_t kPebGdiTableOffset = 0xF8;  // 64-bit PEB

long CountGdiObjects(HANDLE process) {
  PROCESS_BASIC_INFORMATION info{};
  ULONG length = 0;
  if (::NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof info, &length) != 0) {
    return -1;
  }
  void* table = nullptr;
  SIZE_T read = 0;
  if (!::ReadProcessMemory(process, reinterpret_cast<const char*>(info.PebBaseAddress) + kPebGdiTableOffset,
                           &table, sizeof table, &read) || table == nullptr) {
    return -1;
  }
  std::vector<GdiHandleEntry> entries(kGdiHandleCount);
  if (!::ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiHandleEntry), &read)) {
    return -1;
  }
  long count = 0;
  for (const GdiHandleEntry& entry : entries) count += entry.type != 0 ? 1 : 0;
  return count;
}

// Every window of the process, top-level (shown or not) and child.
long CountWindows(DWORD processId) {
  long windows = 0;
  for (HWND window : TopWindows()) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != processId) continue;
    std::vector<HWND> children;
    ::EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&children));
    windows += 1 + static_cast<long>(children.size());
  }
  return windows;
}

int Count(HWND window) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (process == nullptr) {
    std::printf("cannot open the process\n");
    return 1;
  }
  const DWORD user = ::GetGuiResources(process, GR_USEROBJECTS);
  std::printf("gdi=%ld windows=%ld user=%ld\n", CountGdiObjects(process), CountWindows(processId),
              user == 0 ? -1L : static_cast<long>(user));
  ::CloseHandle(process);
  return 0;
}

// The caption without its '&' mnemonic marks.
std::string PlainCaption(HWND window) {
  char text[128] = {};
  ::GetWindowTextA(window, text, sizeof text);
  std::string plain;
  for (const char* c = text; *c; ++c) {
    if (*c != '&') plain += *c;
  }
  return plain;
}

// A descendant with that control ID, or (id 0) one whose caption without '&' is `caption`.
HWND FindInside(HWND parent, int id, const char* caption) {
  std::vector<HWND> children;
  ::EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (id != 0 ? ::GetDlgCtrlID(child) == id : PlainCaption(child) == caption) return child;
  }
  return nullptr;
}

// Clicks a button and waits until the main window has painted what the click showed. A box the
// click opened (the program's own message box) is closed again; false then.
bool ClickAndSettle(HWND main, HWND button) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
  DWORD processId = 0;
  ::GetWindowThreadProcessId(main, &processId);
  if (HWND box = FindShownTop(processId, "#32770")) {
    ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    return false;
  }
  const double start = NowMs();
  while (!IsSettled(main) && NowMs() - start < 10000) ::Sleep(20);
  ::Sleep(300);  // the page's first timer ticks
  return true;
}

// Every page of the face once, advanced mode's pages one after another, then the home page.
int Tour(HWND main) {
  HWND face = FindInside(main, IDC_FACE, nullptr);
  if (face == nullptr) {
    std::printf("the main window has no face\n");
    return 1;
  }
  int shown = 0;
  for (const char* page : {"Wizard Mode", "Advanced Mode", "Backup", "Ping Settings",
                           "System Status", "Ram Configuration", "Main Settings", "About",
                           "Home Page"}) {
    HWND button = FindInside(face, 0, page);
    if (button == nullptr) {
      std::printf("no button \"%s\" on the face\n", page);
      continue;
    }
    if (ClickAndSettle(main, button)) ++shown;
    if (std::strcmp(page, "Advanced Mode") != 0) continue;
    HWND next = FindInside(main, IDC_ADV_NEXT, nullptr);
    for (int step = 0; next != nullptr && step < 7 && ::IsWindowEnabled(next); ++step) {
      char caption[32] = {};
      ::GetWindowTextA(next, caption, sizeof caption);
      if (std::strcmp(caption, "Next>>") != 0 || !ClickAndSettle(main, next)) break;
      ++shown;
    }
  }
  std::printf("shown=%d\n", shown);
  return 0;
}

int SelectTab(HWND window, int index) {
  HWND tabs = FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr);
  if (tabs == nullptr) {
    std::printf("no tab control\n");
    return 1;
  }
  // Setting the focus on a tab of a tab control without buttons selects it, and the control
  // itself tells its parent, inside the program.
  ::SendMessageA(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
  return ::SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == index ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "tour") {
    HWND main = FindShownTop(0, "QuelvarMain");
    return main != nullptr ? Tour(main) : (std::printf("no Quelvar main window\n"), 1);
  }
  if (argc < 3) {
    std::printf("usage: window_probe wait|count|tab|close <class> ... or window_probe tour\n");
    return 2;
  }
  const std::string className = argv[2];
  if (command == "wait") {
    const std::string caption = argc > 3 && std::strcmp(argv[3], "*") != 0 ? argv[3] : "";
    const double timeout = argc > 4 ? std::atof(argv[4]) : 30000;
    return WaitForSettled(0, className, caption, timeout, 50) != nullptr ? 0 : 1;
  }
  HWND window = FindShownTop(0, className);
  if (window == nullptr) window = ::FindWindowA(className.c_str(), nullptr);  // in the tray
  if (window == nullptr) {
    std::printf("no window of class %s\n", className.c_str());
    return 1;
  }
  if (command == "count") return Count(window);
  if (command == "tab" && argc > 3) return SelectTab(window, std::atoi(argv[3]));
  if (command == "close") return ::PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
  std::printf("unknown command %s\n", command.c_str());
  return 2;
}
#else
#include <cstdio>
int main() {
  std::printf("window_probe looks at programs under Windows or Wine; build it for Windows\n");
  return 0;
}
#endif
