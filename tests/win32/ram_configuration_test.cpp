// The RAM configuration window under Wine: its settings persist across a restart (read back
// with reg.exe), the tray tip follows the chosen form, the alarm frees memory by itself while
// the window keeps answering, and the two sounds the build makes play.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <psapi.h>
#include <shlwapi.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "memory/status_rules.h"
#include "resource.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

constexpr const char* kRamKey = "SOFTWARE\\Brannoc\\Quelvar\\Settings\\RamSettings";

void ClearRamSettings() { ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, kRamKey); }

void StoreRamSetting(const char* name, const char* text) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRamKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(std::strlen(text) + 1));
  ::RegCloseKey(key);
}

class RamConfigurationWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WaitForNoProcess("Quelvar.exe")) << "a Quelvar.exe of an earlier test still runs";
    ClearRamSettings();
  }
  void TearDown() override {
    m_quelvar.Close();
    ClearRamSettings();
  }
  // Starts Quelvar.exe and shows the RAM configuration window.
  bool Open() {
    m_main = StartQuelvar(m_quelvar);
    return m_main && ClickFace(m_main, "Ram Configuration");
  }
  HWND Control(int id) const { return FindChildById(m_main, id); }
  HWND Box(int index) const { return Control(IDE_RAM_BOX0 + index); }

  Process m_quelvar;
  HWND m_main = nullptr;
};

TEST_F(RamConfigurationWindowTest, SettingsPersistAcrossARestart) {
  ASSERT_TRUE(Open());
  HWND save = Control(IDC_RAM_SAVE);
  ASSERT_NE(save, nullptr);
  EXPECT_FALSE(::IsWindowEnabled(save)) << "nothing to save after the load";
  EXPECT_EQ(GetText(Box(0)), "250");
  EXPECT_EQ(GetText(Box(1)), "10");
  EXPECT_EQ(GetText(Box(2)), "100");
  EXPECT_EQ(GetText(Box(3)), "10");
  EXPECT_EQ(GetText(Box(4)), "2");
  EXPECT_FALSE(::IsWindowEnabled(Box(0))) << "the level box follows Sound on";
  EXPECT_EQ(GetText(Control(IDC_RAM_FRAME_AUTOMATIC)), "Automatic Optimization");

  ASSERT_TRUE(ClickAndWait(Control(IDX_RAM_SOUND_ON)));
  EXPECT_TRUE(::IsWindowEnabled(Box(0)));
  EXPECT_TRUE(::IsWindowEnabled(save));
  ASSERT_TRUE(SetText(Box(0), "abc"));
  EXPECT_EQ(GetText(Box(0)), "250") << "not a number: the loaded level comes back";
  ASSERT_TRUE(SetText(Box(0), "300"));
  // Typed into the period box key by key: a number under way is never overwritten.
  ASSERT_TRUE(ClickAndWait(Control(IDX_RAM_AUTOMATIC)));
  SendWithTimeout(Box(2), EM_SETSEL, 0, -1);
  for (char key : std::string("250")) SendWithTimeout(Box(2), WM_CHAR, static_cast<WPARAM>(key), 1);
  EXPECT_EQ(GetText(Box(2)), "250");
  ASSERT_TRUE(ClickAndWait(Control(IDC_RAM_OPT_PER)));
  ASSERT_TRUE(ClickAndWait(save));
  EXPECT_FALSE(::IsWindowEnabled(save));
  ::Sleep(300);
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("ram-configuration")));
  EXPECT_TRUE(m_quelvar.Close());

  const std::string stored = RunAndCapture(std::string("reg.exe query \"HKLM\\") + kRamKey + "\"");
  for (const char* expected : {"chkSoundon    REG_SZ    1", "txtAlarm    REG_SZ    300",
                               "optPer    REG_SZ    True", "optMB    REG_SZ    False",
                               "txtTimeCheck    REG_SZ    250", "chkAutomatic    REG_SZ    1"}) {
    EXPECT_NE(stored.find(expected), std::string::npos) << expected << "\n" << stored;
  }

  ASSERT_TRUE(Open());
  EXPECT_EQ(GetText(Box(0)), "300");
  EXPECT_EQ(SendWithTimeout(Control(IDX_RAM_SOUND_ON), BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(SendWithTimeout(Control(IDC_RAM_OPT_PER), BM_GETCHECK), BST_CHECKED);
  // The tray tip now reads in percent.
  EXPECT_TRUE(WaitUntil([&] {
    const std::string tip = GetText(Control(IDC_TRAY1));
    return tip.rfind("Memory Usage (", 0) == 0 && tip.find("%).") != std::string::npos;
  })) << GetText(Control(IDC_TRAY1));
}

TEST_F(RamConfigurationWindowTest, AlarmFreesByItselfWhileTheWindowAnswers) {
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof(memory);
  ::GlobalMemoryStatusEx(&memory);
  if ((memory.ullAvailPhys >> 20) >= 32000) GTEST_SKIP() << "free memory above any alarm level";
  StoreRamSetting("chkAutomatic", "1");
  StoreRamSetting("txtAlarm", "32000");
  StoreRamSetting("txtFreeAlarm", "64");
  StoreRamSetting("txtTimeCheck", "400");
  StoreRamSetting("txtRunOnly", "0");
  StoreRamSetting("txtRetryOptimization", "2");
  ASSERT_TRUE(Open());
  HWND window = ::GetParent(Control(IDC_FRAME_RAM_CONFIGURATION));
  ASSERT_NE(window, nullptr);

  AnswerProbe probe(window);
  // The process's high-water mark of written memory shows the 2 x 64 MB blocks.
  using GetInfoFn = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
  const auto getInfo = reinterpret_cast<GetInfoFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
  ASSERT_NE(getInfo, nullptr);
  EXPECT_TRUE(WaitUntil([&] {
    PROCESS_MEMORY_COUNTERS counters{};
    return getInfo(m_quelvar.Handle(), &counters, sizeof(counters)) &&
           counters.PeakWorkingSetSize >= (SIZE_T{128} << 20);
  }, Milliseconds{10000})) << "no block of 128 MB was written";
  ::Sleep(1500);  // a few more alarm ticks with their passes
  const long long longestWait = probe.Stop();
  std::printf("longest wait for an answer while the alarm frees: %lld ms\n", longestWait);
  EXPECT_LT(longestWait, 100);
  // The status window (loaded, hidden meanwhile) tells what the alarm's frees achieved once
  // it is shown.
  ASSERT_TRUE(ClickAndWait(FindChild(FindChildById(m_main, IDC_FACE), "System Status")));
  const std::string change = GetText(Control(IDC_STATUS_FREE_CHANGE));
  long before = -1, after = -1;
  EXPECT_EQ(std::sscanf(change.c_str(), "Free memory: %ld MB -> %ld MB", &before, &after), 2)
      << change;
  EXPECT_GT(before, 0) << change;
}

// The icon the tray control last gave the shell, read from outside the program.
HICON TrayIcon(HWND tray) { return static_cast<HICON>(::GetPropA(tray, "QuelvarTrayIcon")); }

// The figure the icon should show (from the megabytes of the tool tip) with the icon. A memory
// sample writes the tip first and the icon only after a round trip to the shell, so a reading
// counts once figure and icon have stayed the same over 150 ms.
struct ShownFigure {
  explicit ShownFigure(HWND window) : tray(window) {}
  std::string Figure() const {
    long megabytes = -1;
    if (std::sscanf(GetText(tray).c_str(), "Memory Usage (%ldMB).", &megabytes) != 1) return "";
    return TrayFigureText(false, 0, megabytes);
  }
  bool Read() {
    return WaitUntil([&] {
      const std::string first = Figure();
      const HICON firstIcon = TrayIcon(tray);
      ::Sleep(150);
      icon = TrayIcon(tray);
      figure = Figure();
      return icon && !figure.empty() && figure == first && icon == firstIcon;
    }, Milliseconds{5000});
  }
  HWND tray;
  std::string figure;
  HICON icon = nullptr;
};

TEST_F(RamConfigurationWindowTest, TrayIconShowsFreeMemoryWhenChosenAndTheChoicePersists) {
  ASSERT_TRUE(Open());
  HWND tray = Control(IDC_TRAY1);
  HWND option = Control(IDX_RAM_TRAY_FIGURE);
  ASSERT_TRUE(tray && option);
  EXPECT_EQ(GetText(option), "Show free memory in the tray &icon");
  EXPECT_EQ(SendWithTimeout(option, BM_GETCHECK), BST_UNCHECKED) << "off by default";
  ShownFigure shown(tray);
  ASSERT_TRUE(shown.Read()) << GetText(tray);
  const HICON programIcon = shown.icon;
  ::Sleep(700);  // two more memory samples: off, the icon stays the program's
  EXPECT_EQ(TrayIcon(tray), programIcon);

  // Ticked (not yet saved), the next sample draws the figure.
  ASSERT_TRUE(ClickAndWait(option));
  EXPECT_TRUE(WaitUntil([&] { return TrayIcon(tray) != programIcon; }));
  ::Sleep(1000);
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("tray-figure")));

  // A gigabyte of this test's memory moves the figure, and its release moves it back; a figure
  // that moved is a new icon. Other programs move free memory too, so the figure is worked out
  // from the tool tip of the same sample.
  ASSERT_TRUE(shown.Read()) << GetText(tray);
  ShownFigure lower = shown;
  {
    UsedMemory block(SIZE_T{1} << 30);
    ASSERT_TRUE(block.Held());
    EXPECT_TRUE(WaitUntil([&] { return lower.Read() && lower.figure != shown.figure; }))
        << shown.figure << " before, " << GetText(tray);
  }
  EXPECT_NE(lower.icon, programIcon);
  EXPECT_NE(lower.icon, shown.icon) << lower.figure << " after " << shown.figure;
  EXPECT_TRUE(WaitUntil([&] { return shown.Read() && shown.figure != lower.figure; }));
  EXPECT_NE(shown.icon, lower.icon) << lower.figure << " then " << shown.figure;
  // The same figure is not drawn again: over three samples in which it stays, the icon stays
  // (the icon is read before the tip, so a sample that redraws it shows in the tip first).
  EXPECT_TRUE(WaitUntil([&] {
    if (!shown.Read()) return false;
    for (int look = 0; look < 50; ++look, ::Sleep(20)) {
      const HICON icon = TrayIcon(tray);
      if (shown.Figure() != shown.figure) return false;  // it moved: look again
      if (icon != shown.icon) return false;
    }
    return true;
  })) << "the icon of " << shown.figure << " was drawn again";

  // Saved, the choice is stored and comes back with the next start.
  ASSERT_TRUE(ClickAndWait(Control(IDC_RAM_SAVE)));
  EXPECT_TRUE(m_quelvar.Close());
  EXPECT_EQ(RegQueryValue(std::string("HKLM\\") + kRamKey, "chkTrayFigure"),
            "chkTrayFigure REG_SZ 1");
  ASSERT_TRUE(Open());
  tray = Control(IDC_TRAY1);
  EXPECT_EQ(SendWithTimeout(Control(IDX_RAM_TRAY_FIGURE), BM_GETCHECK), BST_CHECKED);
  ShownFigure atStart(tray);
  ASSERT_TRUE(atStart.Read()) << GetText(tray);
  // Cleared, the next sample puts the program icon back, which stays as the figure moves.
  ASSERT_TRUE(ClickAndWait(Control(IDX_RAM_TRAY_FIGURE)));
  HICON cleared = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    cleared = TrayIcon(tray);
    return !WaitUntil([&] { return TrayIcon(tray) != cleared; }, Milliseconds{1000});
  }));
  EXPECT_NE(cleared, atStart.icon) << "the figure stayed";
  ASSERT_TRUE(atStart.Read());
  UsedMemory block(SIZE_T{1} << 30);
  ShownFigure moved(tray);
  EXPECT_TRUE(WaitUntil([&] { return moved.Read() && moved.figure != atStart.figure; }));
  EXPECT_EQ(TrayIcon(tray), cleared) << "the program icon stays while the option is off";
}

TEST(SoundFilesTest, BothSoundsPlay) {
  // This machine has no sound card: Wine is told to offer ALSA's "null" output, which
  // discards what it is given, to the probe the test starts.
  constexpr const char* kDriverKey = "Software\\Wine\\Drivers\\winealsa.drv";
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kDriverKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const char devices[] = "null\0";
  ::RegSetValueExA(key, "ALSAOutputDevices", 0, REG_MULTI_SZ,
                   reinterpret_cast<const BYTE*>(devices), sizeof(devices));
  std::string files;
  for (const char* name : {"\\low-memory.wav", "\\Ping.wav"}) {
    const std::string path = BuildDir() + name;
    EXPECT_NE(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
    files += " \"" + path + "\"";
  }
  Process player = Process::Start(QUELVAR_PLAY_SOUND_PROBE_PATH, files);
  const bool ended = player.Started() && player.WaitForExit();
  ::RegDeleteValueA(key, "ALSAOutputDevices");
  ::RegCloseKey(key);
  ASSERT_TRUE(ended);
  EXPECT_EQ(player.ExitCode(), 0u) << "PlaySound refused this many of the two sounds";
}

}  // namespace
}  // namespace quelvar
