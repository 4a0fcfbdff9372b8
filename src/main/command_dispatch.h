// The main window's command dispatch: the face's command names, the order the seven child
// windows are loaded, hidden and unloaded in, the three shutdown sequences, and the Control
// Panel command lines. The main window supplies the actions; this file decides which run.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quelvar {

// The seven child windows of the main window.
enum class ChildForm {
  frmWizardMode,
  frmAdvancedMode,
  frmBackUp,
  frmNetPingerSettings,
  frmSystemStatus,
  frmRamConfiguration,
  frmMainSettings,
};
using ChildOrder = std::array<ChildForm, 7>;

const char* ChildFormName(ChildForm form);

// Start-up loads them (hidden) in this order.
extern const ChildOrder kChildLoadOrder;
// showChildForm hides them all in this order first.
extern const ChildOrder kChildHideOrder;
// The main window's unload handler ("&Exit", or the system closing the window).
extern const ChildOrder kUnloadHandlerOrder;
// "IDC_FS_close".
extern const ChildOrder kCloseCommandOrder;
// "IDC_FS_restart".
extern const ChildOrder kRestartCommandOrder;

enum class MovieCommand {
  None,
  Minimize,
  Close,
  Tray,
  Home,
  Settings,
  Help,
  Drag,
  Hide,
  WizardMode,
  AdvancedMode,
  BackupManager,
  PingSettings,
  SystemStatus,
  RamConfiguration,
  InternetProperties,
  SystemProperties,
  ModemSettings,
  NetworkSettings,
  Restart,
};

struct MovieCommandName {
  const char* name;
  MovieCommand command;
};

// The names the face raises, in the order they are compared.
extern const std::array<MovieCommandName, 19> kMovieCommands;

// The first entry equal to `command` (exact, case-sensitive), or None.
MovieCommand MatchMovieCommand(std::string_view command);

// What the main window does for the commands; implemented by frmMain and by test doubles.
class MainWindowActions {
 public:
  virtual ~MainWindowActions() = default;
  virtual void MinimizeWindow() = 0;
  virtual void hideToTray() = 0;
  // The face in front of the child window frame.
  virtual void BringFaceToFront() = 0;
  virtual void showChildForm(ChildForm form) = 0;
  // Reloads the backup manager's list.
  virtual void intializeList() = 0;
  virtual void dragWindow() = 0;
  virtual void OpenHelp() = 0;
  virtual void UnloadChild(ChildForm form) = 0;
  virtual void RemoveTrayIcon() = 0;
  // The way back from a restart that did not happen: a child window loaded again (hidden) and
  // the tray icon shown again.
  virtual void LoadChild(ChildForm form) = 0;
  virtual void ShowTrayIcon() = 0;
  // Windows took the restart request, but the session may still be called off (another
  // program refuses, the user cancels): the main window runs ResumeAfterRestart when Windows
  // says so, or when the session has not ended after kRestartWatchMilliseconds.
  virtual void WatchRestart() = 0;
  // Ends the process at once with exit code 0.
  virtual void EndProcess() = 0;
};

// The movie command handler: acts on the command; the argument is not used.
void HandleMovieCommand(std::string_view command, std::string_view argument,
                        MainWindowActions& actions);

// The three roads out: unload the children in the given order, remove the tray icon, then
// end the process (unload handler, close) or ask Windows to restart (restart). A restart
// that Windows refuses at once gives the whole program back and tells the user why.
void RunUnloadHandler(MainWindowActions& actions);
void RunCloseCommand(MainWindowActions& actions);
void RunRestartCommand(MainWindowActions& actions);
// After a restart that did not happen: the children load again in the start-up order, the
// tray icon comes back and the home view is shown, as after start-up.
void ResumeAfterRestart(MainWindowActions& actions);
inline constexpr unsigned kRestartWatchMilliseconds = 20000;

// Control Panel command lines, started with window style 5 and not waited for.
inline constexpr const char* kInternetPropertiesLine =
    "rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,0";
inline constexpr const char* kSystemPropertiesLine =
    "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl,,0";
inline constexpr const char* kModemSettingsLine = "rundll32.exe shell32.dll,Control_RunDLL modem.cpl";
inline constexpr const char* kNetworkSettingsNineFiveLine =
    "rundll32.exe shell32.dll,Control_RunDLL netcpl.cpl";
inline constexpr const char* kNetworkSettingsNtLine =
    "rundll32.exe shell32.dll,Control_RunDLL ncpa.cpl";
inline constexpr int kControlPanelWindowStyle = 5;

// The network settings line for an OsFamily code; none outside 1..7.
std::optional<std::string> NetworkSettingsCommandLine(int osFamily);

// Each starts its work and returns the platform's result (no caller uses it).
long OpenInternetProperties();
long OpenSystemProperties();
long OpenModemSettings();
long OpenNetworkSettings();
bool EnableShutdownPrivilege();

// How a request to restart Windows went: taken (the session may still be called off), not
// made because the process may not shut the computer down, or refused by Windows.
enum class RestartRequest { Requested, NoPrivilege, Refused };
RestartRequest RestartWindows();
// What the user reads when the restart did not happen; nothing for a request Windows took.
std::optional<std::string> RestartRefusalText(RestartRequest request);

// The help file: shell-executed with the default verb, no parameters, folder "C:\", shown
// normally, owned by `owner` (a window handle). When the shell cannot open it, the user is told
// why (HelpOpenFailureText) before the shell's result is returned.
inline constexpr const char* kHelpFileLiteral = "\\QLVHelp.chm";
inline constexpr const char* kHelpWorkingFolder = "C:\\";
long OpenHelpFile(std::uintptr_t owner);
// What the user reads when the shell answered `shellResult` (above 32 means it opened the
// file) for the help file at `helpPath`; nothing when it opened.
std::optional<std::string> HelpOpenFailureText(long shellResult, const std::string& helpPath);

}  // namespace quelvar
