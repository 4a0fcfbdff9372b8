// Advanced Mode window: showing the wizard's state and the events; see frm_advanced_mode.h.
// The pages' controls are made in frm_advanced_mode_pages.cpp.
#include "tuning/win32/frm_advanced_mode.h"

#include <commctrl.h>

#include <string>

#include "base/os_family.h"
#include "base/win32/skin.h"
#include "resource.h"
#include "tuning/apply_profile.h"
#include "tuning/change_preview.h"
#include "tuning/reg_export.h"
#include "tuning/tuning_profile.h"
#include "tuning/win32/reg_export_dialog.h"

namespace quelvar {

namespace {

std::string TextOf(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

bool IsTicked(HWND check) { return ::SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetTicked(HWND check, bool ticked) {
  if (IsTicked(check) != ticked) {
    ::SendMessageA(check, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

}  // namespace

frmAdvancedMode::frmAdvancedMode(MainWindowHost& host) : ChildWindow(host) { NewWizard(); }

void frmAdvancedMode::NewWizard() {
  m_wizard.emplace(g_TuningProfile, [] { return ApplyTuningProfile(); });
}

// --- Showing ------------------------------------------------------------------------------

void frmAdvancedMode::Form_Load() { m_wizard->Form_Load(); }

void frmAdvancedMode::ShowLoadedState() {
  m_loaded = true;
  Layout();
  ShowState();
}

void frmAdvancedMode::Form_Unload() {
  // A load after this one starts as the first did: the pages are built afresh, and the wizard
  // is new (page 0, the first values).
  for (Page& page : m_frmWizardPages) page = Page();
  // The controls went with the window; the pages not shown again must not reach for them.
  m_frameAdvancedMode = m_frmConnectionType = m_txtMSSRWINValue = m_txtMultiplier = nullptr;
  m_txtScaleFactor = m_txtRWIN = m_lblMTURecValue = m_lblMSSRecVaklue = nullptr;
  m_lblRWINRecValue = m_chkBlackHoleValue = m_chkMTUDisconver = m_chkICMPValue = nullptr;
  m_updwnDescision = m_cmbNDI = m_cmdPrevPage = m_cmdNextPage = nullptr;
  m_lblPreviewRefusal = m_cmdExport = nullptr;
  m_optConnType.fill(nullptr);
  m_preview.Forget();
  m_boxes.fill(nullptr);
  m_explanations.clear();
  m_boldLabels.clear();
  m_building = nullptr;
  m_loaded = false;
  m_showingState = false;
  m_shownPage = -1;
  NewWizard();
}

void frmAdvancedMode::Layout() {
  if (!m_loaded) return;
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const int width = client.right;
  const int height = client.bottom;
  const int margin = Scale(6);
  const int buttonWidth = Scale(80);
  // As high as a value box: the same font's line.
  const int buttonHeight = EditHeight(m_cmdNextPage) + Scale(2);
  ::MoveWindow(m_frameAdvancedMode, 0, 0, width, height, TRUE);

  const int buttonTop = height - margin - buttonHeight;
  ::MoveWindow(m_cmdNextPage, width - margin - buttonWidth, buttonTop, buttonWidth, buttonHeight,
               TRUE);
  ::MoveWindow(m_cmdPrevPage, width - margin - 2 * buttonWidth - Scale(6), buttonTop, buttonWidth,
               buttonHeight, TRUE);

  // The pages stacked in one place above the buttons.
  const RECT frame{margin, 0, width - margin, buttonTop - Scale(5)};
  const RECT area{frame.left + Scale(10), frame.top + Scale(19), frame.right - Scale(10),
                  frame.bottom - Scale(5)};
  for (Page& page : m_frmWizardPages) {
    ::MoveWindow(page.frame, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, TRUE);
    page.layout.Apply(area);
  }
  if (m_preview.hwnd()) m_preview.FitColumns();
  if (!m_optConnType[0]) return;
  // The connection types stand in their own frame.
  RECT first{}, last{};
  ::GetWindowRect(m_optConnType[0], &first);
  ::GetWindowRect(m_optConnType[3], &last);
  ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&first), 2);
  ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&last), 2);
  ::MoveWindow(m_frmConnectionType, area.left, first.top - Scale(20), area.right - area.left,
               last.bottom - first.top + Scale(28), TRUE);
}

void frmAdvancedMode::ShowWizardPage(int index) {
  BuildPage(index);
  m_shownPage = index;
  const HWND focus = ::GetFocus();
  ::ShowWindow(m_preview.hwnd(), SW_HIDE);
  ::ShowWindow(m_lblPreviewRefusal, SW_HIDE);
  for (int i = 0; i < kWizardPageCount; ++i) {
    ::ShowWindow(m_frmWizardPages[i].frame, SW_HIDE);
    if (i != index) DropPage(i);
  }
  Page& shown = m_frmWizardPages[index];
  ::ShowWindow(shown.frame, SW_SHOW);
  for (HWND control : shown.controls) ::ShowWindow(control, SW_SHOW);
  KeepFocus(focus);
}

// The keyboard stays on the window when its control was hidden or disabled: on the button
// pressed, or the other one.
void frmAdvancedMode::KeepFocus(HWND focus) {
  // A focused control of this thread that is gone was on a page that went.
  const bool gone = focus && !::IsWindow(focus);
  if (gone || (focus && ::IsChild(hwnd(), focus) &&
               (!::IsWindowVisible(focus) || !::IsWindowEnabled(focus)))) {
    ::SetFocus(::IsWindowEnabled(m_cmdNextPage) ? m_cmdNextPage : m_cmdPrevPage);
  }
}

void frmAdvancedMode::SetTextIfChanged(HWND control, const std::string& text) {
  if (TextOf(control) == text) return;
  ::SetWindowTextA(control, text.c_str());
  // Typing goes on at the end of a replaced text.
  if (::GetFocus() == control) {
    ::SendMessageA(control, EM_SETSEL, static_cast<WPARAM>(text.size()),
                   static_cast<LPARAM>(text.size()));
  }
}

void frmAdvancedMode::ShowState() {
  BuildPage(m_wizard->VisiblePage());
  m_showingState = true;
  const HWND focus = ::GetFocus();
  for (int i = 0; i < kValueBoxCount; ++i) {
    SetTextIfChanged(m_boxes[i], m_wizard->BoxText(static_cast<ValueBox>(i)));
  }
  SetTextIfChanged(m_txtMSSRWINValue, m_wizard->txtMSSRWINValue());
  SetTextIfChanged(m_txtMultiplier, m_wizard->txtMultiplier());
  SetTextIfChanged(m_txtScaleFactor, m_wizard->txtScaleFactor());
  SetTextIfChanged(m_txtRWIN, m_wizard->txtRWIN());
  SetTextIfChanged(m_lblMTURecValue, m_wizard->lblMTURecValue());
  SetTextIfChanged(m_lblMSSRecVaklue, m_wizard->lblMSSRecVaklue());
  SetTextIfChanged(m_lblRWINRecValue, m_wizard->lblRWINRecValue());
  for (int i = 0; i < 4; ++i) SetTicked(m_optConnType[i], m_wizard->ConnectionType() == i);
  SetTicked(m_chkBlackHoleValue, m_wizard->BlackHoleTicked());
  SetTicked(m_chkMTUDisconver, m_wizard->MTUDisconverTicked());
  SetTicked(m_chkICMPValue, m_wizard->ICMPTicked());
  if (::SendMessageA(m_cmbNDI, CB_GETCURSEL, 0, 0) != m_wizard->NdiIndex()) {
    ::SendMessageA(m_cmbNDI, CB_SETCURSEL, static_cast<WPARAM>(m_wizard->NdiIndex()), 0);
  }
  SetTextIfChanged(m_cmdNextPage, m_wizard->NextCaption());
  ::EnableWindow(m_cmdNextPage, m_wizard->NextEnabled());
  ::EnableWindow(m_cmdPrevPage, m_wizard->PrevEnabled());
  KeepFocus(focus);
  if (m_wizard->VisiblePage() != m_shownPage) ShowWizardPage(m_wizard->VisiblePage());
  if (m_shownPage == 7) RefreshPreview();
  m_showingState = false;
}

void frmAdvancedMode::RefreshPreview() {
  const FinishProfile built = m_wizard->ProfileFromBoxes();
  const bool refused = !built.refusal.empty();
  if (refused) {
    SetTextIfChanged(m_lblPreviewRefusal, built.refusal);
  } else {
    m_preview.Show(PreviewTuningApply(built.profile, OsFamily));
  }
  const bool onPage = m_shownPage == 7;
  ::EnableWindow(m_cmdExport, !refused);
  ::ShowWindow(m_preview.hwnd(), onPage && !refused ? SW_SHOW : SW_HIDE);
  ::ShowWindow(m_lblPreviewRefusal, onPage && refused ? SW_SHOW : SW_HIDE);
}

// --- Events -------------------------------------------------------------------------------

LRESULT frmAdvancedMode::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: Layout(); return 0;
    case WM_SHOWWINDOW:
      // The registry may have changed while the window was away.
      if (wParam && m_loaded && m_shownPage == 7) RefreshPreview();
      return ChildWindow::HandleMessage(message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
      // Explanations sit on the window's own background.
      if (IsExplanation(reinterpret_cast<HWND>(lParam))) {
        const auto brush = SkinCtlColor(reinterpret_cast<HDC>(wParam), hwnd(), hwnd());
        if (brush) return *brush;
      }
      return ChildWindow::HandleMessage(message, wParam, lParam);
    default: return ChildWindow::HandleMessage(message, wParam, lParam);
  }
}

bool frmAdvancedMode::IsExplanation(HWND control) const {
  for (HWND box : m_explanations) {
    if (box == control) return true;
  }
  return false;
}

void frmAdvancedMode::OnCommand(int id, int code, HWND control) {
  if (m_showingState || !m_loaded) return;
  if (id >= IDE_ADV_MTU && id <= IDE_ADV_SYN && code == EN_CHANGE) {
    m_wizard->SetBoxText(static_cast<ValueBox>(id - IDE_ADV_MTU), TextOf(control));
  } else if (id == IDE_ADV_MULTIPLIER && code == EN_CHANGE) {
    m_wizard->SetMultiplierText(TextOf(control));
  } else if (id == IDC_ADV_NDI && code == CBN_SELCHANGE) {
    m_wizard->cmbNDI_Click(static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0)));
  } else if (code != BN_CLICKED) {
    return;
  } else if (id >= IDC_ADV_CONN_TYPE0 && id < IDC_ADV_CONN_TYPE0 + 4) {
    m_wizard->optConnType_Click(id - IDC_ADV_CONN_TYPE0);
  } else if (id == IDX_ADV_BLACK_HOLE) {
    m_wizard->chkBlackHoleValue_Click(IsTicked(control));
  } else if (id == IDX_ADV_MTU_DISCOVER) {
    m_wizard->chkMTUDisconver_Click(IsTicked(control));
  } else if (id == IDX_ADV_ICMP) {
    m_wizard->chkICMPValue_Click(IsTicked(control));
  } else if (id == IDC_ADV_NEXT) {
    cmdNextPage_Click();
    return;
  } else if (id == IDC_ADV_PREV) {
    cmdPrevPage_Click();
    return;
  } else if (id == IDC_ADV_EXPORT) {
    cmdExport_Click();
    return;
  } else {
    return;
  }
  ShowState();
}

LRESULT frmAdvancedMode::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == m_preview.hwnd() && header.code == NM_CUSTOMDRAW) {
    return m_preview.OnCustomDraw(header);
  }
  return ChildWindow::OnNotify(header);
}

void frmAdvancedMode::cmdNextPage_Click() {
  const NextResult result = m_wizard->cmdNextPage_Click();
  ShowState();
  if (result == NextResult::kApplied) host().ShowHomeView();
}

void frmAdvancedMode::cmdExport_Click() {
  const FinishProfile built = m_wizard->ProfileFromBoxes();
  RegExport exported;
  if (built.refusal.empty()) {
    exported = ExportTuningApply(built.profile, "finishing advanced mode with these values",
                                 OsFamily);
  } else {
    exported.problem = built.refusal;
  }
  SaveRegExport(hwnd(), exported, "Advanced mode.reg");
}

void frmAdvancedMode::cmdPrevPage_Click() {
  m_wizard->cmdPrevPage_Click();
  ShowState();
}

}  // namespace quelvar
