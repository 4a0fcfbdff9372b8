// Wizard mode: eight fixed optimisation modes; a click loads the preset into the tuning
// profile and shows its values, "Optimize Now" applies the profile and returns home. Beside the
// description, a second tab lists what "Optimize Now" would change in the registry, and
// "Export..." saves that as a registry file.
#pragma once
#include <array>

#include "base/win32/child_window.h"
#include "tuning/win32/preview_list.h"
#include "base/win32/tool_tips.h"

namespace quelvar {

class frmWizardMode : public ChildWindow {
 public:
  explicit frmWizardMode(MainWindowHost& host) : ChildWindow(host) {}

 protected:
  const char* ClassName() const override { return "QuelvarWizardMode"; }
  void CreateControls() override;
  void Form_Load() override;
  void ShowLoadedState() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(const NMHDR& header) override;

 private:
  void Layout();
  void AddModeToolTips();
  void optMode_Click(int index);
  void cmdOptimize_Click();
  // Saves what "Optimize Now" would change as a registry file.
  void cmdExport_Click();
  // Makes the profile's description the caption of lblModeDescrip.
  void ShowModeDescription();
  // Paints the description with its tab-separated columns lined up.
  void lblModeDescrip_Draw(const DRAWITEMSTRUCT& item);
  // Shows the description or the preview, by the selected tab.
  void ShowSelectedView();
  // Fills the preview from the profile and the registry as they are now.
  void RefreshPreview();

  HWND m_frame = nullptr;
  HWND m_frameOptimizationMode = nullptr;
  std::array<HWND, 8> m_optMode{};
  HWND m_lblModeDescrip = nullptr;
  HWND m_cmdOptimize = nullptr;
  HWND m_cmdExport = nullptr;
  ToolTips m_toolTips;
  HWND m_viewTabs = nullptr;
  PreviewList m_preview;
};

}  // namespace quelvar
