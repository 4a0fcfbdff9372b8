// Wizard mode window; see frm_wizard_mode.h.
#include "tuning/win32/frm_wizard_mode.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/os_family.h"
#include "base/win32/controls.h"
#include "base/win32/unique_handle.h"
#include "resource.h"
#include "tuning/apply_profile.h"
#include "tuning/change_preview.h"
#include "tuning/mode_description.h"
#include "tuning/reg_export.h"
#include "tuning/tuning_profile.h"
#include "tuning/win32/reg_export_dialog.h"

namespace quelvar {

namespace {

// A profile with the widest values each field can show, so the columns of the description
// stand still from one mode to the next.
TuningProfile WidestProfile() {
  TuningProfile widest;
  widest.MTU = widest.MSS = 8888;
  widest.RWIN = 888888;
  widest.TTL = 888;
  widest.KeepAliveTime = widest.KeepAliveInterval = 8888888;
  widest.SYNProtect = 8;
  widest.NDICacheSize = 8888;
  widest.HTTP10Connections = widest.HTTP11Connections = 88;
  return widest;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      if (start < text.size()) lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// Tab stop k lies a gap beyond the widest text that ends at tab k in any line.
std::vector<INT> TabStops(HDC dc, const std::vector<std::string>& lines, int gap, int smallGap) {
  std::vector<INT> stops;
  for (std::size_t k = 0;; ++k) {
    bool any = false;
    int widestEnd = 0;
    int widestCell = 0;
    for (const std::string& line : lines) {
      std::size_t cellStart = 0;
      std::size_t tab = line.find('\t');
      for (std::size_t i = 0; i < k && tab != std::string::npos; ++i) {
        cellStart = tab + 1;
        tab = line.find('\t', cellStart);
      }
      if (tab == std::string::npos) continue;
      any = true;
      SIZE size{};
      ::GetTextExtentPoint32A(dc, line.c_str() + cellStart, static_cast<int>(tab - cellStart),
                              &size);
      const int start = k == 0 ? 0 : stops[k - 1];
      widestEnd = std::max(widestEnd, start + static_cast<int>(size.cx));
      widestCell = std::max(widestCell, static_cast<int>(size.cx));
    }
    if (!any) break;
    stops.push_back(widestEnd + (widestCell > 0 ? gap : smallGap));
  }
  return stops;
}

std::string ModeToolTip(int index) {
  const TuningProfile& p = TuningPresets[index];
  auto number = [](int value) { return value == -1 ? std::string("removed") : std::to_string(value); };
  std::string tip = kPresetCaptions[index];
  tip += ": MTU " + number(p.MTU) + ", MSS " + number(p.MSS) + ", receive window " +
         number(p.RWIN) + ", TTL " + std::to_string(p.TTL) + ", " +
         std::to_string(p.HTTP11Connections) + " browser connections per server";
  return tip;
}

}  // namespace

void frmWizardMode::CreateControls() {
  m_frame = AddControl("BUTTON", "Wizard Mode", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0, 10, 10, IDC_WIZARD_FRAME);
  m_frameOptimizationMode = AddControl("BUTTON", "Optimization Modes",
                                       BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0, 10,
                                       10, IDC_WIZARD_MODES_FRAME);
  for (int i = 0; i < kPresetCount; ++i) {
    DWORD style = BS_AUTORADIOBUTTON | WS_CLIPSIBLINGS;
    if (i == 0) style |= WS_GROUP | WS_TABSTOP;
    m_optMode[i] = AddControl("BUTTON", kPresetCaptions[i], style, 0, 0, 10, 10,
                              IDC_WIZARD_MODE0 + i);
  }
  // "Automatic-A" is the mode selected from the start.
  SetChecked(m_optMode[0], true);
  m_viewTabs = AddControl(WC_TABCONTROLA, "", WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 10,
                          10, IDC_WIZARD_VIEW_TABS);
  for (const char* caption : {"Description", "What Optimize Now changes"}) {
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(caption);
    const auto count = ::SendMessageA(m_viewTabs, TCM_GETITEMCOUNT, 0, 0);
    ::SendMessageA(m_viewTabs, TCM_INSERTITEMA, static_cast<WPARAM>(count),
                   reinterpret_cast<LPARAM>(&tab));
  }
  m_lblModeDescrip = AddControl("STATIC", "Modes Description",
                                SS_OWNERDRAW | SS_NOPREFIX | WS_GROUP | WS_CLIPSIBLINGS, 0, 0,
                                10, 10, IDC_WIZARD_DESCRIPTION);
  m_cmdExport = AddControl("BUTTON", "&Export...",
                           BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                           IDC_WIZARD_EXPORT);
  m_cmdOptimize = AddControl("BUTTON", "Optimize &Now",
                             BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 10,
                             10, IDC_WIZARD_OPTIMIZE);
  m_preview.Create(hwnd(), IDC_WIZARD_PREVIEW, "After");
  ::ShowWindow(m_preview.hwnd(), SW_HIDE);
  // The tabs lie beneath the two views they switch between.
  ::SetWindowPos(m_viewTabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  // The frames paint their whole area: they lie beneath the controls they hold.
  ::SetWindowPos(m_frameOptimizationMode, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetWindowPos(m_frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  AddModeToolTips();
  Layout();
}

void frmWizardMode::AddModeToolTips() {
  m_toolTips.Create(hwnd(), Scale(320));
  for (int i = 0; i < kPresetCount; ++i) m_toolTips.Add(m_optMode[i], ModeToolTip(i).c_str());
  m_toolTips.Add(m_cmdOptimize, "Back up the present values, then apply the selected mode");
  m_toolTips.Add(m_cmdExport,
                 "Save what Optimize Now would change as a registry file, for regedit on this "
                 "or a like machine");
}

void frmWizardMode::Layout() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const int width = client.right;
  const int height = client.bottom;
  const int margin = Scale(10);
  const int rowHeight = Scale(19);
  const int buttonWidth = Scale(104);
  const int buttonHeight = Scale(24);
  ::MoveWindow(m_frame, 0, 0, width, height, TRUE);

  // Two columns of four modes.
  const int modesTop = Scale(20);
  const int modesHeight = Scale(18) + 4 * rowHeight + Scale(4);
  ::MoveWindow(m_frameOptimizationMode, margin, modesTop, width - 2 * margin, modesHeight, TRUE);
  const int columnsLeft = margin + Scale(14);
  const int columnWidth = (width - 2 * columnsLeft) / 2;
  for (int i = 0; i < kPresetCount; ++i) {
    const int row = i / 2;
    const int column = i % 2;
    ::MoveWindow(m_optMode[i], columnsLeft + column * columnWidth,
                 modesTop + Scale(17) + row * rowHeight, columnWidth - Scale(8), Scale(18),
                 TRUE);
  }

  // The description below them, the button in the bottom right corner.
  const int buttonTop = height - Scale(8) - buttonHeight;
  const int tabsTop = modesTop + modesHeight + Scale(4);
  ::MoveWindow(m_viewTabs, margin, tabsTop, width - 2 * margin, buttonTop - Scale(6) - tabsTop,
               TRUE);
  RECT view{};
  ::GetWindowRect(m_viewTabs, &view);
  ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&view), 2);
  ::SendMessageA(m_viewTabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&view));
  ::MoveWindow(m_lblModeDescrip, view.left + Scale(4), view.top + Scale(2),
               view.right - view.left - Scale(8), view.bottom - view.top - Scale(2), TRUE);
  ::MoveWindow(m_preview.hwnd(), view.left, view.top, view.right - view.left,
               view.bottom - view.top, TRUE);
  m_preview.FitColumns();
  ::MoveWindow(m_cmdOptimize, width - margin - buttonWidth, buttonTop, buttonWidth,
               buttonHeight, TRUE);
  ::MoveWindow(m_cmdExport, width - margin - 2 * buttonWidth - Scale(8), buttonTop, buttonWidth,
               buttonHeight, TRUE);
}

void frmWizardMode::Form_Load() { LoadPreset(0); }

void frmWizardMode::ShowLoadedState() {
  ShowModeDescription();
  RefreshPreview();
}

LRESULT frmWizardMode::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == m_viewTabs && header.code == TCN_SELCHANGE) {
    ShowSelectedView();
    return 0;
  }
  if (header.hwndFrom == m_preview.hwnd() && header.code == NM_CUSTOMDRAW) {
    return m_preview.OnCustomDraw(header);
  }
  return ChildWindow::OnNotify(header);
}

void frmWizardMode::ShowSelectedView() {
  const bool preview = ::SendMessageA(m_viewTabs, TCM_GETCURSEL, 0, 0) == 1;
  if (preview) RefreshPreview();
  ::ShowWindow(m_preview.hwnd(), preview ? SW_SHOW : SW_HIDE);
  ::ShowWindow(m_lblModeDescrip, preview ? SW_HIDE : SW_SHOW);
}

void frmWizardMode::RefreshPreview() {
  m_preview.Show(PreviewTuningApply(g_TuningProfile, OsFamily));
}

LRESULT frmWizardMode::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: Layout(); return 0;
    case WM_DRAWITEM:
      if (wParam == IDC_WIZARD_DESCRIPTION) {
        lblModeDescrip_Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      return FALSE;
    default: return ChildWindow::HandleMessage(message, wParam, lParam);
  }
}

void frmWizardMode::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return;
  if (id >= IDC_WIZARD_MODE0 && id < IDC_WIZARD_MODE0 + kPresetCount) {
    optMode_Click(id - IDC_WIZARD_MODE0);
  } else if (id == IDC_WIZARD_OPTIMIZE) {
    cmdOptimize_Click();
  } else if (id == IDC_WIZARD_EXPORT) {
    cmdExport_Click();
  }
}

void frmWizardMode::optMode_Click(int index) {
  LoadPreset(index);
  ShowModeDescription();
  RefreshPreview();
}

void frmWizardMode::cmdOptimize_Click() {
  const bool applied = ApplyTuningProfile();
  RefreshPreview();
  if (applied) host().ShowHomeView();
}

void frmWizardMode::cmdExport_Click() {
  // What the preview shows: the profile, named after its mode while it still holds it (advanced
  // mode may have changed it since the mode was clicked).
  std::string subject = "applying the values advanced mode set last";
  std::string fileName = "Quelvar values.reg";
  for (int i = 0; i < kPresetCount; ++i) {
    if (IsChecked(m_optMode[i]) && g_TuningProfile == TuningPresets[i]) {
      subject = std::string("applying the mode \"") + kPresetCaptions[i] + "\"";
      fileName = std::string(kPresetCaptions[i]) + ".reg";
    }
  }
  SaveRegExport(hwnd(), ExportTuningApply(g_TuningProfile, subject, OsFamily), fileName);
}

void frmWizardMode::ShowModeDescription() {
  ::SetWindowTextA(m_lblModeDescrip, ModeDescription(g_TuningProfile).c_str());
  ::InvalidateRect(m_lblModeDescrip, nullptr, TRUE);
}

void frmWizardMode::lblModeDescrip_Draw(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  // The colours every label of this window gets (the skin's, when it has one).
  auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(
      hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
      reinterpret_cast<LPARAM>(m_lblModeDescrip)));
  ::FillRect(dc, &item.rcItem, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
  const std::string text = WindowText(m_lblModeDescrip);

  auto font = reinterpret_cast<HFONT>(::SendMessageA(m_lblModeDescrip, WM_GETFONT, 0, 0));
  SelectGuard selectFont(dc, font ? font : UiFont());
  ::SetBkMode(dc, TRANSPARENT);
  const std::vector<std::string> lines = SplitLines(text);
  std::vector<std::string> measured = lines;
  for (const std::string& line : SplitLines(ModeDescription(WidestProfile()))) {
    measured.push_back(line);
  }
  const std::vector<INT> stops = TabStops(dc, measured, Scale(16), Scale(2));

  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  // Empty lines of the description are a third of a line: they only space the groups.
  const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  int y = item.rcItem.top + Scale(2);
  for (const std::string& line : lines) {
    if (line.empty()) {
      y += lineHeight / 3;
      continue;
    }
    ::TabbedTextOutA(dc, item.rcItem.left, y, line.c_str(), static_cast<int>(line.size()),
                     static_cast<int>(stops.size()), stops.empty() ? nullptr : stops.data(),
                     item.rcItem.left);
    y += lineHeight;
  }
}

}  // namespace quelvar
