// Advanced mode: an eight-page wizard that sets every tuning value by hand, then applies the
// profile. The pages' rules live in AdvancedModeWizard; this window shows its state, feeds it
// the user's input, lays the pages out and returns to the home view after Finish.
#pragma once
#include <array>
#include <optional>
#include <vector>

#include "base/win32/child_window.h"
#include "tuning/advanced_mode.h"
#include "tuning/win32/page_layout.h"
#include "tuning/win32/preview_list.h"
#include "base/win32/tool_tips.h"

namespace quelvar {

class frmAdvancedMode : public ChildWindow {
 public:
  explicit frmAdvancedMode(MainWindowHost& host);

 protected:
  const char* ClassName() const override { return "QuelvarAdvancedMode"; }
  void CreateControls() override;
  void Form_Load() override;
  void ShowLoadedState() override;
  void Form_Unload() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(const NMHDR& header) override;

 private:
  // One page: its frame, the controls on it and how they stand.
  struct Page {
    bool built = false;  // its controls are there (while it is shown)
    HWND frame = nullptr;
    std::vector<HWND> made;  // every window made for it
    std::vector<HWND> controls;
    PageLayout layout;
  };

  // Control builders; each control joins the page being built.
  HWND Label(const char* text, DWORD style = 0, int id = -1);
  HWND Explanation(const char* text);
  HWND Box(int id, const char* text, bool editable = true);
  HWND Check(int id, const char* text);
  void CreatePage0();
  void CreatePage1();
  void CreatePage2();
  void CreatePage3();
  void CreatePage4();
  void CreatePage5();
  void CreatePage6();
  void CreatePage7();
  void AddToolTips();
  void BuildPage(int index);
  void DropPage(int index);

  void Layout();
  // Makes every page's frame and controls invisible, in index order, then shows page `index`.
  void ShowWizardPage(int index);
  void KeepFocus(HWND focus);
  // Brings every control in line with the wizard's state.
  void ShowState();
  void SetTextIfChanged(HWND control, const std::string& text);
  // Fills the last page's preview from the boxes and the registry as they are now (or says
  // why Finish would refuse) and shows it while the last page is on show.
  void RefreshPreview();

  void cmdNextPage_Click();
  void cmdPrevPage_Click();
  // Saves what Finish would change, from the boxes, as a registry file.
  void cmdExport_Click();
  bool IsExplanation(HWND control) const;
  void NewWizard();

  std::optional<AdvancedModeWizard> m_wizard;  // always holds one; new for every load
  bool m_loaded = false;
  bool m_showingState = false;  // our own text changes are not the user's
  Page* m_building = nullptr;
  int m_shownPage = -1;

  HWND m_frameAdvancedMode = nullptr;
  std::array<Page, kWizardPageCount> m_frmWizardPages;
  HWND m_frmConnectionType = nullptr;
  std::array<HWND, 4> m_optConnType{};
  std::array<HWND, kValueBoxCount> m_boxes{};
  HWND m_txtMSSRWINValue = nullptr;
  HWND m_txtMultiplier = nullptr;
  HWND m_txtScaleFactor = nullptr;
  HWND m_txtRWIN = nullptr;
  HWND m_lblMTURecValue = nullptr;
  HWND m_lblMSSRecVaklue = nullptr;
  HWND m_lblRWINRecValue = nullptr;
  HWND m_chkBlackHoleValue = nullptr;
  HWND m_chkMTUDisconver = nullptr;
  HWND m_chkICMPValue = nullptr;
  HWND m_updwnDescision = nullptr;
  HWND m_cmbNDI = nullptr;
  HWND m_cmdPrevPage = nullptr;
  HWND m_cmdNextPage = nullptr;
  // What Finish changes: the list, or in its place why Finish would refuse.
  PreviewList m_preview;
  HWND m_lblPreviewRefusal = nullptr;
  HWND m_cmdExport = nullptr;
  std::vector<HWND> m_explanations;
  std::vector<HWND> m_boldLabels;
  ToolTips m_toolTips;
};

}  // namespace quelvar
