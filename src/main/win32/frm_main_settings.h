// The start-up settings window: start Quelvar with Windows (the Run entry) and start it
// hidden in the tray. Loaded hidden at start-up; the main window reads chkRunProgramMini.
#pragma once
#include "main/main_settings.h"
#include "base/win32/child_window.h"

namespace quelvar {

class frmMainSettings : public ChildWindow {
 public:
  explicit frmMainSettings(MainWindowHost& host) : ChildWindow(host) {}

  // The check box values, 0 or 1.
  int chkRunMainProgram() const;
  int chkRunProgramMini() const;

  void loadSettings();
  // The value that could not be stored, if any.
  std::optional<StoreFailure> saveSettings();
  // Enables "&Save" while there are unsaved edits.
  void setSettingsChanged(bool changed);

  // The executable's present path (the Run entry holds it in quotation marks).
  static std::string ExecutablePath();

 protected:
  const char* ClassName() const override { return "QuelvarMainSettings"; }
  void CreateControls() override;
  void Form_Load() override;
  void ShowLoadedState() override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  void chkRunMainProgram_Click() { setSettingsChanged(true); }
  void chkRunProgramMini_Click() { setSettingsChanged(true); }
  void cmdSave_Click();

  MainSettingsValues m_values;  // the boxes' ticks, shown or not
  bool m_changed = false;       // Save enabled
  HWND m_frameMainSettings = nullptr;
  HWND m_frmStartup = nullptr;
  HWND m_chkRunMainProgram = nullptr;
  HWND m_chkRunProgramMini = nullptr;
  HWND m_cmdSave = nullptr;
};

}  // namespace quelvar
