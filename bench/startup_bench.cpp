// Start-up under Wine, Quelvar beside Wine's notepad in one run. Each start is timed from
// CreateProcess to two moments: the first window shown and painted (Quelvar's splash,
// notepad's window) and the main window shown, answering and with nothing left to paint.
//   startup_bench <Quelvar.exe> [starts]      (default 7 each, after one untimed start each)
// The two programs take turns; each ends before the next starts. Prints a line per start, then
//   RESULT startup <program> first_ms=N main_ms=N starts=N failed=N   (medians)
//   RESULT startup ratio first=R main=R   (medians of Quelvar / notepad within each turn)
#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "window_watch.h"

namespace {

using namespace quelvar::bench;

constexpr double kGiveUpMs = 60000;

struct Program {
  const char* label;
  std::string commandLine;
  const char* mainClass;
};

struct Start {
  double firstMs = -1;  // -1: never reached
  double mainMs = -1;
};

// Asks every window of the program to close, then ends it if it is still there.
void EndProgram(const PROCESS_INFORMATION& process) {
  for (HWND window : ShownTopWindows(process.dwProcessId)) ::PostMessageA(window, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.hProcess, 1);
    ::WaitForSingleObject(process.hProcess, 5000);
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
}

// The shown top-level windows of one process. Each window's owner is asked once: the question
// goes to the Wine server, which the starting program needs too.
class OwnWindows {
 public:
  explicit OwnWindows(DWORD processId) : m_processId(processId) {}

  std::vector<HWND> Shown() {
    std::vector<HWND> shown;
    for (HWND window : TopWindows()) {
      auto known = m_own.find(window);
      if (known == m_own.end()) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        known = m_own.emplace(window, owner == m_processId).first;
      }
      if (known->second && IsShown(window)) shown.push_back(window);
    }
    return shown;
  }

 private:
  DWORD m_processId;
  std::map<HWND, bool> m_own;
};

bool Ended(HANDLE process) { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

Start TimeOneStart(const Program& program) {
  Start times;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string commandLine = program.commandLine;
  const double begin = NowMs();
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    std::printf("cannot start %s (error %lu)\n", program.commandLine.c_str(), ::GetLastError());
    return times;
  }
  OwnWindows windows(process.dwProcessId);
  auto running = [&] { return !Ended(process.hProcess) && NowMs() - begin < kGiveUpMs; };
  // The first window counts once it is painted; the program need not answer yet (Quelvar
  // paints its splash, then goes on starting without taking messages).
  while (times.firstMs < 0 && running()) {
    for (HWND window : windows.Shown()) {
      if (NothingToPaint(window)) times.firstMs = NowMs() - begin;
    }
    if (times.firstMs < 0) ::Sleep(2);
  }
  while (times.firstMs >= 0 && times.mainMs < 0 && running()) {
    for (HWND window : windows.Shown()) {
      if (ClassOf(window) == program.mainClass && IsSettled(window)) times.mainMs = NowMs() - begin;
    }
    if (times.mainMs < 0) ::Sleep(5);
  }
  EndProgram(process);
  ::Sleep(1000);  // the desktop and the server settle before the next start
  return times;
}

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const std::size_t half = values.size() / 2;
  return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

// The figures of the starts that reached both moments.
struct Summary {
  std::vector<double> first, main;
  int failed = 0;
  void Add(const Start& start) {
    if (start.firstMs < 0 || start.mainMs < 0) {
      ++failed;
      return;
    }
    first.push_back(start.firstMs);
    main.push_back(start.mainMs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: startup_bench <Quelvar.exe> [starts]\n");
    return 2;
  }
  const int starts = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  const Program notepad{"notepad", "notepad.exe", "Notepad"};
  const Program quelvar{"Quelvar", std::string("\"") + argv[1] + "\"", "QuelvarMain"};

  TimeOneStart(notepad);  // loads what every later start finds in the caches
  TimeOneStart(quelvar);
  Summary notepadSummary, quelvarSummary;
  std::vector<double> firstRatios, mainRatios;
  for (int turn = 1; turn <= starts; ++turn) {
    const Start n = TimeOneStart(notepad);
    const Start q = TimeOneStart(quelvar);
    std::printf("turn %d: notepad first %.0f ms, main %.0f ms; Quelvar first %.0f ms, main %.0f ms\n",
                turn, n.firstMs, n.mainMs, q.firstMs, q.mainMs);
    std::fflush(stdout);
    notepadSummary.Add(n);
    quelvarSummary.Add(q);
    if (n.firstMs > 0 && q.firstMs > 0) firstRatios.push_back(q.firstMs / n.firstMs);
    if (n.mainMs > 0 && q.mainMs > 0) mainRatios.push_back(q.mainMs / n.mainMs);
  }
  for (const auto* summary : {&notepadSummary, &quelvarSummary}) {
    std::printf("RESULT startup %s first_ms=%.0f main_ms=%.0f starts=%zu failed=%d\n",
                summary == &notepadSummary ? notepad.label : quelvar.label, Median(summary->first),
                Median(summary->main), summary->first.size(), summary->failed);
  }
  std::printf("RESULT startup ratio first=%.2f main=%.2f\n", Median(firstRatios),
              Median(mainRatios));
  return quelvarSummary.first.empty() ? 1 : 0;
}
#else
#include <cstdio>
int main() {
  std::printf("startup_bench starts programs under Windows or Wine; build it for Windows\n");
  return 0;
}
#endif
