// Quelvar.exe driven as a user drives it: the face's buttons show their child windows inside
// the frame, the tray icon and its menu, the three start-up settings cases (start in the
// tray, the Run entry written, moved and removed).
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "resource.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

constexpr const char* kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kMainSettingsKey = "SOFTWARE\\Brannoc\\Quelvar\\Settings\\MainSettings";
constexpr const char* kRamKey = "SOFTWARE\\Brannoc\\Quelvar\\Settings\\RamSettings";
constexpr const char* kPingerKey = "SOFTWARE\\Brannoc\\Quelvar\\Settings\\NetPinger";

// The output of "reg query" for the Run entry.
std::string RegQueryRunEntry() {
  return RunAndCapture(std::string("reg.exe query \"HKCU\\") + kRunKeyPath + "\" /v Quelvarix");
}

std::string ReadText(HKEY root, const char* path, const char* name) {
  char data[512] = {};
  DWORD size = sizeof(data);
  if (::RegGetValueA(root, path, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return "<missing>";
  }
  return data;
}

void ClearStartupSettings() {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    ::RegDeleteValueA(key, "Quelvarix");
    ::RegCloseKey(key);
  }
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMainSettingsKey, 0, KEY_SET_VALUE, &key) ==
      ERROR_SUCCESS) {
    ::RegDeleteValueA(key, "chkRunMainProgram");
    ::RegDeleteValueA(key, "chkRunProgramMini");
    ::RegCloseKey(key);
  }
}

// The direct children of `parent`, top of the z-order first.
std::vector<HWND> ChildrenInZOrder(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

int ZIndex(HWND parent, HWND child) {
  const auto children = ChildrenInZOrder(parent);
  for (std::size_t i = 0; i < children.size(); ++i) {
    if (children[i] == child) return static_cast<int>(i);
  }
  return -1;
}

// The window class of each visible child window inside the frame.
std::vector<std::string> VisibleInFrame(HWND frame) {
  std::vector<std::string> shown;
  for (HWND child : ChildrenInZOrder(frame)) {
    if (::IsWindowVisible(child)) shown.push_back(ClassNameOf(child));
  }
  return shown;
}

// A setting of a child window, stored before the program starts.
struct StoredText {
  const char* key;
  const char* name;
  const char* text;
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WaitForNoProcess("Quelvar.exe")) << "a Quelvar.exe of an earlier test still runs";
    ClearStartupSettings();
  }
  void TearDown() override {
    ClearStartupSettings();
    ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, kRamKey);
    ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, kPingerKey);
  }

  // Starts a program and waits for its visible main window.
  HWND StartVisible(Process& process, const std::string& exe = QuelvarExePath()) {
    process = Process::Start(exe);
    if (!process.Started()) return nullptr;
    return WaitForWindow("Quelvar", Milliseconds{15000}, process.Id());
  }

  // Only the face: the child windows' frames carry some of the same captions.
  void ClickFace(HWND main, const std::string& caption) {
    ASSERT_TRUE(uitest::ClickFace(main, caption)) << caption;
  }

  // Waits for a program started in the tray: its main window, the tray control whose icon the
  // shell holds, and the splash gone.
  static bool WaitForTrayStart(HWND& main, HWND& tray) {
    return WaitUntil([&] {
      main = ::FindWindowA("QuelvarMain", "Quelvar");
      tray = main ? FindChildById(main, IDC_TRAY1) : nullptr;
      return tray && ShellHasIcon(tray) && !::FindWindowA("QuelvarSplash", nullptr);
    }, Milliseconds{15000});
  }

  void SaveStartupOptions(HWND main, bool runWithWindows, bool runInTray) {
    ClickFace(main, "Main Settings");
    HWND runMain = FindChildById(main, IDX_RUN_MAIN_PROGRAM);
    HWND runMini = FindChildById(main, IDX_RUN_PROGRAM_MINI);
    HWND save = FindChildById(main, IDC_MAIN_SETTINGS_SAVE);
    ASSERT_TRUE(runMain && runMini && save);
    EXPECT_EQ(GetText(runMain), "Run Main Program when windows start up");
    EXPECT_EQ(GetText(runMini), "Run Program In system tray");
    EXPECT_EQ(GetText(save), "&Save");
    EXPECT_FALSE(::IsWindowEnabled(save)) << "the window opens with nothing to save";
    // Ticking a box enables Save even when it is ticked back again (checked while nothing
    // else has enabled it).
    ClickAndWait(runMain);
    ClickAndWait(runMain);
    EXPECT_TRUE(::IsWindowEnabled(save));
    auto set = [](HWND box, bool ticked) {
      const bool isTicked = SendWithTimeout(box, BM_GETCHECK) == BST_CHECKED;
      if (isTicked != ticked) ClickAndWait(box);
    };
    set(runMain, runWithWindows);
    set(runMini, runInTray);
    ASSERT_TRUE(ClickAndWait(save));
    EXPECT_FALSE(::IsWindowEnabled(save));
  }
};

TEST_F(MainWindowTest, EachFaceButtonShowsItsChildWindowAndOnlyIt) {
  Process quelvar;
  HWND main = StartVisible(quelvar);
  ASSERT_NE(main, nullptr);
  HWND frame = FindChildById(main, IDC_FRAM_CHILD_WINDOW);
  HWND face = FindChildById(main, IDC_FACE);
  ASSERT_TRUE(frame && face);
  EXPECT_LT(ZIndex(main, face), ZIndex(main, frame)) << "the face covers the frame at start-up";
  EXPECT_TRUE(VisibleInFrame(frame).empty());
  EXPECT_EQ(::FindWindowA("QuelvarSplash", nullptr), nullptr) << "the splash closes at start-up's end";

  // The face is placed and sized as the movie was: 709 x 513 pixels at 96 dpi.
  RECT faceRect{};
  ::GetWindowRect(face, &faceRect);
  EXPECT_EQ(faceRect.right - faceRect.left, 709);
  EXPECT_EQ(faceRect.bottom - faceRect.top, 513);
  RECT mainRect{};
  ::GetWindowRect(main, &mainRect);
  EXPECT_EQ(mainRect.right - mainRect.left, 10710 / 15);
  EXPECT_EQ(mainRect.bottom - mainRect.top, 7485 / 15);
  EXPECT_EQ(::GetWindowLongA(main, GWL_STYLE) & WS_CAPTION, 0) << "the face draws the title bar";
  ::Sleep(500);  // let the face repaint
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("main-home")));

  const struct {
    const char* caption;
    const char* windowClass;
  } cases[] = {
      {"Wizard Mode", "QuelvarWizardMode"},
      {"Advanced Mode", "QuelvarAdvancedMode"},
      {"Backup", "QuelvarBackUp"},
      {"Ping Settings", "QuelvarNetPingerSettings"},
      {"System Status", "QuelvarSystemStatus"},
      {"Ram Configuration", "QuelvarRamConfiguration"},
      {"Main Settings", "QuelvarMainSettings"},
      {"Wizard Mode", "QuelvarWizardMode"},
  };
  for (const auto& c : cases) {
    ClickFace(main, c.caption);
    EXPECT_EQ(VisibleInFrame(frame), std::vector<std::string>{c.windowClass}) << c.caption;
    EXPECT_LT(ZIndex(main, frame), ZIndex(main, face)) << c.caption << ": frame in front";
    // The navigation stays usable beside the frame.
    EXPECT_TRUE(::IsWindowVisible(FindChild(face, "Home Page")));
  }
  ::Sleep(500);  // let the face repaint
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("main-child")));

  ClickFace(main, "Home Page");
  EXPECT_LT(ZIndex(main, face), ZIndex(main, frame)) << "Home Page brings the face back";

  ClickFace(main, "About");
  EXPECT_LT(ZIndex(main, face), ZIndex(main, frame));
  ::Sleep(500);  // let the face repaint
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("main-about")));

  ASSERT_TRUE(::PostMessageA(main, WM_CLOSE, 0, 0));
  ASSERT_TRUE(quelvar.WaitForExit());
  EXPECT_EQ(quelvar.ExitCode(), 0u);
}

TEST_F(MainWindowTest, TrayIconMenuAndExit) {
  Process quelvar;
  HWND main = StartVisible(quelvar);
  ASSERT_NE(main, nullptr);
  HWND tray = FindChildById(main, IDC_TRAY1);
  ASSERT_NE(tray, nullptr);
  EXPECT_TRUE(ShellHasIcon(tray));

  // A right click on the icon pops up the menu.
  ::PostMessageA(tray, 0x200, 1, WM_RBUTTONDOWN);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    menu = ::FindWindowA("#32768", nullptr);
    return menu && ::IsWindowVisible(menu);
  })) << "no pop-up menu";
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("main-tray-menu")));

  // "&Exit" by its mnemonic.
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = 'E';
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, keys, sizeof(INPUT));
  ASSERT_TRUE(quelvar.WaitForExit()) << "\"&Exit\" did not end the program";
  EXPECT_EQ(quelvar.ExitCode(), 0u);
  EXPECT_FALSE(ShellHasIcon(tray));
}

TEST_F(MainWindowTest, RunInTrayStartsWithOnlyTheIconAndTheBalloon) {
  ScopedWineVersion xp("Quelvar.exe", "winxp");
  ASSERT_TRUE(xp.Ok());
  {
    Process quelvar;
    HWND main = StartVisible(quelvar);
    ASSERT_NE(main, nullptr);
    SaveStartupOptions(main, false, true);
    EXPECT_TRUE(::IsWindowVisible(main)) << "the running program is not affected";
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(quelvar.WaitForExit());
  }
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kMainSettingsKey, "chkRunProgramMini"), "1");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kMainSettingsKey, "chkRunMainProgram"), "0");

  Process quelvar = Process::Start(QuelvarExePath());
  ASSERT_TRUE(quelvar.Started());
  HWND main = nullptr, tray = nullptr;
  ASSERT_TRUE(WaitForTrayStart(main, tray));
  EXPECT_FALSE(::IsWindowVisible(main)) << "started in the tray";
  // Wine's shell shows the balloon a few seconds after it is asked for.
  ::Sleep(6000);
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("main-tray-balloon")));

  // A left click on the icon brings the window back.
  ::PostMessageA(tray, 0x200, 1, WM_LBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }));
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(quelvar.WaitForExit());
  EXPECT_EQ(quelvar.ExitCode(), 0u);
}

// The child windows make their controls when first shown; their settings, timers and samples
// run from the start. However the main window was first reached (the face at once, the tray
// menu after hiding to the tray, a start in the tray), a window shown the first time holds
// the stored settings and what its timers gathered meanwhile.
TEST_F(MainWindowTest, AWindowShownTheFirstTimeHoldsWhatRanBeforeItHadControls) {
  const StoredText stored[] = {
      {kRamKey, "txtAlarm", "123"},          {kPingerKey, "txtPingHost", "127.0.0.7"},
      {kPingerKey, "chkDoPinging", "1"},     {kPingerKey, "optManual", "True"},
      {kPingerKey, "optAuto", "False"},
  };
  enum class Reach { Face, TrayMenu, StartInTray };
  for (Reach reach : {Reach::Face, Reach::TrayMenu, Reach::StartInTray}) {
    SCOPED_TRACE(static_cast<int>(reach));
    for (const auto& value : stored) ASSERT_TRUE(StoreMachineText(value.key, value.name, value.text));
    ASSERT_TRUE(StoreMachineText(kMainSettingsKey, "chkRunProgramMini",
                                 reach == Reach::StartInTray ? "1" : "0"));
    Process quelvar = Process::Start(QuelvarExePath());
    ASSERT_TRUE(quelvar.Started());
    HWND main = nullptr, tray = nullptr;
    ASSERT_TRUE(WaitForTrayStart(main, tray));
    EXPECT_EQ(FindChildById(main, IDE_RAM_BOX0), nullptr) << "controls made before any show";
    // The memory timer runs without the status window's controls.
    EXPECT_TRUE(WaitUntil([&] { return GetText(tray).rfind("Memory Usage (", 0) == 0; }))
        << GetText(tray);
    if (reach == Reach::TrayMenu) {
      ClickFace(main, "Hide to tray");
      ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(main); }));
      ::PostMessageA(main, WM_COMMAND, IDC_MNU_MAIN_WINDOW, 0);
    } else if (reach == Reach::StartInTray) {
      EXPECT_FALSE(::IsWindowVisible(main));
      ::PostMessageA(tray, 0x200, 1, WM_LBUTTONDOWN);
    }
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }));
    ::Sleep(700);  // the graphs take a sample or two

    ClickFace(main, "Ram Configuration");
    EXPECT_EQ(GetText(FindChildById(main, IDE_RAM_BOX0)), "123");
    ClickFace(main, "Ping Settings");
    EXPECT_EQ(GetText(FindChildById(main, IDE_PINGER_HOST)), "127.0.0.7");
    EXPECT_NE(GetText(FindChildById(main, IDC_PINGER_STATUS)).find("Next ping: "), std::string::npos);
    ClickFace(main, "System Status");
    EXPECT_EQ(GetText(FindChildById(main, IDC_STATUS_MEMORY_FRAME)).rfind("Memory Usage (", 0), 0u)
        << "the caption carries the samples taken while hidden";
    ClickFace(main, "Main Settings");
    EXPECT_EQ(SendWithTimeout(FindChildById(main, IDX_RUN_PROGRAM_MINI), BM_GETCHECK),
              reach == Reach::StartInTray ? BST_CHECKED : BST_UNCHECKED);
    EXPECT_FALSE(::IsWindowEnabled(FindChildById(main, IDC_MAIN_SETTINGS_SAVE)));
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(quelvar.WaitForExit());
  }
}

TEST_F(MainWindowTest, RunEntryIsWrittenFollowsAMovedProgramAndIsRemoved) {
  {
    Process quelvar;
    HWND main = StartVisible(quelvar);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(RegQueryRunEntry().find("Quelvarix"), std::string::npos) << "nothing on first start";
    SaveStartupOptions(main, true, false);
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(quelvar.WaitForExit());
  }
  const std::string exe = QuelvarExePath();
  EXPECT_NE(RegQueryRunEntry().find(exe), std::string::npos) << RegQueryRunEntry();
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kRunKeyPath, "Quelvarix"), '"' + exe + '"');

  // The program moved to another folder: its next start points the entry there.
  const std::string movedFolder = BuildDir() + "\\moved-quelvar";
  ::CreateDirectoryA(movedFolder.c_str(), nullptr);
  const std::string moved = movedFolder + "\\Quelvar.exe";
  ASSERT_TRUE(::CopyFileA(exe.c_str(), moved.c_str(), FALSE));
  {
    Process quelvar;
    HWND main = StartVisible(quelvar, moved);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kRunKeyPath, "Quelvarix"), '"' + moved + '"');
    EXPECT_NE(RegQueryRunEntry().find(moved), std::string::npos) << RegQueryRunEntry();

    // Clearing the option removes the entry.
    SaveStartupOptions(main, false, false);
    EXPECT_EQ(RegQueryRunEntry().find("Quelvarix"), std::string::npos) << RegQueryRunEntry();
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kMainSettingsKey, "chkRunMainProgram"), "0");
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(quelvar.WaitForExit());
  }
  ::DeleteFileA(moved.c_str());
  ::RemoveDirectoryA(movedFolder.c_str());
}

// "Restart Windows" unloads every child window and takes the tray icon away before it asks
// Windows. Here the request is refused (the shutdown privilege cannot be enabled on the NT
// line: the token functions are hidden) while a ping is under way. Every window must load again
// as at its first load, its timers running, the pinger idle, and the tray icon must be back.
TEST_F(MainWindowTest, ARefusedRestartGivesBackEveryWindowWithItsTimersAndTheTrayIcon) {
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof(memory);
  ::GlobalMemoryStatusEx(&memory);
  if ((memory.ullAvailPhys >> 20) >= 32000) GTEST_SKIP() << "free memory above any alarm level";
  // The alarm frees nothing every 100 ms (it says so in the status window); the pinger pings
  // loopback.
  const StoredText stored[] = {
      {kRamKey, "chkAutomatic", "1"},         {kRamKey, "txtAlarm", "32000"},
      {kRamKey, "txtFreeAlarm", "0"},         {kRamKey, "txtTimeCheck", "100"},
      {kRamKey, "txtRunOnly", "0"},           {kRamKey, "txtRetryOptimization", "1"},
      {kPingerKey, "chkDoPinging", "1"},      {kPingerKey, "optAuto", "False"},
      {kPingerKey, "optManual", "True"},      {kPingerKey, "txtPingHost", "127.0.0.1"},
      {kPingerKey, "cmbPingInterval", "0"},
  };
  for (const auto& value : stored) ASSERT_TRUE(StoreMachineText(value.key, value.name, value.text));
  ScopedWineVersion xp("Quelvar.exe", "winxp");
  ASSERT_TRUE(xp.Ok());
  ASSERT_TRUE(::SetEnvironmentVariableA("QUELVAR_HIDE_API", "Token"));
  Process quelvar;
  HWND main = StartVisible(quelvar);
  ::SetEnvironmentVariableA("QUELVAR_HIDE_API", nullptr);
  ASSERT_NE(main, nullptr);
  ClickFace(main, "Ping Settings");
  HWND pingNow = FindChildById(main, IDC_PINGER_PING_NOW);
  HWND restart = FindChild(FindChildById(main, IDC_FACE), "Restart Windows");
  ASSERT_TRUE(pingNow && restart);
  // Both clicks are queued together: the restart comes while the ping is under way.
  ASSERT_TRUE(Click(pingNow));
  ASSERT_TRUE(Click(restart));

  const StandardBox box = WaitForStandardBox(quelvar.Id(), kDefaultTimeout);
  EXPECT_NE(box.box, nullptr) << "no word of the refused restart";
  if (box.box) {
    EXPECT_NE(box.text.find("Windows was not restarted"), std::string::npos) << box.text;
    ASSERT_TRUE(SaveScreenshot(ScreenshotPath("main-restart-refused")));
    ASSERT_TRUE(AnswerStandardBox(box, IDOK));
  }

  // The windows make their controls again when they are shown.
  for (const char* window : {"System Status", "Ping Settings", "Advanced Mode"}) {
    ClickFace(main, window);
  }
  enum class Expect { TextStarts, Enabled, Shown, Hidden };
  const struct {
    const char* what;
    int id;
    Expect expect;
    const char* text;
  } rows[] = {
      {"processor timer", IDC_STATUS_CPU_FRAME, Expect::TextStarts, "Processor usage ("},
      {"memory timer", IDC_STATUS_MEMORY_FRAME, Expect::TextStarts, "Memory Usage ("},
      {"alarm timer", IDC_STATUS_FREE_CHANGE, Expect::TextStarts, "Free memory: "},
      {"amount label", IDC_STATUS_TARGET_LABEL, Expect::TextStarts, "Target Level Of RAM 0MB."},
      {"pinger schedule", IDC_PINGER_STATUS, Expect::TextStarts,
       "Last ping: none yet\nFailures in a row: 0.   Next ping: "},
      {"pinger idle", IDC_PINGER_PING_NOW, Expect::Enabled, nullptr},
      {"wizard's first page", IDC_ADV_PAGE0, Expect::Shown, nullptr},
      {"wizard's second page", IDC_ADV_PAGE0 + 1, Expect::Hidden, nullptr},
  };
  for (const auto& row : rows) {
    HWND control = nullptr;
    const bool held = WaitUntil([&] {
      control = FindChildById(main, row.id);
      if (!control) return false;
      const bool shown = (::GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
      switch (row.expect) {
        case Expect::TextStarts: return GetText(control).rfind(row.text, 0) == 0;
        case Expect::Enabled: return ::IsWindowEnabled(control) != FALSE;
        case Expect::Shown: return shown;
        case Expect::Hidden: return !shown;
      }
      return false;
    }, Milliseconds{3000});
    EXPECT_TRUE(held) << row.what << ": " << (control ? GetText(control) : "<no control>");
  }
  EXPECT_EQ(GetText(FindChildById(main, IDC_PINGER_STATUS)).find("not scheduled"), std::string::npos);

  // The tray icon is back: hidden in the tray, the program can still be reached.
  HWND tray = FindChildById(main, IDC_TRAY1);
  EXPECT_TRUE(ShellHasIcon(tray));
  ClickFace(main, "Hide to tray");
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(main); }));
  EXPECT_TRUE(ShellHasIcon(tray)) << "hidden with no icon to come back by";
  ::PostMessageA(tray, 0x200, 1, WM_LBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }));
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(quelvar.WaitForExit());
  EXPECT_EQ(quelvar.ExitCode(), 0u);
}

}  // namespace
}  // namespace quelvar
