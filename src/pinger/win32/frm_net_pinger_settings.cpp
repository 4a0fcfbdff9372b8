// Net Pinger Settings window: its controls, the settings and the status label; see
// frm_net_pinger_settings.h. The pings themselves are in frm_net_pinger_settings_ping.cpp.
#include "pinger/win32/frm_net_pinger_settings.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "base/message_box.h"
#include "base/win32/unique_handle.h"
#include "pinger/win32/mdl_ping.h"
#include "resource.h"

namespace quelvar {

namespace {

constexpr const char* kDescription =
    "The PING utility helps to keep you from getting your modem connection disconnected by "
    "your service provider. Most Internet Service Providers Disconnect users after a fixed "
    "period of modem activity";

int CheckOf(HWND box) { return ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; }
void SetCheck(HWND box, bool ticked) {
  ::SendMessageA(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// A local time in the user's time format ("" when the system cannot format it).
std::string ClockText(const SYSTEMTIME& time) {
  char text[64] = {};
  if (::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, sizeof text) == 0) return {};
  return text;
}

// The local time `milliseconds` from now.
SYSTEMTIME LocalTimeIn(std::uint64_t milliseconds) {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  FILETIME file{};
  if (!::SystemTimeToFileTime(&now, &file)) return now;
  ULARGE_INTEGER ticks{};
  ticks.LowPart = file.dwLowDateTime;
  ticks.HighPart = file.dwHighDateTime;
  ticks.QuadPart += milliseconds * 10000;  // file times count 100 ns
  file.dwLowDateTime = ticks.LowPart;
  file.dwHighDateTime = ticks.HighPart;
  SYSTEMTIME due{};
  return ::FileTimeToSystemTime(&file, &due) ? due : now;
}

// The height of a line of the control's text, at least that of the layout's own lines.
int LineHeightOf(HWND control) {
  TEXTMETRICA metrics{};
  if (const auto font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0))) {
    ClientDc dc(control);
    SelectGuard select(dc.get(), font);
    ::GetTextMetricsA(dc.get(), &metrics);
  }
  return std::max<int>(metrics.tmHeight, Window::Scale(13));
}

std::string TextOf(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

}  // namespace

void frmNetPingerSettings::CreateControls() {
  // In tab order; every size is set by Layout.
  m_frameNetPingerSettings = AddControl("BUTTON", "Net Pinger Settings",
                                        BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                                        IDC_FRAME_NET_PINGER);
  m_chkDoPinging = AddControl("BUTTON", "&Enable Pinger",
                              BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0,
                              10, 10, IDX_PINGER_DO_PINGING);
  m_frameConfigurations = AddControl("BUTTON", "Configuration", BS_GROUPBOX | WS_CLIPSIBLINGS,
                                     0, 0, 10, 10, IDC_PINGER_CONFIGURATION);
  m_optAuto = AddControl("BUTTON", "&Automatic Mode",
                         BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 10,
                         10, IDC_PINGER_AUTO);
  m_optManual = AddControl("BUTTON", "&Manual Mode", BS_AUTORADIOBUTTON | WS_CLIPSIBLINGS, 0, 0,
                           10, 10, IDC_PINGER_MANUAL);
  m_lblHostName = AddControl("STATIC", "Ping &Host", SS_LEFT | WS_GROUP | WS_CLIPSIBLINGS, 0,
                             0, 10, 10, IDC_PINGER_HOST_LABEL);
  m_txtPingHost = AddControl("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0,
                             10, 10, IDE_PINGER_HOST, WS_EX_CLIENTEDGE);
  // No host name or address is longer.
  ::SendMessageA(m_txtPingHost, EM_LIMITTEXT, mdlPing::kMaxHostTextLength, 0);
  m_cmdPingNow = AddControl("BUTTON", "Ping &Now",
                            BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 10,
                            10, IDC_PINGER_PING_NOW);
  m_lblPingInterval = AddControl("STATIC", "Ping &Interval",
                                 SS_LEFT | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                                 IDC_PINGER_INTERVAL_LABEL);
  m_cmbPingInterval = AddControl("COMBOBOX", "",
                                 CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS, 0,
                                 0, 10, 10, IDC_PINGER_INTERVAL);
  m_chkSound = AddControl("BUTTON", "Play &Sound at Ping",
                          BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 10,
                          10, IDX_PINGER_SOUND);
  // Two lines; a line too long for the label is clipped at its edge, never wrapped.
  m_lblPingStatus = AddControl(
      "STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY | WS_GROUP | WS_CLIPSIBLINGS, 0, 0,
      10, 10, IDC_PINGER_STATUS);
  m_cmdSave = AddControl("BUTTON", "Sa&ve", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS,
                         0, 0, 10, 10, IDC_PINGER_SAVE);
  m_lblPingerDescription = AddControl("STATIC", kDescription,
                                      SS_LEFT | SS_NOPREFIX | WS_GROUP | WS_CLIPSIBLINGS, 0, 0,
                                      10, 10, IDC_PINGER_DESCRIPTION);
  // The frames paint their whole area: they lie beneath the controls they hold.
  ::SetWindowPos(m_frameConfigurations, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetWindowPos(m_frameNetPingerSettings, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  AddToolTips();
  Layout();
}

void frmNetPingerSettings::AddToolTips() {
  m_toolTips.Create(hwnd(), Scale(320));
  const struct {
    HWND control;
    const char* text;
  } tips[] = {
      {m_chkDoPinging, "Ping at the chosen interval once the settings are saved"},
      {m_optAuto, "Ping a built-in host every 6 minutes"},
      {m_optManual, "Choose the host and the interval yourself"},
      {m_txtPingHost, "A host name or an address such as 192.168.0.1"},
      {m_cmbPingInterval, "How long to wait between two pings"},
      {m_chkSound, "Play a sound at each ping"},
      {m_cmdPingNow, "Ping the saved host once, now"},
      {m_cmdSave, "Save the settings; the schedule follows them from now on"},
      {m_lblPingStatus, "How the last ping went, and when the next scheduled one is due"},
  };
  for (const auto& tip : tips) m_toolTips.Add(tip.control, tip.text);
}

void frmNetPingerSettings::Layout() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const int width = client.right;
  const int height = client.bottom;
  const int margin = Scale(10);
  const int inner = margin + Scale(12);
  const int row = Scale(24);
  const int lineHeight = Scale(18);
  const int editHeight = Scale(21);
  const int buttonWidth = Scale(88);
  const int buttonHeight = Scale(23);
  const int labelWidth = Scale(72);
  ::MoveWindow(m_frameNetPingerSettings, 0, 0, width, height, TRUE);
  ::MoveWindow(m_chkDoPinging, margin + Scale(4), Scale(18), width / 2, lineHeight, TRUE);

  // The configuration frame: the modes, the host, the interval, the sound and "Ping Now".
  const int frameTop = Scale(40);
  const int frameRight = width - margin;
  int y = frameTop + Scale(16);
  const int column = (frameRight - inner) / 2;
  ::MoveWindow(m_optAuto, inner, y, column - Scale(4), lineHeight, TRUE);
  ::MoveWindow(m_optManual, inner + column, y, column - Scale(12), lineHeight, TRUE);
  y += row;
  const int fieldLeft = inner + labelWidth;
  ::MoveWindow(m_lblHostName, inner, y + Scale(3), labelWidth, lineHeight, TRUE);
  // "Ping Now" beside the host box.
  const int pingNowLeft = frameRight - Scale(12) - buttonWidth;
  ::MoveWindow(m_txtPingHost, fieldLeft, y, pingNowLeft - Scale(6) - fieldLeft, editHeight, TRUE);
  ::MoveWindow(m_cmdPingNow, pingNowLeft, y - Scale(1), buttonWidth, buttonHeight, TRUE);
  y += row + Scale(2);
  ::MoveWindow(m_lblPingInterval, inner, y + Scale(3), labelWidth, lineHeight, TRUE);
  // A closed list shows one line; open, it drops twelve items.
  ::MoveWindow(m_cmbPingInterval, fieldLeft, y, Scale(96), editHeight + Scale(12 * 15), TRUE);
  ::MoveWindow(m_chkSound, fieldLeft + Scale(108), y + Scale(2),
               frameRight - Scale(12) - fieldLeft - Scale(108), lineHeight, TRUE);
  y += row + Scale(2);
  // The status: two lines across the frame, which ends no lower than a row of buttons would
  // have it, so the description below keeps its room.
  const int statusHeight = 2 * LineHeightOf(m_lblPingStatus);
  ::MoveWindow(m_lblPingStatus, inner, y, frameRight - Scale(12) - inner, statusHeight, TRUE);
  const int frameBottom = y + std::max(statusHeight, buttonHeight + Scale(2)) + Scale(8);
  ::MoveWindow(m_frameConfigurations, margin, frameTop, frameRight - margin,
               frameBottom - frameTop, TRUE);

  // "Save" in the bottom right corner; the description fills the rest beside it.
  const int saveTop = height - Scale(8) - buttonHeight;
  ::MoveWindow(m_cmdSave, width - margin - buttonWidth, saveTop, buttonWidth, buttonHeight, TRUE);
  const int descriptionTop = frameBottom + Scale(6);
  ::MoveWindow(m_lblPingerDescription, margin + Scale(4), descriptionTop,
               width - 2 * margin - Scale(8) - buttonWidth - Scale(8),
               height - Scale(6) - descriptionTop, TRUE);
}

void frmNetPingerSettings::Form_Load() {
  loadSettings();
  ApplyTimer();
}

void frmNetPingerSettings::ShowLoadedState() {
  ::SendMessageA(m_cmbPingInterval, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < kIntervalCount; ++i) {
    ::SendMessageA(m_cmbPingInterval, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(IntervalItemText(i).c_str()));
  }
  ShowSettings();
  ShowStatus();
}

void frmNetPingerSettings::Form_Unload() {
  if (m_timerRunning) ::KillTimer(hwnd(), kTmrPinger);
  // A load after this one starts as the first did: idle, with nothing pinged yet. A ping
  // still under way posts its outcome to a window that is gone, which does nothing.
  m_timerRunning = false;
  m_ping.reset();
  m_pingUnderWay = PingKind::None;
  m_pingHost.clear();
  m_status = PingerStatus();
  m_lastPingAt = SYSTEMTIME{};
  m_lastTickAt = 0;
  m_model = PingerSettingsModel();
}

LRESULT frmNetPingerSettings::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: Layout(); return 0;
    case WM_TIMER:
      if (wParam == kTmrPinger) tmrPinger_Timer();
      return 0;
    case kMsgPingDone: OnPingMessage(wParam); return 0;
    default: return ChildWindow::HandleMessage(message, wParam, lParam);
  }
}

void frmNetPingerSettings::OnCommand(int id, int code, HWND) {
  if (m_showing) return;
  switch (id) {
    case IDX_PINGER_DO_PINGING:
      if (code == BN_CLICKED) chkDoPinging_Click();
      break;
    case IDC_PINGER_AUTO:
      if (code == BN_CLICKED) optAuto_Click();
      break;
    case IDC_PINGER_MANUAL:
      if (code == BN_CLICKED) optManual_Click();
      break;
    case IDE_PINGER_HOST:
      if (code == EN_CHANGE) txtPingHost_Change();
      break;
    case IDC_PINGER_INTERVAL:
      if (code == CBN_SELCHANGE) cmbPingInterval_Click();
      break;
    case IDX_PINGER_SOUND:
      if (code == BN_CLICKED) chkSound_Click();
      break;
    case IDC_PINGER_SAVE:
      if (code == BN_CLICKED) cmdSave_Click();
      break;
    case IDC_PINGER_PING_NOW:
      if (code == BN_CLICKED) cmdPingNow_Click();
      break;
    default: break;
  }
}

void frmNetPingerSettings::loadSettings() {
  m_model.loadSettings();
  ShowSettings();
}

std::optional<StoreFailure> frmNetPingerSettings::saveSettings() {
  std::optional<StoreFailure> failure = m_model.saveSettings();
  ApplyTimer();
  return failure;
}

void frmNetPingerSettings::setSettingsChanged(bool changed) {
  // Disabling the focused button would leave the keyboard nowhere: move it on first.
  if (!changed && ::GetFocus() == m_cmdSave) ::SetFocus(m_chkDoPinging);
  ::EnableWindow(m_cmdSave, changed ? TRUE : FALSE);
}

void frmNetPingerSettings::ShowSettings() {
  if (!ControlsCreated()) return;
  const PingerControls& controls = m_model.controls();
  m_showing = true;
  SetCheck(m_chkDoPinging, controls.chkDoPinging == 1);
  SetCheck(m_optAuto, controls.optAuto);
  SetCheck(m_optManual, controls.optManual);
  // Only a changed text is set, so typing keeps its caret.
  if (TextOf(m_txtPingHost) != controls.txtPingHost) {
    ::SetWindowTextA(m_txtPingHost, controls.txtPingHost.c_str());
  }
  ::SendMessageA(m_cmbPingInterval, CB_SETCURSEL, controls.cmbPingInterval, 0);
  SetCheck(m_chkSound, controls.chkSound == 1);
  m_showing = false;
  ShowEnabledStates();
}

void frmNetPingerSettings::ShowEnabledStates() {
  if (!ControlsCreated()) return;
  const bool frame = m_model.frameConfigurationsEnabled();
  const bool fields = frame && m_model.hostAndIntervalEnabled();
  const bool pingNow = frame && m_pingUnderWay == PingKind::None;
  const struct {
    HWND control;
    bool enabled;
  } states[] = {
      {m_frameConfigurations, frame}, {m_optAuto, frame},          {m_optManual, frame},
      {m_lblHostName, frame},         {m_txtPingHost, fields},     {m_lblPingInterval, frame},
      {m_cmbPingInterval, fields},    {m_chkSound, frame},         {m_cmdPingNow, pingNow},
  };
  // A control about to be disabled hands the keyboard to "Enable Pinger", which stays enabled.
  const HWND focus = ::GetFocus();
  for (const auto& state : states) {
    if (!state.enabled && focus == state.control) ::SetFocus(m_chkDoPinging);
    ::EnableWindow(state.control, state.enabled ? TRUE : FALSE);
  }
  setSettingsChanged(m_model.settingsChanged());
}

std::string frmNetPingerSettings::NextPingDueText() const {
  if (!m_timerRunning) return {};
  const PingSchedule& schedule = m_model.schedule();
  // Unsigned difference: right across the tick count's wrap after 49.7 days.
  const DWORD sinceTick = ::GetTickCount() - m_lastTickAt;
  return ClockText(LocalTimeIn(MsUntilNextPing(schedule.ElapsedTicks(),
                                               schedule.PingIntervalMinutes(), kPingerTickMs,
                                               sinceTick)));
}

void frmNetPingerSettings::ShowStatus() {
  const std::string text = PingerStatusText(
      LastPingText(m_status.LastPing(), ClockText(m_lastPingAt)), m_status.FailuresInARow(),
      NextPingDueText());
  if (ControlsCreated() && TextOf(m_lblPingStatus) != text) {
    ::SetWindowTextA(m_lblPingStatus, text.c_str());
  }
  host().SetTrayStatusLine(PingerTrayLine(m_timerRunning, m_status.LastScheduledFailed()));
}

void frmNetPingerSettings::chkDoPinging_Click() {
  m_model.chkDoPinging_Click(CheckOf(m_chkDoPinging));
  ShowEnabledStates();
}

void frmNetPingerSettings::optAuto_Click() {
  m_model.optAuto_Click();
  ShowSettings();
}

void frmNetPingerSettings::optManual_Click() {
  m_model.optManual_Click();
  ShowSettings();
}

void frmNetPingerSettings::txtPingHost_Change() {
  m_model.txtPingHost_Change(TextOf(m_txtPingHost));
  ShowEnabledStates();
}

void frmNetPingerSettings::cmbPingInterval_Click() {
  m_model.cmbPingInterval_Click(
      static_cast<int>(::SendMessageA(m_cmbPingInterval, CB_GETCURSEL, 0, 0)));
  ShowEnabledStates();
}

void frmNetPingerSettings::chkSound_Click() {
  m_model.chkSound_Click(CheckOf(m_chkSound));
  ShowEnabledStates();
}

void frmNetPingerSettings::cmdSave_Click() {
  const std::optional<StoreFailure> failure = m_model.cmdSave_Click();
  ApplyTimer();
  ShowEnabledStates();
  // The edits stay on show and Save stays enabled, so the user can try again.
  if (failure) {
    MessageBoxes().Show(StoreFailureMessage(*failure), kAppTitle, kMbOk | kMbIconExclamation);
  }
}

}  // namespace quelvar
