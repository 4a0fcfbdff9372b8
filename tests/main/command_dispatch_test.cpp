// The face's command table, the three shutdown orders and the Control Panel command lines.
#include "main/command_dispatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/message_box.h"
#include "base/os_family.h"
#include "base/program_folder.h"
#include "base/shell.h"

namespace quelvar {
namespace {

// Records the main window's actions and the shell's calls as text, in order.
class Recorder : public MainWindowActions, public ShellService {
 public:
  std::vector<std::string> calls;

  void MinimizeWindow() override { calls.push_back("minimize"); }
  void hideToTray() override { calls.push_back("hideToTray"); }
  void BringFaceToFront() override { calls.push_back("faceToFront"); }
  void showChildForm(ChildForm form) override {
    calls.push_back(std::string("show ") + ChildFormName(form));
  }
  void intializeList() override { calls.push_back("intializeList"); }
  void dragWindow() override { calls.push_back("drag"); }
  void OpenHelp() override { calls.push_back("help"); }
  void UnloadChild(ChildForm form) override {
    calls.push_back(std::string("unload ") + ChildFormName(form));
  }
  void RemoveTrayIcon() override { calls.push_back("trayOff"); }
  void LoadChild(ChildForm form) override {
    calls.push_back(std::string("load ") + ChildFormName(form));
  }
  void ShowTrayIcon() override { calls.push_back("trayOn"); }
  void WatchRestart() override { calls.push_back("watch"); }
  void EndProcess() override { calls.push_back("end"); }

  long RunCommandLine(const std::string& line, int style) override {
    calls.push_back("run[" + std::to_string(style) + "] " + line);
    return 1;
  }
  long OpenDocument(std::uintptr_t owner, const std::string& file, const std::string& folder,
                    int show) override {
    calls.push_back("open " + std::to_string(owner) + " " + file + " " + folder + " " +
                    std::to_string(show));
    return openResult;
  }
  long openResult = 42;
  bool EnableShutdownPrivilege() override {
    calls.push_back("privilege");
    return privilegeHeld;
  }
  bool privilegeHeld = true;
  long EndWindowsSession(unsigned flags, unsigned reason) override {
    calls.push_back("exitWindows " + std::to_string(flags) + " " + std::to_string(reason));
    return exitResult;
  }
  long exitResult = 1;
};

// The texts of the message boxes shown. One for the whole run: the service slot keeps pointing
// at it after a test.
struct RecordedBoxes : MessageBoxService {
  std::vector<std::string> shown;
  int Show(const std::string& text, const std::string&, unsigned) override {
    shown.push_back(text);
    return kIdOk;
  }
};
RecordedBoxes& RecordBoxes() {
  static RecordedBoxes boxes;
  boxes.shown.clear();
  SetMessageBoxService(boxes);
  return boxes;
}

class CommandDispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetShellService(recorder);
    savedFamily = OsFamily;
    OsFamily = 7;
  }
  void TearDown() override { OsFamily = savedFamily; }
  std::vector<std::string> Run(const std::string& command, const std::string& argument = "") {
    recorder.calls.clear();
    HandleMovieCommand(command, argument, recorder);
    return recorder.calls;
  }

  Recorder recorder;
  std::int16_t savedFamily = 0;
};

using Calls = std::vector<std::string>;

const Calls kCloseSequence = {
    "unload frmWizardMode",   "unload frmAdvancedMode",     "unload frmBackUp",
    "unload frmNetPingerSettings", "unload frmSystemStatus", "unload frmRamConfiguration",
    "unload frmMainSettings", "trayOff",                    "end"};
const Calls kRestartSequence = {"unload frmWizardMode",        "unload frmAdvancedMode",
                                "unload frmBackUp",            "unload frmNetPingerSettings",
                                "unload frmRamConfiguration",  "unload frmMainSettings",
                                "unload frmSystemStatus",      "trayOff",
                                "privilege",                   "exitWindows 2 4294967295",
                                "watch"};

TEST_F(CommandDispatchTest, EveryCommandDoesItsOwnAction) {
  const struct {
    const char* command;
    Calls expected;
  } cases[] = {
      {"IDC_FS_minimize", {"minimize"}},
      {"IDC_FS_close", kCloseSequence},
      {"IDC_FS_tray", {"hideToTray"}},
      {"IDC_FS_home", {"faceToFront"}},
      {"IDC_FS_settings", {"show frmMainSettings"}},
      {"IDC_FS_help", {"help"}},
      {"IDC_FS_drag", {"drag"}},
      {"IDC_FS_hide", {"faceToFront"}},
      {"IDC_FS_wizardmode", {"show frmWizardMode"}},
      {"IDC_FS_advanceddmode", {"show frmAdvancedMode"}},
      {"IDC_FS_backupmanager", {"intializeList", "show frmBackUp"}},
      {"IDC_FS_pingsettings", {"show frmNetPingerSettings"}},
      {"IDC_FS_systemstatus", {"show frmSystemStatus"}},
      {"IDC_FS_ramconfiguration", {"show frmRamConfiguration"}},
      {"IDC_FS_internetproperties",
       {"run[5] rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,0"}},
      {"IDC_FS_systemproperties", {"run[5] rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl,,0"}},
      {"IDC_FS_modemsettings", {"run[5] rundll32.exe shell32.dll,Control_RunDLL modem.cpl"}},
      {"IDC_FS_networksettings", {"run[5] rundll32.exe shell32.dll,Control_RunDLL ncpa.cpl"}},
      {"IDC_FS_restart", kRestartSequence},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.command), c.expected) << c.command;
    // The argument is never looked at.
    EXPECT_EQ(Run(c.command, "IDC_FS_close"), c.expected) << c.command << " with an argument";
  }
  EXPECT_EQ(std::size(cases), kMovieCommands.size());
}

TEST_F(CommandDispatchTest, NearMissesDoNothing) {
  for (const char* command :
       {"IDC_FS_advancedmode", "IDC_FS_Close", "idc_fs_close", "IDC_FS_CLOSE", "IDC_FS_close ",
        " IDC_FS_home", "IDC_FS_", "", "IDC_FS_backupManager", "IDC_FS_Restart", "FS_close"}) {
    EXPECT_TRUE(Run(command, "x").empty()) << '"' << command << '"';
  }
}

TEST(MovieCommandTable, FirstMatchInTableOrder) {
  EXPECT_EQ(kMovieCommands.front().command, MovieCommand::Minimize);
  EXPECT_EQ(kMovieCommands.back().command, MovieCommand::Restart);
  for (std::size_t i = 0; i < kMovieCommands.size(); ++i) {
    EXPECT_EQ(MatchMovieCommand(kMovieCommands[i].name), kMovieCommands[i].command);
    for (std::size_t j = i + 1; j < kMovieCommands.size(); ++j) {
      EXPECT_STRNE(kMovieCommands[i].name, kMovieCommands[j].name);
    }
  }
}

TEST_F(CommandDispatchTest, UnloadHandlerOrderPutsSystemStatusLast) {
  recorder.calls.clear();
  RunUnloadHandler(recorder);
  EXPECT_EQ(recorder.calls,
            (Calls{"unload frmWizardMode", "unload frmAdvancedMode", "unload frmBackUp",
                   "unload frmNetPingerSettings", "unload frmRamConfiguration",
                   "unload frmMainSettings", "unload frmSystemStatus", "trayOff", "end"}));
}

// A restart that does not happen gives the whole program back: every child window loads
// again in the start-up order, the tray icon returns, the home view shows, and the user reads
// why. A request Windows took is watched instead (the main window resumes if it is called off).
TEST_F(CommandDispatchTest, ARestartThatDoesNotHappenGivesTheProgramBack) {
  RecordedBoxes& boxes = RecordBoxes();
  const Calls unloads(kRestartSequence.begin(), kRestartSequence.begin() + 8);
  const Calls back = {"load frmWizardMode",   "load frmAdvancedMode",     "load frmBackUp",
                      "load frmNetPingerSettings", "load frmSystemStatus", "load frmRamConfiguration",
                      "load frmMainSettings", "trayOn",                   "faceToFront"};
  const Calls exit = {"privilege", "exitWindows 2 4294967295"};
  const struct {
    bool privilege;
    long exitResult;
    Calls after;
    const char* says;  // nullptr: no box
  } cases[] = {
      {true, 1, {"privilege", "exitWindows 2 4294967295", "watch"}, nullptr},
      {false, 1, {"privilege"}, "may not shut the computer down"},
      {true, 0, exit, "refused to restart"},
  };
  for (const auto& c : cases) {
    recorder.privilegeHeld = c.privilege;
    recorder.exitResult = c.exitResult;
    boxes.shown.clear();
    Calls expected = unloads;
    expected.insert(expected.end(), c.after.begin(), c.after.end());
    if (c.says) expected.insert(expected.end(), back.begin(), back.end());
    EXPECT_EQ(Run("IDC_FS_restart"), expected) << c.privilege << c.exitResult;
    ASSERT_EQ(boxes.shown.size(), c.says ? 1u : 0u);
    if (c.says) {
      EXPECT_NE(boxes.shown[0].find(c.says), std::string::npos) << boxes.shown[0];
    }
  }
}

TEST(ChildOrders, LoadAndHideOrders) {
  using enum ChildForm;
  EXPECT_EQ(kChildLoadOrder,
            (ChildOrder{frmWizardMode, frmAdvancedMode, frmBackUp, frmNetPingerSettings,
                        frmSystemStatus, frmRamConfiguration, frmMainSettings}));
  EXPECT_EQ(kChildHideOrder,
            (ChildOrder{frmWizardMode, frmAdvancedMode, frmBackUp, frmNetPingerSettings,
                        frmRamConfiguration, frmMainSettings, frmSystemStatus}));
}

TEST_F(CommandDispatchTest, NetworkSettingsFollowTheWindowsLine) {
  const struct {
    int family;
    const char* line;
  } cases[] = {{1, kNetworkSettingsNineFiveLine}, {3, kNetworkSettingsNineFiveLine},
               {4, kNetworkSettingsNineFiveLine}, {5, kNetworkSettingsNtLine},
               {7, kNetworkSettingsNtLine},       {0, nullptr},
               {8, nullptr},                      {-1, nullptr}};
  for (const auto& c : cases) {
    OsFamily = static_cast<std::int16_t>(c.family);
    const Calls calls = Run("IDC_FS_networksettings");
    if (c.line) {
      EXPECT_EQ(calls, Calls{std::string("run[5] ") + c.line}) << c.family;
    } else {
      EXPECT_TRUE(calls.empty()) << c.family;
    }
  }
}

TEST_F(CommandDispatchTest, HelpFileOpensFromTheProgramFolder) {
  const std::string saved = ProgramFolder();
  SetProgramFolder("C:\\Tools\\Quelvar");
  recorder.calls.clear();
  EXPECT_EQ(OpenHelpFile(1234), 42);
  EXPECT_EQ(recorder.calls, Calls{"open 1234 C:\\Tools\\Quelvar\\QLVHelp.chm C:\\ 1"});
  SetProgramFolder(saved);
}

// The shell's answer decides what the user is told: nothing when the file opened, the missing
// file's path, or the missing viewer.
TEST_F(CommandDispatchTest, HelpThatCannotOpenIsExplained) {
  RecordedBoxes& boxes = RecordBoxes();
  const std::string saved = ProgramFolder();
  SetProgramFolder("C:\\Tools\\Quelvar");
  struct Case {
    long shell;
    const char* says;  // nullptr: no box
  } cases[] = {{33, nullptr},
               {42, nullptr},
               {2, "help file is missing"},
               {3, "help file is missing"},
               {31, "no program to show"},
               {27, "no program to show"},
               {0, "could not open"},
               {5, "(error 5)"}};
  for (const Case& c : cases) {
    boxes.shown.clear();
    recorder.openResult = c.shell;
    EXPECT_EQ(OpenHelpFile(1), c.shell);
    if (c.says == nullptr) {
      EXPECT_TRUE(boxes.shown.empty()) << c.shell;
    } else {
      ASSERT_EQ(boxes.shown.size(), 1u) << c.shell;
      EXPECT_NE(boxes.shown[0].find(c.says), std::string::npos) << boxes.shown[0];
      EXPECT_NE(boxes.shown[0].find("C:\\Tools\\Quelvar\\QLVHelp.chm"), std::string::npos);
    }
  }
  SetProgramFolder(saved);
}

}  // namespace
}  // namespace quelvar
