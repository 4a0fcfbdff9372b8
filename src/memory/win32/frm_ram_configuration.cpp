// Ram Configuration window; see frm_ram_configuration.h.
#include "memory/win32/frm_ram_configuration.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <string>

#include "base/message_box.h"
#include "base/program_folder.h"
#include "memory/win32/frm_system_status.h"
#include "resource.h"

namespace quelvar {

namespace {

constexpr UINT_PTR kTimerAlarm = 1;        // tmrAlarm
constexpr UINT_PTR kTimerSoundPlayer = 2;  // tmrSoundPlayer

constexpr const char* kBoxLabels[kRamBoxCount] = {
    "&Alarm Level (in MB):",
    "&RAM to try and free when alarm level is reached:",
    "Do &check every (in Milliseconds)",
    "&Times to retry optimization",
    "R&un ONLY if CPU-Usage is below this (0=detectyion not in use)",
};
constexpr const char* kBoxTips[kRamBoxCount] = {
    "Free memory below this many megabytes sounds the alarm and starts automatic freeing",
    "Megabytes to free each time (0 to 1000); a change counts at once, without saving",
    "How often free memory is checked, in milliseconds (100 to 65535)",
    "How many times in a row memory is freed when the alarm goes off (0 frees once)",
    "Free memory only while the processor is below this percentage (0 = always)",
};

RamBox BoxAt(int index) { return static_cast<RamBox>(index); }

std::string TextOf(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace

bool Win32SoundPlayer::PlayFileAsync(const std::string& path) {
  return ::PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

void frmRamConfiguration::CreateControls() {
  m_frame = AddControl("BUTTON", "Ram Configuration", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0, 10,
                       10, IDC_FRAME_RAM_CONFIGURATION);
  m_frameAutomatic = AddControl("BUTTON", "Automatic Optimization", BS_GROUPBOX | WS_CLIPSIBLINGS,
                                0, 0, 10, 10, IDC_RAM_FRAME_AUTOMATIC);
  m_frameTray = AddControl("BUTTON", "System Tray Icon Tool Tip Text",
                           BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0, 10, 10, IDC_RAM_FRAME_TRAY);
  m_frameOnOff = AddControl("BUTTON", "On/Off settings", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0, 10,
                            10, IDC_RAM_FRAME_ONOFF);

  // In tab order: the alarm's three boxes, the tip's form, the figure in the icon, the passes
  // and the limit, the two switches, Save. Each label comes just before its box, so its mnemonic reaches the box.
  auto addBox = [this](int index) {
    m_label[index] = AddControl("STATIC", kBoxLabels[index], SS_LEFT | WS_CLIPSIBLINGS, 0, 0, 10,
                                10, IDC_RAM_LABEL0 + index);
    m_box[index] = AddControl("EDIT", m_form.Text(BoxAt(index)).c_str(),
                              ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 10,
                              10, IDE_RAM_BOX0 + index, WS_EX_CLIENTEDGE);
    if (const SpinnerRange* range = SpinnerOf(BoxAt(index))) {
      m_spinner[index] = AddControl(UPDOWN_CLASSA, "",
                                    UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS |
                                        UDS_NOTHOUSANDS | WS_CLIPSIBLINGS,
                                    0, 0, 10, 10, IDC_RAM_SPIN0 + index);
      ::SendMessageA(m_spinner[index], UDM_SETBUDDY, reinterpret_cast<WPARAM>(m_box[index]), 0);
      // The 16-bit range first, for the oldest common controls; the full one where known.
      ::SendMessageA(m_spinner[index], UDM_SETRANGE, 0,
                     MAKELPARAM(std::min(range->high, 32767), range->low));
      ::SendMessageA(m_spinner[index], UDM_SETRANGE32, range->low, range->high);
    }
  };
  addBox(static_cast<int>(RamBox::txtAlarm));
  addBox(static_cast<int>(RamBox::txtFreeAlarm));
  addBox(static_cast<int>(RamBox::txtTimeCheck));
  m_optMB = AddControl("BUTTON", "Free RAM in &MB",
                       BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                       IDC_RAM_OPT_MB);
  m_optPer = AddControl("BUTTON", "&Percentage of Free RAM", BS_AUTORADIOBUTTON | WS_CLIPSIBLINGS,
                        0, 0, 10, 10, IDC_RAM_OPT_PER);
  m_chkTrayFigure = AddControl("BUTTON", "Show free memory in the tray &icon",
                               BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0,
                               10, 10, IDX_RAM_TRAY_FIGURE);
  addBox(static_cast<int>(RamBox::txtRetryOptimization));
  addBox(static_cast<int>(RamBox::txtRunOnly));
  m_chkSoundon = AddControl("BUTTON", "Sound &on",
                            BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 10,
                            10, IDX_RAM_SOUND_ON);
  m_chkAutomatic = AddControl("BUTTON", "Optimize automatically when Alarm &level is reached",
                              BS_AUTOCHECKBOX | BS_MULTILINE | BS_TOP | WS_TABSTOP | WS_CLIPSIBLINGS,
                              0, 0, 10, 10, IDX_RAM_AUTOMATIC);
  m_cmdSave = AddControl("BUTTON", "&Save",
                         BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_DISABLED | WS_CLIPSIBLINGS, 0,
                         0, 10, 10, IDC_RAM_SAVE);

  // The frames paint their whole area: they lie beneath the controls they hold.
  for (HWND frame : {m_frameOnOff, m_frameTray, m_frameAutomatic, m_frame}) {
    ::SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  AddToolTips();
  Layout();
}

void frmRamConfiguration::AddToolTips() {
  m_toolTips.Create(hwnd(), Scale(320));
  auto add = [this](HWND control, const char* text) { m_toolTips.Add(control, text); };
  for (int i = 0; i < kRamBoxCount; ++i) add(m_box[i], kBoxTips[i]);
  add(m_optMB, "The tray icon's tool tip shows free memory in megabytes");
  add(m_optPer, "The tray icon's tool tip shows free memory as a share of all memory");
  add(m_chkSoundon, "Play a warning sound while free memory is below the alarm level");
  add(m_chkAutomatic, "Free memory by itself while free memory is below the alarm level");
  add(m_chkTrayFigure,
      "Draw the free memory into the tray icon, in megabytes or percent as the tool tip shows it");
  add(m_cmdSave, "Store these settings; the alarm uses them from now on");
}

void frmRamConfiguration::Layout() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const int width = client.right;
  const int height = client.bottom;
  const int margin = Scale(6);
  const int inner = Scale(8);
  const int gap = Scale(4);
  const int lineHeight = Scale(13);
  const int boxHeight = Scale(20);
  const int boxWidth = Scale(64);
  const int optionHeight = Scale(17);
  const int buttonWidth = Scale(84);
  const int buttonHeight = Scale(24);
  ::MoveWindow(m_frame, 0, 0, width, height, TRUE);
  const int frameWidth = width - 2 * margin;
  const int columnsWidth = frameWidth - 2 * inner;

  // A label of two lines over its box, in a column; the spinner sits at the box's right edge.
  auto placeBox = [&](RamBox box, int left, int columnWidth, int top) {
    const int index = static_cast<int>(box);
    ::MoveWindow(m_label[index], left, top, columnWidth, 2 * lineHeight, TRUE);
    ::MoveWindow(m_box[index], left, top + 2 * lineHeight + Scale(2), boxWidth, boxHeight, TRUE);
    if (m_spinner[index]) {
      ::SendMessageA(m_spinner[index], UDM_SETBUDDY, reinterpret_cast<WPARAM>(m_box[index]), 0);
    }
  };

  // The alarm: three columns, the amount's label the longest.
  int top = Scale(16);
  const int automaticHeight = Scale(14) + 2 * lineHeight + Scale(2) + boxHeight + Scale(5);
  ::MoveWindow(m_frameAutomatic, margin, top, frameWidth, automaticHeight, TRUE);
  const int levelWidth = columnsWidth * 23 / 100;
  const int amountWidth = columnsWidth * 45 / 100;
  const int periodWidth = columnsWidth - levelWidth - amountWidth - 2 * gap;
  int x = margin + inner;
  placeBox(RamBox::txtAlarm, x, levelWidth, top + Scale(14));
  x += levelWidth + gap;
  placeBox(RamBox::txtFreeAlarm, x, amountWidth, top + Scale(14));
  x += amountWidth + gap;
  placeBox(RamBox::txtTimeCheck, x, periodWidth, top + Scale(14));

  // The tray tip's form on one line, the figure in the icon on the next (a little tighter, so
  // the switches below keep their room), the passes and the limit under them.
  top += automaticHeight + Scale(3);
  const int figureHeight = Scale(16);
  const int trayHeight = Scale(14) + optionHeight + figureHeight + Scale(3) + 2 * lineHeight +
                         Scale(2) + boxHeight + Scale(5);
  ::MoveWindow(m_frameTray, margin, top, frameWidth, trayHeight, TRUE);
  const int retryWidth = columnsWidth * 36 / 100;
  ::MoveWindow(m_optMB, margin + inner, top + Scale(14), retryWidth, optionHeight, TRUE);
  ::MoveWindow(m_optPer, margin + inner + retryWidth + gap, top + Scale(14),
               columnsWidth - retryWidth - gap, optionHeight, TRUE);
  ::MoveWindow(m_chkTrayFigure, margin + inner, top + Scale(14) + optionHeight, columnsWidth,
               figureHeight, TRUE);
  const int rowTop = top + Scale(14) + optionHeight + figureHeight + Scale(3);
  placeBox(RamBox::txtRetryOptimization, margin + inner, retryWidth, rowTop);
  placeBox(RamBox::txtRunOnly, margin + inner + retryWidth + gap, columnsWidth - retryWidth - gap,
           rowTop);

  // The two switches side by side, their first lines level (the long caption takes two
  // lines), and Save beside them.
  top += trayHeight + Scale(3);
  const int onOffHeight = height - margin - top;
  const int onOffWidth = frameWidth - buttonWidth - margin;
  const int soundWidth = Scale(72);
  const int switchTop = top + Scale(13);
  ::MoveWindow(m_frameOnOff, margin, top, onOffWidth, onOffHeight, TRUE);
  ::MoveWindow(m_chkSoundon, margin + inner, switchTop, soundWidth, lineHeight + Scale(2), TRUE);
  ::MoveWindow(m_chkAutomatic, margin + inner + soundWidth, switchTop,
               onOffWidth - 2 * inner - soundWidth, 2 * lineHeight, TRUE);
  ::MoveWindow(m_cmdSave, width - margin - buttonWidth, height - margin - buttonHeight, buttonWidth,
               buttonHeight, TRUE);
}

void frmRamConfiguration::Form_Load() {
  m_form.LoadSettings();
  UpdateAlarmTimer();
  ::SetTimer(hwnd(), kTimerSoundPlayer, kSoundPlayerInterval, nullptr);
}

void frmRamConfiguration::Form_Unload() {
  ::KillTimer(hwnd(), kTimerAlarm);
  ::KillTimer(hwnd(), kTimerSoundPlayer);
  // A load after this one starts as the first did: the timer is set again, the form is new.
  m_alarmInterval = 0;
  m_settingText = 0;
  m_form.Unload();
}

void frmRamConfiguration::ShowState() {
  if (ControlsCreated()) ShowControls();
  UpdateAlarmTimer();
}

void frmRamConfiguration::ShowControls() {
  for (int i = 0; i < kRamBoxCount; ++i) {
    const std::string& text = m_form.Text(BoxAt(i));
    if (TextOf(m_box[i]) != text) {
      ++m_settingText;
      ::SetWindowTextA(m_box[i], text.c_str());
      --m_settingText;
    }
    const BOOL enabled = m_form.IsEnabled(BoxAt(i));
    ::EnableWindow(m_box[i], enabled);
    // The spinner reads its box when clicked (it is the box's buddy), so a number being typed
    // is never overwritten.
    if (m_spinner[i]) ::EnableWindow(m_spinner[i], enabled);
  }
  ::SendMessageA(m_chkSoundon, BM_SETCHECK, m_form.chkSoundon(), 0);
  ::SendMessageA(m_chkAutomatic, BM_SETCHECK, m_form.chkAutomatic(), 0);
  ::SendMessageA(m_chkTrayFigure, BM_SETCHECK, m_form.chkTrayFigure(), 0);
  ::SendMessageA(m_optMB, BM_SETCHECK, m_form.optMB() ? BST_CHECKED : BST_UNCHECKED, 0);
  ::SendMessageA(m_optPer, BM_SETCHECK, m_form.optPer() ? BST_CHECKED : BST_UNCHECKED, 0);
  // Disabling the focused button would leave the keyboard nowhere: move it on first.
  if (!m_form.Changed() && ::GetFocus() == m_cmdSave) ::SetFocus(m_chkSoundon);
  ::EnableWindow(m_cmdSave, m_form.Changed());
}

void frmRamConfiguration::UpdateAlarmTimer() {
  // A tick with both switches off decides nothing, so the timer rests meanwhile (an idle
  // program then wakes up ten times a second less); clearing the switches has already
  // taken back the sound and ended a running free.
  const bool watching = m_form.chkSoundon() == 1 || m_form.chkAutomatic() == 1;
  const unsigned interval = watching ? m_form.AlarmInterval() : 0;
  if (interval != m_alarmInterval) {
    if (interval == 0) {
      ::KillTimer(hwnd(), kTimerAlarm);
    } else if (::SetTimer(hwnd(), kTimerAlarm, interval, nullptr) == 0) {
      return;  // not running: the next change tries again
    }
    m_alarmInterval = interval;
  }
}

LRESULT frmRamConfiguration::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: Layout(); return 0;
    case WM_TIMER:
      if (wParam == kTimerAlarm) tmrAlarm_Timer();
      if (wParam == kTimerSoundPlayer) tmrSoundPlayer_Timer();
      return 0;
    default: return ChildWindow::HandleMessage(message, wParam, lParam);
  }
}

void frmRamConfiguration::OnCommand(int id, int code, HWND control) {
  if (id >= IDE_RAM_BOX0 && id < IDE_RAM_BOX0 + kRamBoxCount) {
    if (code != EN_CHANGE || m_settingText > 0) return;
    m_form.SetText(BoxAt(id - IDE_RAM_BOX0), TextOf(control));
    ShowState();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDX_RAM_SOUND_ON:
      m_form.chkSoundon_Click(static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0)));
      break;
    case IDX_RAM_AUTOMATIC:
      m_form.chkAutomatic_Click(static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0)));
      break;
    case IDX_RAM_TRAY_FIGURE:
      m_form.chkTrayFigure_Click(static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0)));
      break;
    case IDC_RAM_OPT_MB: m_form.opt_Click(false); break;
    case IDC_RAM_OPT_PER: m_form.opt_Click(true); break;
    case IDC_RAM_SAVE:
      if (const std::optional<StoreFailure> failure = m_form.cmdSave_Click()) {
        // The edits stay on show and Save stays enabled, so the user can try again.
        ShowState();
        MessageBoxes().Show(StoreFailureMessage(*failure), kAppTitle, kMbOk | kMbIconExclamation);
        return;
      }
      break;
    default: return;
  }
  ShowState();
}

void frmRamConfiguration::tmrAlarm_Timer() {
  ProcessorMeter* meter = nullptr;
  if (m_systemStatus) {
    m_systemStatus->Load();
    meter = m_systemStatus->QueryObject();
  }
  const std::optional<FreeChange> change = m_form.tmrAlarm_Timer(TheMemorySystem(), meter);
  if (change && m_systemStatus) m_systemStatus->ShowFreeChange(*change);
}

void frmRamConfiguration::tmrSoundPlayer_Timer() { m_form.tmrSoundPlayer_Timer(m_player, ProgramFolder()); }

}  // namespace quelvar
