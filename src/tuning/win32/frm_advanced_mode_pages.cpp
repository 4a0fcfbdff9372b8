// Advanced mode's pages: the control builders, the frame with Back and Next, the eight pages'
// controls and layouts, made when a page is shown and dropped when another is, and their tool
// tips. Showing the wizard's state and the events are in frm_advanced_mode.cpp.
#include "tuning/win32/frm_advanced_mode.h"

#include <commctrl.h>

#include <algorithm>

#include "base/win32/skin.h"
#include "resource.h"
#include "tuning/advanced_mode_texts.h"

namespace quelvar {

namespace {

namespace texts = advanced_texts;

// Caption cells of the value boxes, in 96-dpi pixels.
constexpr int kBoxWidth = 64;
constexpr int kGap = 6;

}  // namespace

// --- Building -----------------------------------------------------------------------------

HWND frmAdvancedMode::Label(const char* text, DWORD style, int id) {
  const HWND label =
      AddControl("STATIC", text, SS_LEFT | style | WS_CLIPSIBLINGS, 0, 0, 10, 10, id);
  m_building->controls.push_back(label);
  return label;
}

// Explanations are read-only edit boxes without a border: they wrap like a label and can
// scroll should a page run short of room (at large font sizes).
HWND frmAdvancedMode::Explanation(const char* text) {
  // Born as wide as the window: an edit box wraps its text again at every change of font or
  // width, and wrapped into a narrow box every word costs a line of its own.
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const int width96 = std::max(10, static_cast<int>(client.right) * 96 / Scale(96));
  const HWND box = AddControl("EDIT", text, ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_CLIPSIBLINGS,
                              0, 0, width96, 10, -1);
  ::SendMessageA(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  m_building->controls.push_back(box);
  m_explanations.push_back(box);
  return box;
}

HWND frmAdvancedMode::Box(int id, const char* text, bool editable) {
  DWORD style = ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS;
  if (!editable) style |= ES_READONLY;
  const HWND box = AddControl("EDIT", text, style, 0, 0, 10, 10, id, WS_EX_CLIENTEDGE);
  m_building->controls.push_back(box);
  return box;
}

HWND frmAdvancedMode::Check(int id, const char* text) {
  const HWND check = AddControl(
      "BUTTON", text, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 10, 10, id);
  m_building->controls.push_back(check);
  return check;
}

void frmAdvancedMode::CreateControls() {
  m_frameAdvancedMode = AddControl("BUTTON", "", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                                   IDC_FRAME_ADVANCED_MODE);
  // Drawn without a frame by the skin.
  SetControlTag(m_frameAdvancedMode, "No");
  for (int i = 0; i < kWizardPageCount; ++i) {
    m_frmWizardPages[i].frame =
        AddControl("BUTTON", texts::kPageCaptions[i], BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                   IDC_ADV_PAGE0 + i);
  }
  m_cmdPrevPage = AddControl("BUTTON", "<<Back",
                             BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS | WS_DISABLED,
                             0, 0, 10, 10, IDC_ADV_PREV);
  m_cmdNextPage =
      AddControl("BUTTON", "Next>>", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0,
                 10, 10, IDC_ADV_NEXT);
  // Frames paint their whole area: they lie beneath the controls they hold.
  for (const Page& page : m_frmWizardPages) {
    ::SetWindowPos(page.frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  ::SetWindowPos(m_frameAdvancedMode, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  m_toolTips.Create(hwnd(), Scale(300));
}

// A page's controls are made when it is shown, and go when another page is (the wizard holds
// what they showed): in the tab order before Back and Next, in the UI font and the skin, laid
// out, with their tool tips.
void frmAdvancedMode::BuildPage(int index) {
  Page& page = m_frmWizardPages[index];
  if (page.built || !ControlsCreated()) return;
  page.built = true;
  std::vector<HWND> before;
  for (HWND child = ::GetWindow(hwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    before.push_back(child);
  }
  m_building = &page;
  switch (index) {
    case 0: CreatePage0(); break;
    case 1: CreatePage1(); break;
    case 2: CreatePage2(); break;
    case 3: CreatePage3(); break;
    case 4: CreatePage4(); break;
    case 5: CreatePage5(); break;
    case 6: CreatePage6(); break;
    default: CreatePage7(); break;
  }
  m_building = nullptr;
  std::vector<HWND> made;
  for (HWND child = ::GetWindow(hwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (std::find(before.begin(), before.end(), child) == before.end()) made.push_back(child);
  }
  // Made last, they lie at the top of the order: each goes right above Back, in turn.
  for (auto it = made.rbegin(); it != made.rend(); ++it) {
    const HWND above = ::GetWindow(m_cmdPrevPage, GW_HWNDPREV);
    if (above != *it) {
      ::SetWindowPos(*it, above ? above : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  for (HWND control : made) {
    ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  }
  page.made = made;
  for (HWND label : m_boldLabels) {
    ::SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(UiFontBold()), FALSE);
  }
  // The connection types' frame lies beneath its options.
  if (index == 0) ::SetWindowPos(m_frmConnectionType, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  host().applyAllControls(hwnd());
  // A new font gives an edit box the font's margins again: the explanations keep none, so
  // their text lines up with the labels.
  for (HWND box : m_explanations) {
    ::SendMessageA(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  }
  AddToolTips();
  Layout();
}

void frmAdvancedMode::CreatePage0() {
  Page& page = m_frmWizardPages[0];
  m_building = &page;
  const HWND explain = Label("How do you connect to the internet?");
  m_frmConnectionType = AddControl("BUTTON", "Connection Type", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0,
                                   10, 10, IDC_ADV_CONN_TYPE_FRAME);
  page.controls.push_back(m_frmConnectionType);
  page.layout.Text(explain);
  for (int i = 0; i < 4; ++i) {
    DWORD style = BS_AUTORADIOBUTTON | WS_CLIPSIBLINGS;
    if (i == 0) style |= WS_GROUP | WS_TABSTOP;
    m_optConnType[i] = AddControl("BUTTON", texts::kConnectionTypes[i], style, 0, 0, 10, 10,
                                  IDC_ADV_CONN_TYPE0 + i);
    page.controls.push_back(m_optConnType[i]);
    page.layout.Row({{nullptr, 14}, {m_optConnType[i], kRestOfRow}, {nullptr, 8}}, i == 0 ? 30 : 2,
                    0);
  }
}

void frmAdvancedMode::CreatePage1() {
  Page& page = m_frmWizardPages[1];
  m_building = &page;
  const HWND mtuExplain = Explanation(texts::kMTUExplain);
  const HWND mtuCaption = Label("MTU:");
  m_boxes[0] = Box(IDE_ADV_MTU + 0, "576");
  const HWND mtuRecom = Label("Recommended MTU size");
  m_lblMTURecValue = Label("576 Byte", SS_NOPREFIX, IDC_ADV_MTU_REC_VALUE);
  const HWND mssExplain = Explanation(texts::kMSSExplain);
  const HWND mssCaption = Label("MSS:");
  m_boxes[1] = Box(IDE_ADV_MTU + 1, "536");
  const HWND mssRecom = Label("Recommended MSS size");
  m_lblMSSRecVaklue = Label("536 Byte", SS_NOPREFIX, IDC_ADV_MSS_REC_VALUE);
  m_boldLabels.insert(m_boldLabels.end(), {m_lblMTURecValue, m_lblMSSRecVaklue});
  page.layout.Explanation(mtuExplain)
      .Row({{mtuCaption, 36},
            {m_boxes[0], kBoxWidth},
            {nullptr, 4},
            {mtuRecom},
            {m_lblMTURecValue, kRestOfRow}},
           4)
      .Explanation(mssExplain, kGap)
      .Row({{mssCaption, 36},
            {m_boxes[1], kBoxWidth},
            {nullptr, 4},
            {mssRecom},
            {m_lblMSSRecVaklue, kRestOfRow}},
           4);
}

void frmAdvancedMode::CreatePage2() {
  Page& page = m_frmWizardPages[2];
  m_building = &page;
  const HWND blackHoleExplain = Explanation(texts::kBlackHoleExplain);
  m_chkBlackHoleValue = Check(IDX_ADV_BLACK_HOLE, "Enable It?");
  const HWND blackHoleRecom =
      Label("Recommended to be DISABLED since it imposes extra transmission overhead.");
  const HWND discoverExplain = Explanation(texts::kMTUDiscoverExplain);
  m_chkMTUDisconver = Check(IDX_ADV_MTU_DISCOVER, "Disable it??");
  const HWND discoverRecom = Label("Recommended to be.");
  const HWND discoverRecValue = Label("ENABLED", 0, IDC_ADV_OTHER_MTU_REC_VALUE);
  m_boldLabels.push_back(discoverRecValue);
  page.layout.Explanation(blackHoleExplain)
      .Row({{m_chkBlackHoleValue}, {blackHoleRecom, kRestOfRow}}, 4, 12)
      .Explanation(discoverExplain, kGap)
      .Row({{m_chkMTUDisconver}, {nullptr, 0}, {discoverRecom}, {discoverRecValue, kRestOfRow}}, 4);
}

void frmAdvancedMode::CreatePage3() {
  Page& page = m_frmWizardPages[3];
  m_building = &page;
  const HWND explain = Explanation(texts::kRWINExplain);
  // Each name right before its box, so its mnemonic reaches the box.
  const HWND mss = Label("MSS");
  m_txtMSSRWINValue = Box(IDE_ADV_MSS_RWIN, "", false);
  const HWND times1 = Label("*", SS_CENTER | SS_NOPREFIX);
  const HWND multiplier = Label("Multip&lier");
  m_txtMultiplier = Box(IDE_ADV_MULTIPLIER, "");
  const HWND times2 = Label("*", SS_CENTER | SS_NOPREFIX);
  const HWND scale = Label("Scale Factor");
  m_txtScaleFactor = Box(IDE_ADV_SCALE_FACTOR, "4", false);
  const HWND equals = Label("=", SS_CENTER | SS_NOPREFIX);
  const HWND rwin = Label("RWIN");
  m_txtRWIN = Box(IDE_ADV_RWIN, "", false);
  const HWND recom = Label("Recommended RWIN size  : ");
  m_lblRWINRecValue = Label("", SS_NOPREFIX, IDC_ADV_RWIN_REC_VALUE);
  m_boldLabels.push_back(m_lblRWINRecValue);
  // The row reads MSS * Multiplier * Scale Factor = RWIN, each box under its name.
  page.layout.Explanation(explain)
      .Row({{mss, 58},
            {nullptr, 14},
            {multiplier, 58},
            {nullptr, 14},
            {scale, 72},
            {nullptr, 14},
            {rwin, kRestOfRow}},
           6, 0)
      .Row({{m_txtMSSRWINValue, 58},
            {times1, 14},
            {m_txtMultiplier, 58},
            {times2, 14},
            {m_txtScaleFactor, 72},
            {equals, 14},
            {m_txtRWIN, 88}},
           0, 0)
      .Row({{recom}, {m_lblRWINRecValue, kRestOfRow}}, 6, 0);
}

void frmAdvancedMode::CreatePage4() {
  Page& page = m_frmWizardPages[4];
  m_building = &page;
  const HWND ttlExplain = Explanation(texts::kTTLExplain);
  const HWND ttlCaption = Label("TT&L:");
  m_boxes[2] = Box(IDE_ADV_MTU + 2, "64");
  const HWND ttlRecom = Label("Recommended TTL  :");
  const HWND ttlRecValue = Label("64 Seconds", 0, IDC_ADV_TTL_REC_VALUE);
  const HWND ieExplain = Explanation(texts::kIEExplain);
  const HWND http10Caption = Label("HTTP 1.&0:");
  m_boxes[3] = Box(IDE_ADV_MTU + 3, "20");
  const HWND http10 = Label("Recommended value for HTTP 1.0  :");
  const HWND http10RecValue = Label("20", 0, IDC_ADV_HTTP10_REC_VALUE);
  const HWND http11Caption = Label("HTTP 1.&1:");
  m_boxes[4] = Box(IDE_ADV_MTU + 4, "20");
  const HWND http11 = Label("Recommended value for HTTP 1.1  :");
  const HWND http11RecValue = Label("20", 0, IDC_ADV_HTTP11_REC_VALUE);
  m_boldLabels.insert(m_boldLabels.end(), {ttlRecValue, http10RecValue, http11RecValue});
  page.layout.Explanation(ttlExplain)
      .Row(
          {{ttlCaption, 52}, {m_boxes[2], 48}, {nullptr, 0}, {ttlRecom}, {ttlRecValue, kRestOfRow}},
          4)
      .Explanation(ieExplain, kGap)
      .Row({{http10Caption, 52},
            {m_boxes[3], 48},
            {nullptr, 0},
            {http10},
            {http10RecValue, kRestOfRow}},
           4)
      .Row({{http11Caption, 52},
            {m_boxes[4], 48},
            {nullptr, 0},
            {http11},
            {http11RecValue, kRestOfRow}},
           3);
}

void frmAdvancedMode::CreatePage5() {
  Page& page = m_frmWizardPages[5];
  m_building = &page;
  const HWND timeExplain = Explanation(texts::kKeepAliveTimeExplain);
  const HWND timeCaption = Label("&Keep Alive Time:");
  m_boxes[5] = Box(IDE_ADV_MTU + 5, "7200000");
  const HWND timeRecom = Label("Recommended Keep Alive Time :");
  const HWND timeRecValue = Label("7200000 milliseconds.", 0, IDC_ADV_KA_REC_VALUE);
  const HWND intervalExplain = Explanation(texts::kKeepAliveIntervalExplain);
  const HWND intervalCaption = Label("Keep Alive Int&erval:");
  m_boxes[6] = Box(IDE_ADV_MTU + 6, "1000");
  const HWND intervalRecom = Label("Recommended Keep Alive Interval  :");
  const HWND intervalRecValue = Label("1000 milliseconds.", 0, IDC_ADV_KA_INTERVAL_REC_VALUE);
  m_boldLabels.insert(m_boldLabels.end(), {timeRecValue, intervalRecValue});
  page.layout.Explanation(timeExplain)
      .Row({{timeCaption, 110}, {m_boxes[5], 80}}, 4)
      .Row({{timeRecom, 196}, {timeRecValue, kRestOfRow}}, 2)
      .Explanation(intervalExplain, kGap)
      .Row({{intervalCaption, 110}, {m_boxes[6], 80}}, 4)
      .Row({{intervalRecom, 196}, {intervalRecValue, kRestOfRow}}, 2);
}

void frmAdvancedMode::CreatePage6() {
  Page& page = m_frmWizardPages[6];
  m_building = &page;
  const HWND synExplain = Explanation(texts::kSYNExplain);
  const HWND synRecom = Label("What will be your decision?");
  m_boxes[7] = Box(IDE_ADV_SYN, "2");
  m_updwnDescision = AddControl(UPDOWN_CLASSA, "",
                                UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | WS_CLIPSIBLINGS,
                                0, 0, 10, 10, IDC_ADV_SYN_UPDOWN);
  page.controls.push_back(m_updwnDescision);
  ::SendMessageA(m_updwnDescision, UDM_SETBUDDY, reinterpret_cast<WPARAM>(m_boxes[7]), 0);
  ::SendMessageA(m_updwnDescision, UDM_SETRANGE, 0, MAKELPARAM(2, 0));
  ::SendMessageA(m_updwnDescision, UDM_SETPOS, 0, MAKELPARAM(2, 0));
  const HWND level2 = Label("2 - (recommended) - best protection against SYN attacks.");
  const HWND level1 = Label("1 - better protection against SYN attacks.");
  const HWND level0 = Label("0 - (default) - typical protection against SYN attacks.");
  const HWND ndiDescription = Explanation(texts::kNDIDescription);
  const HWND ndiRec = Label("NDI recommended &Value");
  m_cmbNDI = AddControl("COMBOBOX", "",
                        CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0,
                        0, 10, 10, IDC_ADV_NDI);
  page.controls.push_back(m_cmbNDI);
  for (const char* size : kNdiCacheSizes) {
    ::SendMessageA(m_cmbNDI, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
  }
  page.layout.Explanation(synExplain)
      .Row({{synRecom}, {m_boxes[7], 36}, {m_updwnDescision, 16}}, 4, 4)
      .Text(level2, 2)
      .Text(level1)
      .Text(level0)
      .Explanation(ndiDescription, kGap)
      .Row({{ndiRec}, {m_cmbNDI, 56}}, 4);
}

void frmAdvancedMode::CreatePage7() {
  Page& page = m_frmWizardPages[7];
  m_building = &page;
  const HWND explain = Explanation(texts::kICMPExplain);
  m_chkICMPValue = Check(IDX_ADV_ICMP, "Enable It?");
  const HWND recom = Label("Recommended to be DISABLED.");
  // The preview below, its caption's mnemonic reaching the list; the list and the refusal
  // share one place and are shown by RefreshPreview, never with the page's other controls.
  const HWND previewCaption = Label("What &Finish changes", 0, IDC_ADV_PREVIEW_CAPTION);
  m_preview.Create(hwnd(), IDC_ADV_PREVIEW, "After");
  ::ShowWindow(m_preview.hwnd(), SW_HIDE);
  m_lblPreviewRefusal = AddControl("STATIC", "", SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS, 0, 0,
                                   10, 10, IDC_ADV_PREVIEW_REFUSAL);
  ::ShowWindow(m_lblPreviewRefusal, SW_HIDE);
  // After the list in the tab order: the caption's mnemonic still reaches the list.
  m_cmdExport = AddControl("BUTTON", "&Export...",
                           BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                           IDC_ADV_EXPORT);
  page.controls.push_back(m_cmdExport);
  page.layout.Explanation(explain)
      .Row({{m_chkICMPValue}, {recom, kRestOfRow}}, 4, 12)
      .Row({{previewCaption, kRestOfRow}, {m_cmdExport, 80}}, 8)
      .Fill({m_preview.hwnd(), m_lblPreviewRefusal}, 80, 2);
}

void frmAdvancedMode::DropPage(int index) {
  Page& page = m_frmWizardPages[index];
  if (!page.built) return;
  for (HWND control : page.made) {
    m_toolTips.Remove(control);
    ::DestroyWindow(control);
  }
  const HWND frame = page.frame;
  page = Page();
  page.frame = frame;
  auto forget = [](HWND& window) {
    if (window && !::IsWindow(window)) window = nullptr;
  };
  for (HWND* window : {&m_frmConnectionType, &m_txtMSSRWINValue, &m_txtMultiplier,
                       &m_txtScaleFactor, &m_txtRWIN, &m_lblMTURecValue, &m_lblMSSRecVaklue,
                       &m_lblRWINRecValue, &m_chkBlackHoleValue, &m_chkMTUDisconver,
                       &m_chkICMPValue, &m_updwnDescision, &m_cmbNDI, &m_lblPreviewRefusal,
                       &m_cmdExport}) {
    forget(*window);
  }
  for (HWND& window : m_optConnType) forget(window);
  for (HWND& window : m_boxes) forget(window);
  if (m_preview.hwnd() && !::IsWindow(m_preview.hwnd())) m_preview.Forget();
  auto gone = [](HWND window) { return !::IsWindow(window); };
  m_explanations.erase(std::remove_if(m_explanations.begin(), m_explanations.end(), gone),
                       m_explanations.end());
  m_boldLabels.erase(std::remove_if(m_boldLabels.begin(), m_boldLabels.end(), gone),
                     m_boldLabels.end());
}

// Tips of the controls made so far; a control already holding its tip keeps it.
void frmAdvancedMode::AddToolTips() {
  m_toolTips.Set(m_boxes[0], "Maximum transmission unit in bytes");
  m_toolTips.Add(m_boxes[1], "Maximum segment size in bytes: the data a packet carries");
  m_toolTips.Add(m_txtMultiplier,
                 "How many segments the receive window holds, times the scale factor");
  m_toolTips.Add(m_boxes[2], "Time to live of outgoing packets, 0 to 256");
  m_toolTips.Add(m_boxes[3], "Simultaneous connections per HTTP 1.0 server, at least 4");
  m_toolTips.Add(m_boxes[4], "Simultaneous connections per HTTP 1.1 server, at least 2");
  m_toolTips.Add(m_boxes[5], "Milliseconds of quiet before the first keep-alive packet");
  m_toolTips.Add(m_boxes[6], "Milliseconds between keep-alive retransmissions");
  m_toolTips.Add(m_boxes[7], "SYN flood protection level: 0, 1 or 2");
  m_toolTips.Add(m_preview.hwnd(),
                 "What Finish writes to the registry, each value now and after; greyed values "
                 "stay as they are");
  m_toolTips.Add(m_cmdExport,
                 "Save what Finish would change as a registry file, for regedit on this or a "
                 "like machine");
  m_toolTips.Add(m_cmdPrevPage, "Back to the previous step");
  m_toolTips.Add(
      m_cmdNextPage,
      "On to the next step; on the last one, back up the present values and apply these");
}

}  // namespace quelvar
