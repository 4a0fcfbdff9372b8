// The memory figures, both processor meters and the system status window under Wine: real
// figures, a meter that follows a busy core, the 95 line's kernel figure read from the
// dynamic-data root, live captions and tray tip, and "Optimize Now" that keeps the window
// answering.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <set>
#include <thread>

#include "memory/free_ram.h"
#include "memory/processor_meter.h"
#include "memory/win32/win32_memory_system.h"
#include "registry/win32/win32_registry.h"
#include "resource.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

MEMORYSTATUSEX MemoryNow() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  ::GlobalMemoryStatusEx(&status);
  return status;
}

TEST(MemoryFiguresTest, AreTheMachinesOwn) {
  Win32MemorySystem system;
  FreeRAM ram(system);
  const MEMORYSTATUSEX status = MemoryNow();
  EXPECT_EQ(ram.GetTotalPhysical(), static_cast<std::int64_t>(status.ullTotalPhys));
  EXPECT_GT(ram.GetFreePhysical(), 0);
  EXPECT_LE(ram.GetFreePhysical(), ram.GetTotalPhysical());
  EXPECT_GT(ram.GetTotalVirtual(), 0);
  EXPECT_LE(ram.GetFreeVirtual(), ram.GetTotalVirtual());
  EXPECT_GE(ram.GetMemoryLoad(), 0);
  EXPECT_LE(ram.GetMemoryLoad(), 100);
}

TEST(ProcessorMeterWineTest, BasicRecordHasTheTargetsSizeAndCountsTheProcessors) {
  EXPECT_EQ(NtSystemInformation::BasicInformationSize(), sizeof(void*) == 8 ? 64u : 44u);
  NtSystemInformation information;
  std::uint8_t processors = 0;
  ASSERT_TRUE(information.NumberOfProcessors(&processors));
  SYSTEM_INFO info{};
  ::GetSystemInfo(&info);
  EXPECT_EQ(processors, info.dwNumberOfProcessors);
}

TEST(ProcessorMeterWineTest, NtMeterRisesWhileACoreIsBusy) {
  NtSystemInformation information;
  std::uint8_t processors = 0;
  ASSERT_TRUE(information.NumberOfProcessors(&processors));
  clsCPUUsageNT meter(information);
  meter.Initialize();
  ::Sleep(500);
  const std::int32_t quiet = meter.Query();
  EXPECT_GE(quiet, 0);
  EXPECT_LE(quiet, 100);

  std::atomic<bool> stop{false};
  std::thread busy([&] {
    volatile unsigned long spin = 0;
    while (!stop) spin = spin + 1;
  });
  ::Sleep(200);
  meter.Query();  // from here on the core is busy throughout
  ::Sleep(1000);
  const std::int32_t loaded = meter.Query();
  stop = true;
  busy.join();
  EXPECT_LE(loaded, 100);
  // One busy core of n is at least 100 / n of the machine, whatever else runs; three
  // quarters of that share must show (a bound above zero, or the check could not fail).
  const int share = 300 / (4 * processors);
  if (share < 1) GTEST_SKIP() << processors << " processors: one busy core is too small a share";
  EXPECT_GE(loaded, share) << "quiet: " << quiet;
}

class DynDataTest : public ::testing::Test {
 protected:
  static constexpr const char* kUsage = "KERNEL\\CPUUsage";
  void SetUp() override { SetRegistryBackend(m_registry); }
  void TearDown() override { RemoveStartKey(); }
  static void PutFigures(BYTE percent) {
    for (const char* path : {"PerfStats\\StartStat", "PerfStats\\StatData", "PerfStats\\StopStat"}) {
      HKEY key = nullptr;
      ASSERT_EQ(::RegCreateKeyExA(HKEY_DYN_DATA, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                ERROR_SUCCESS)
          << path;
      const BYTE data[4] = {percent, 0, 0, 0};
      ::RegSetValueExA(key, kUsage, 0, REG_BINARY, data, sizeof(data));
      ::RegCloseKey(key);
    }
  }
  static void RemoveStartKey() { ::RegDeleteKeyA(HKEY_DYN_DATA, "PerfStats\\StartStat"); }

 private:
  Win32Registry m_registry;
};

TEST_F(DynDataTest, NineFiveMeterReadsTheKernelFigure) {
  PutFigures(42);
  {
    clsCPUUsage meter;
    meter.Initialize();
    EXPECT_EQ(meter.Query(), 42);
  }
  RemoveStartKey();
  clsCPUUsage meter;
  meter.Initialize();
  EXPECT_EQ(meter.Query(), 0) << "without the start key nothing is started";
}

// --- The window ---

class SystemStatusWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WaitForNoProcess("Quelvar.exe")) << "a Quelvar.exe of an earlier test still runs";
  }

  // Starts Quelvar.exe and shows the system status window; the window, or null.
  HWND Open() {
    m_main = StartQuelvar(m_quelvar);
    if (!m_main || !ClickFace(m_main, "System Status")) return nullptr;
    HWND frame = FindChildById(m_main, IDC_FRAME_SYSTEM_STATUS);
    return frame ? ::GetParent(frame) : nullptr;
  }
  HWND Control(int id) const { return FindChildById(m_main, id); }
  // Moves a slider as the user does: the position, then the scroll notification.
  void Slide(HWND window, int id, int position) {
    HWND slider = Control(id);
    ASSERT_NE(slider, nullptr);
    SendWithTimeout(slider, TBM_SETPOS, TRUE, position);
    SendWithTimeout(window, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
  }
  // The megabytes of the tray tip "Memory Usage (NNNMB).", -1 when it does not read so.
  long TrayMegabytes() {
    long megabytes = -1;
    const std::string tip = GetText(Control(IDC_TRAY1));
    if (std::sscanf(tip.c_str(), "Memory Usage (%ldMB).", &megabytes) != 1) return -1;
    return megabytes;
  }

  Process m_quelvar;
  HWND m_main = nullptr;
};

TEST_F(SystemStatusWindowTest, CaptionsAndTrayTipFollowTheMachine) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  HWND cpu = Control(IDC_STATUS_CPU_FRAME);
  HWND memory = Control(IDC_STATUS_MEMORY_FRAME);
  ASSERT_TRUE(cpu && memory);
  EXPECT_EQ(GetText(Control(IDC_STATUS_TARGET_LABEL)), "Target Level Of RAM 0MB.");
  EXPECT_EQ(GetText(Control(IDC_STATUS_OPTIMIZE)), "Optimize &Now");

  // The captions and the tray tip are the machine's at the time of a sample; other programs
  // move free memory between a sample and the reading, so each is looked at until it agrees.
  const std::regex cpuCaption(R"(Processor usage \((\d+)%\)\.)");
  const std::regex memoryCaption(R"(Memory Usage \(([0-9.]+)%\)\.)");
  std::set<std::string> cpuSeen;
  bool memoryAgreed = false;
  ASSERT_TRUE(WaitUntil([&] {
    std::smatch m;
    const std::string c = GetText(cpu), mem = GetText(memory);
    if (std::regex_match(c, m, cpuCaption)) {
      EXPECT_LE(std::stoi(m[1]), 100) << c;
      cpuSeen.insert(c);
    }
    if (std::regex_match(mem, m, memoryCaption)) {
      const MEMORYSTATUSEX now = MemoryNow();
      memoryAgreed |= std::fabs(std::stod(m[1]) - 100.0 * now.ullAvailPhys / now.ullTotalPhys) < 5.0;
    }
    return cpuSeen.size() >= 2 && memoryAgreed;
  }, Milliseconds{15000})) << "processor captions seen: " << cpuSeen.size() << "; " << GetText(memory);

  // The tray tip: free megabytes now, and lower while this test holds 1 GB.
  const auto freeNow = [] { return static_cast<long>(MemoryNow().ullAvailPhys >> 20); };
  const auto tipAgrees = [&] { return std::labs(TrayMegabytes() - freeNow()) < 256; };
  ASSERT_TRUE(WaitUntil(tipAgrees)) << GetText(Control(IDC_TRAY1)) << ", " << freeNow() << " MB free";
  const long before = TrayMegabytes();
  const std::string memoryBefore = GetText(memory);
  {
    UsedMemory block(SIZE_T{1} << 30);
    ASSERT_TRUE(block.Held());
    // Wine keeps a process's reading of free memory for a second: once this process sees the
    // block (unless others gave as much back), a tip that stayed at `before` cannot agree.
    WaitUntil([&] { return freeNow() < before - 512; }, Milliseconds{5000});
    EXPECT_TRUE(WaitUntil(tipAgrees))
        << before << " MB before, " << TrayMegabytes() << " MB now, " << freeNow() << " MB free";
    EXPECT_TRUE(WaitUntil([&] { return GetText(memory) != memoryBefore; })) << memoryBefore;
  }
  // Given back: the tip reads what the machine has free again.
  EXPECT_TRUE(WaitUntil(tipAgrees)) << TrayMegabytes() << " MB in the tip, " << freeNow() << " free";

  // Two zoom levels at two speeds, to look at.
  ::Sleep(6000);
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("system-status-zoom30-300ms")));
  Slide(window, IDC_STATUS_CPU_ZOOM, 100);
  Slide(window, IDC_STATUS_MEMORY_ZOOM, 100);
  ::Sleep(4000);
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("system-status-zoom100-300ms")));
  Slide(window, IDC_STATUS_CPU_SPEED, 300);
  Slide(window, IDC_STATUS_MEMORY_SPEED, 300);
  Slide(window, IDC_STATUS_CPU_ZOOM, 30);
  Slide(window, IDC_STATUS_MEMORY_ZOOM, 30);
  ::Sleep(8000);
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("system-status-zoom30-1000ms")));
  EXPECT_TRUE(m_quelvar.Close());
}

TEST_F(SystemStatusWindowTest, NineFiveLineShowsTheKernelFigure) {
  HKEY key = nullptr;
  for (const char* path : {"PerfStats\\StartStat", "PerfStats\\StatData"}) {
    ASSERT_EQ(::RegCreateKeyExA(HKEY_DYN_DATA, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const BYTE data[4] = {37, 0, 0, 0};
    ::RegSetValueExA(key, "KERNEL\\CPUUsage", 0, REG_BINARY, data, sizeof(data));
    ::RegCloseKey(key);
  }
  ScopedWineVersion win98("Quelvar.exe", "win98");
  ASSERT_TRUE(win98.Ok());
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return GetText(Control(IDC_STATUS_CPU_FRAME)) == "Processor usage (37%)."; }))
      << GetText(Control(IDC_STATUS_CPU_FRAME));
  EXPECT_TRUE(WaitUntil([&] { return GetText(Control(IDC_STATUS_MEMORY_FRAME)).rfind("Memory Usage (", 0) == 0; }));
  EXPECT_TRUE(m_quelvar.Close());
  ::RegDeleteKeyA(HKEY_DYN_DATA, "PerfStats\\StartStat");
}

TEST_F(SystemStatusWindowTest, OldSystemsCallsAndAFailingMeter) {
  // As on Windows 95 and NT 4 (no extended memory status), with the NT meter's system call
  // refused: the memory figures come from the old call, the processor caption shows -1.
  ASSERT_TRUE(::SetEnvironmentVariableA("QUELVAR_HIDE_API", "GlobalMemoryStatusEx,NtQuerySystemInformation"));
  HWND window = Open();
  ::SetEnvironmentVariableA("QUELVAR_HIDE_API", nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return GetText(Control(IDC_STATUS_CPU_FRAME)) == "Processor usage (-1%)."; }))
      << GetText(Control(IDC_STATUS_CPU_FRAME));
  long megabytes = -1;
  EXPECT_TRUE(WaitUntil([&] { return (megabytes = TrayMegabytes()) > 0; }));
  EXPECT_NEAR(megabytes, static_cast<long>(MemoryNow().ullAvailPhys >> 20), 256);
  EXPECT_TRUE(m_quelvar.Close());
}

TEST_F(SystemStatusWindowTest, OptimizeNowFreesWithoutFreezingTheWindow) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  Slide(window, IDC_STATUS_FREE_AMOUNT, 64);
  EXPECT_EQ(GetText(Control(IDC_STATUS_TARGET_LABEL)), "Target Level Of RAM 64MB.");

  using GetInfoFn = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
  const auto getInfo = reinterpret_cast<GetInfoFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
  ASSERT_NE(getInfo, nullptr);
  PROCESS_MEMORY_COUNTERS counters{};
  ASSERT_TRUE(getInfo(m_quelvar.Handle(), &counters, sizeof(counters)));
  const SIZE_T peakBefore = counters.PeakWorkingSetSize;

  // A second thread asks the window for an answer every 5 ms throughout the free.
  AnswerProbe probe(window);
  ::Sleep(100);
  EXPECT_TRUE(ClickAndWait(Control(IDC_STATUS_OPTIMIZE)));
  ::Sleep(100);
  const long long longestWait = probe.Stop();

  ASSERT_TRUE(getInfo(m_quelvar.Handle(), &counters, sizeof(counters)));
  // The system counts the pages written at their peak (Wine reads the host's high-water mark).
  EXPECT_GE(counters.PeakWorkingSetSize, peakBefore + (SIZE_T{120} << 20))
      << "128 MB committed and written";
  EXPECT_LT(counters.WorkingSetSize, counters.PeakWorkingSetSize - (SIZE_T{100} << 20))
      << "and given back";
  // What the free achieved, in the machine's own figures.
  const std::string change = GetText(Control(IDC_STATUS_FREE_CHANGE));
  long before = -1, after = -1;
  ASSERT_EQ(std::sscanf(change.c_str(), "Free memory: %ld MB -> %ld MB", &before, &after), 2)
      << change;
  EXPECT_NEAR(before, static_cast<long>(MemoryNow().ullAvailPhys >> 20), 256) << change;
  EXPECT_NEAR(after, static_cast<long>(MemoryNow().ullAvailPhys >> 20), 256) << change;
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("system-status-after-free")));
  std::printf("longest wait for an answer during the free: %lld ms\n", longestWait);
  EXPECT_LT(longestWait, 100);
  EXPECT_TRUE(m_quelvar.Close());
}

}  // namespace
}  // namespace quelvar
