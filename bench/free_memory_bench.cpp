// Freeing memory: how fast FreeUpMemory commits, writes and gives back its block, against a
// plain loop that commits, writes every byte and frees in the same run (target: at least
// 0.9 of it), and how long a window's messages wait while 512 MB are freed (target: under
// 100 ms). Figures are printed, never judged. Windows only; run under Wine:
//   scripts/wine-run build/x64/free_memory_bench.exe
#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "memory/free_ram.h"
#include "memory/win32/win32_memory_system.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::int64_t kMB = 1048576;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The reference: commit 2 x N bytes, write every byte, give them back.
double TouchLoop(std::int64_t bytes) {
  const auto start = Clock::now();
  const auto size = static_cast<SIZE_T>(2 * bytes);
  void* block = ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (!block) return -1;
  std::memset(block, 0x20, size);
  ::VirtualFree(block, 0, MEM_RELEASE);
  return Seconds(start);
}

double Free(quelvar::FreeRAM& ram, std::int64_t bytes) {
  const auto start = Clock::now();
  if (ram.FreeUpMemory(bytes) != bytes) return -1;
  return Seconds(start);
}

// Records the longest stretch between two turns of the message loop.
class TimedMemorySystem : public quelvar::Win32MemorySystem {
 public:
  void DoEvents() override {
    const auto now = Clock::now();
    if (m_started) m_longest = std::max(m_longest, std::chrono::duration<double, std::milli>(now - m_last).count());
    m_started = true;
    m_last = now;
    Win32MemorySystem::DoEvents();
    m_last = Clock::now();
  }
  double Longest() const { return m_longest; }

 private:
  bool m_started = false;
  Clock::time_point m_last;
  double m_longest = 0;
};

// Asks the window for an answer every 2 ms from another thread and keeps the longest wait.
struct Probe {
  HWND window;
  std::atomic<bool> done{false};
  std::atomic<long long> longestWait{0};
  static DWORD WINAPI Run(void* context) {
    auto& probe = *static_cast<Probe*>(context);
    while (!probe.done) {
      const auto start = Clock::now();
      DWORD_PTR result = 0;
      ::SendMessageTimeoutA(probe.window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
      const auto waited =
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
      if (waited > probe.longestWait) probe.longestWait = waited;
      ::Sleep(2);
    }
    return 0;
  }
};

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main() {
  quelvar::Win32MemorySystem system;
  quelvar::SetMemorySystem(system);
  quelvar::FreeRAM ram(system);

  std::printf("FreeUpMemory against a commit-write-free loop (2 x N bytes each), median of 5\n");
  for (std::int64_t megabytes : {64, 256, 1024}) {
    std::vector<double> loop, free;
    for (int i = 0; i < 5; ++i) {
      loop.push_back(TouchLoop(megabytes * kMB));
      free.push_back(Free(ram, megabytes * kMB));
    }
    const double bytes = 2.0 * megabytes * kMB;
    const double loopRate = bytes / Median(loop) / 1e9;
    const double freeRate = bytes / Median(free) / 1e9;
    std::printf("  N = %4lld MB: loop %.2f GB/s, FreeUpMemory %.2f GB/s, ratio %.2f (target >= 0.9)\n",
                static_cast<long long>(megabytes), loopRate, freeRate, freeRate / loopRate);
  }

  // A window on this thread, asked for an answer from another thread during a 512 MB free.
  WNDCLASSA wc{};
  wc.lpfnWndProc = &PlainProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "QuelvarFreeBench";
  ::RegisterClassA(&wc);
  HWND window = ::CreateWindowA("QuelvarFreeBench", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, wc.hInstance, nullptr);
  TimedMemorySystem timed;
  quelvar::SetMemorySystem(timed);
  quelvar::FreeRAM timedRam(timed);
  Probe probe{window};
  HANDLE thread = ::CreateThread(nullptr, 0, &Probe::Run, &probe, 0, nullptr);
  ::Sleep(50);
  const double seconds = Free(timedRam, 512 * kMB);
  probe.done = true;
  if (thread) {
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
  }
  std::printf("512 MB free: %.2f s; longest stretch without a message-loop turn %.1f ms, "
              "longest wait of a sent message %lld ms (target < 100)\n",
              seconds, timed.Longest(), probe.longestWait.load());
  ::DestroyWindow(window);
  return 0;
}
#else
#include <cstdio>
int main() {
  std::printf("free_memory_bench measures the Win32 memory system; build it for Windows\n");
  return 0;
}
#endif
