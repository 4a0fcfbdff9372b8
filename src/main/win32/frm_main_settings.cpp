// Start-up settings window; see frm_main_settings.h.
#include "main/win32/frm_main_settings.h"

#include "base/message_box.h"
#include "base/program_folder.h"
#include "base/win32/controls.h"
#include "base/win32/module_file.h"
#include "resource.h"

namespace quelvar {

std::string frmMainSettings::ExecutablePath() {
  // WinMain stops before any window when the path is unknown; the program's usual name then.
  const std::string path = ModuleFileName();
  return RunEntryPath(ProgramFolder(), path.empty() ? "Quelvar" : BaseNameOfPath(path));
}

void frmMainSettings::CreateControls() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const int width = client.right * 96 / Scale(96);
  const int height = client.bottom * 96 / Scale(96);
  m_frameMainSettings = AddControl("BUTTON", "Main Settings", BS_GROUPBOX, 0, 0, width, height,
                                   IDC_FRAME_MAIN_SETTINGS);
  m_frmStartup = AddControl("BUTTON", "Windows Startup", BS_GROUPBOX, 16, 32, width - 32, 104,
                            IDC_FRM_STARTUP);
  m_chkRunMainProgram =
      AddControl("BUTTON", "Run Main Program when windows start up",
                 BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 32, 60, width - 64, 24,
                 IDX_RUN_MAIN_PROGRAM);
  m_chkRunProgramMini = AddControl("BUTTON", "Run Program In system tray",
                                   BS_AUTOCHECKBOX | WS_TABSTOP, 32, 94, width - 64, 24,
                                   IDX_RUN_PROGRAM_MINI);
  m_cmdSave = AddControl("BUTTON", "&Save", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP,
                         width - 16 - 96, height - 16 - 28, 96, 28, IDC_MAIN_SETTINGS_SAVE);
}

void frmMainSettings::Form_Load() {
  loadSettings();
  setSettingsChanged(false);
}

void frmMainSettings::ShowLoadedState() {
  SetChecked(m_chkRunMainProgram, m_values.chkRunMainProgram == 1);
  SetChecked(m_chkRunProgramMini, m_values.chkRunProgramMini == 1);
  setSettingsChanged(m_changed);
}

void frmMainSettings::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDX_RUN_MAIN_PROGRAM:
      m_values.chkRunMainProgram = IsChecked(control) ? 1 : 0;
      chkRunMainProgram_Click();
      break;
    case IDX_RUN_PROGRAM_MINI:
      m_values.chkRunProgramMini = IsChecked(control) ? 1 : 0;
      chkRunProgramMini_Click();
      break;
    case IDC_MAIN_SETTINGS_SAVE: cmdSave_Click(); break;
    default: break;
  }
}

int frmMainSettings::chkRunMainProgram() const { return m_values.chkRunMainProgram; }
int frmMainSettings::chkRunProgramMini() const { return m_values.chkRunProgramMini; }

void frmMainSettings::loadSettings() {
  m_values = quelvar::loadSettings(ExecutablePath());
  // Setting a box from the store counts as a click.
  SetChecked(m_chkRunMainProgram, m_values.chkRunMainProgram == 1);
  chkRunMainProgram_Click();
  SetChecked(m_chkRunProgramMini, m_values.chkRunProgramMini == 1);
  chkRunProgramMini_Click();
}

std::optional<StoreFailure> frmMainSettings::saveSettings() {
  return quelvar::saveSettings({chkRunMainProgram(), chkRunProgramMini()}, ExecutablePath());
}

void frmMainSettings::setSettingsChanged(bool changed) {
  m_changed = changed;
  if (!ControlsCreated()) return;
  // Disabling the focused button would leave the keyboard nowhere: move it on first.
  if (!changed && ::GetFocus() == m_cmdSave) ::SetFocus(m_chkRunMainProgram);
  ::EnableWindow(m_cmdSave, changed ? TRUE : FALSE);
}

void frmMainSettings::cmdSave_Click() {
  if (const std::optional<StoreFailure> failure = saveSettings()) {
    // The boxes keep their ticks and Save stays enabled, so the user can try again.
    MessageBoxes().Show(StoreFailureMessage(*failure), kAppTitle, kMbOk | kMbIconExclamation);
    return;
  }
  setSettingsChanged(false);
}

}  // namespace quelvar
