// Command dispatch; see command_dispatch.h.
#include "main/command_dispatch.h"

#include "base/message_box.h"
#include "base/os_family.h"
#include "base/program_folder.h"
#include "base/shell.h"

namespace quelvar {

using enum ChildForm;

const ChildOrder kChildLoadOrder = {frmWizardMode,        frmAdvancedMode,  frmBackUp,
                                    frmNetPingerSettings, frmSystemStatus,  frmRamConfiguration,
                                    frmMainSettings};
const ChildOrder kChildHideOrder = {frmWizardMode,        frmAdvancedMode,     frmBackUp,
                                    frmNetPingerSettings, frmRamConfiguration, frmMainSettings,
                                    frmSystemStatus};
const ChildOrder kUnloadHandlerOrder = kChildHideOrder;
const ChildOrder kCloseCommandOrder = kChildLoadOrder;
const ChildOrder kRestartCommandOrder = kChildHideOrder;

const char* ChildFormName(ChildForm form) {
  switch (form) {
    case frmWizardMode: return "frmWizardMode";
    case frmAdvancedMode: return "frmAdvancedMode";
    case frmBackUp: return "frmBackUp";
    case frmNetPingerSettings: return "frmNetPingerSettings";
    case frmSystemStatus: return "frmSystemStatus";
    case frmRamConfiguration: return "frmRamConfiguration";
    case frmMainSettings: return "frmMainSettings";
  }
  return "";
}

const std::array<MovieCommandName, 19> kMovieCommands = {{
    {"IDC_FS_minimize", MovieCommand::Minimize},
    {"IDC_FS_close", MovieCommand::Close},
    {"IDC_FS_tray", MovieCommand::Tray},
    {"IDC_FS_home", MovieCommand::Home},
    {"IDC_FS_settings", MovieCommand::Settings},
    {"IDC_FS_help", MovieCommand::Help},
    {"IDC_FS_drag", MovieCommand::Drag},
    {"IDC_FS_hide", MovieCommand::Hide},
    {"IDC_FS_wizardmode", MovieCommand::WizardMode},
    {"IDC_FS_advanceddmode", MovieCommand::AdvancedMode},
    {"IDC_FS_backupmanager", MovieCommand::BackupManager},
    {"IDC_FS_pingsettings", MovieCommand::PingSettings},
    {"IDC_FS_systemstatus", MovieCommand::SystemStatus},
    {"IDC_FS_ramconfiguration", MovieCommand::RamConfiguration},
    {"IDC_FS_internetproperties", MovieCommand::InternetProperties},
    {"IDC_FS_systemproperties", MovieCommand::SystemProperties},
    {"IDC_FS_modemsettings", MovieCommand::ModemSettings},
    {"IDC_FS_networksettings", MovieCommand::NetworkSettings},
    {"IDC_FS_restart", MovieCommand::Restart},
}};

MovieCommand MatchMovieCommand(std::string_view command) {
  for (const auto& entry : kMovieCommands) {
    if (command == entry.name) return entry.command;
  }
  return MovieCommand::None;
}

void HandleMovieCommand(std::string_view command, std::string_view /*argument*/,
                        MainWindowActions& actions) {
  switch (MatchMovieCommand(command)) {
    case MovieCommand::None: break;
    case MovieCommand::Minimize: actions.MinimizeWindow(); break;
    case MovieCommand::Close: RunCloseCommand(actions); break;
    case MovieCommand::Tray: actions.hideToTray(); break;
    case MovieCommand::Home: actions.BringFaceToFront(); break;
    case MovieCommand::Settings: actions.showChildForm(frmMainSettings); break;
    case MovieCommand::Help: actions.OpenHelp(); break;
    case MovieCommand::Drag: actions.dragWindow(); break;
    case MovieCommand::Hide: actions.BringFaceToFront(); break;
    case MovieCommand::WizardMode: actions.showChildForm(frmWizardMode); break;
    case MovieCommand::AdvancedMode: actions.showChildForm(frmAdvancedMode); break;
    case MovieCommand::BackupManager:
      actions.intializeList();
      actions.showChildForm(frmBackUp);
      break;
    case MovieCommand::PingSettings: actions.showChildForm(frmNetPingerSettings); break;
    case MovieCommand::SystemStatus: actions.showChildForm(frmSystemStatus); break;
    case MovieCommand::RamConfiguration: actions.showChildForm(frmRamConfiguration); break;
    case MovieCommand::InternetProperties: OpenInternetProperties(); break;
    case MovieCommand::SystemProperties: OpenSystemProperties(); break;
    case MovieCommand::ModemSettings: OpenModemSettings(); break;
    case MovieCommand::NetworkSettings: OpenNetworkSettings(); break;
    case MovieCommand::Restart: RunRestartCommand(actions); break;
  }
}

namespace {
void UnloadChildren(const ChildOrder& order, MainWindowActions& actions) {
  for (ChildForm form : order) actions.UnloadChild(form);
  actions.RemoveTrayIcon();
}
}  // namespace

void RunUnloadHandler(MainWindowActions& actions) {
  UnloadChildren(kUnloadHandlerOrder, actions);
  actions.EndProcess();
}

void RunCloseCommand(MainWindowActions& actions) {
  UnloadChildren(kCloseCommandOrder, actions);
  actions.EndProcess();
}

void RunRestartCommand(MainWindowActions& actions) {
  UnloadChildren(kRestartCommandOrder, actions);
  const RestartRequest request = RestartWindows();
  if (request == RestartRequest::Requested) {
    actions.WatchRestart();
    return;
  }
  ResumeAfterRestart(actions);
  if (const auto text = RestartRefusalText(request)) {
    MessageBoxes().Show(*text, kAppTitle, kMbOk | kMbIconExclamation);
  }
}

void ResumeAfterRestart(MainWindowActions& actions) {
  for (ChildForm form : kChildLoadOrder) actions.LoadChild(form);
  actions.ShowTrayIcon();
  actions.BringFaceToFront();
}

std::optional<std::string> NetworkSettingsCommandLine(int osFamily) {
  if (IsNineFiveLine(osFamily)) return std::string(kNetworkSettingsNineFiveLine);
  if (IsNtLine(osFamily)) return std::string(kNetworkSettingsNtLine);
  return std::nullopt;
}

long OpenInternetProperties() {
  return Shell().RunCommandLine(kInternetPropertiesLine, kControlPanelWindowStyle);
}
long OpenSystemProperties() {
  return Shell().RunCommandLine(kSystemPropertiesLine, kControlPanelWindowStyle);
}
long OpenModemSettings() {
  return Shell().RunCommandLine(kModemSettingsLine, kControlPanelWindowStyle);
}
long OpenNetworkSettings() {
  const auto line = NetworkSettingsCommandLine(OsFamily);
  if (!line) return 0;
  return Shell().RunCommandLine(*line, kControlPanelWindowStyle);
}

bool EnableShutdownPrivilege() { return Shell().EnableShutdownPrivilege(); }

RestartRequest RestartWindows() {
  // Without the privilege Windows refuses the request anyway: it is not made.
  if (!EnableShutdownPrivilege()) return RestartRequest::NoPrivilege;
  if (Shell().EndWindowsSession(kExitWindowsReboot, kShutdownReasonAll) == 0) {
    return RestartRequest::Refused;
  }
  return RestartRequest::Requested;
}

std::optional<std::string> RestartRefusalText(RestartRequest request) {
  switch (request) {
    case RestartRequest::Requested: return std::nullopt;
    case RestartRequest::NoPrivilege:
      return "Windows was not restarted: this user account may not shut the computer down."
             "\r\n\r\nQuelvar goes on running. Restart Windows from the Start menu, or ask an "
             "administrator for the right to shut the computer down.";
    case RestartRequest::Refused:
      return "Windows refused to restart now.\r\n\r\nQuelvar goes on running. Close the "
             "programs that are open and try again, or restart from the Start menu.";
  }
  return std::nullopt;
}

std::optional<std::string> HelpOpenFailureText(long shellResult, const std::string& helpPath) {
  // The shell's own codes: 2 and 3 file or path not found, 27 and 31 no program for the type.
  if (shellResult > 32) return std::nullopt;
  if (shellResult == 2 || shellResult == 3) {
    return "Quelvar's help file is missing:\r\n" + helpPath +
           "\r\n\r\nUnpack Quelvar again to put QLVHelp.chm back beside Quelvar.exe.";
  }
  if (shellResult == 27 || shellResult == 31) {
    return "Windows has no program to show Quelvar's help file:\r\n" + helpPath +
           "\r\n\r\nThe help needs HTML Help, which comes with Internet Explorer 4 or later.";
  }
  return "Windows could not open Quelvar's help file:\r\n" + helpPath + "\r\n\r\n(error " +
         std::to_string(shellResult) + ")";
}

long OpenHelpFile(std::uintptr_t owner) {
  const std::string path = ProgramPath(kHelpFileLiteral);
  const long result = Shell().OpenDocument(owner, path, kHelpWorkingFolder, kShowNormal);
  if (auto failure = HelpOpenFailureText(result, path)) {
    MessageBoxes().Show(*failure, kAppTitle, kMbOk | kMbIconExclamation);
  }
  return result;
}

}  // namespace quelvar
