// System Status window; see frm_system_status.h.
#include "memory/win32/frm_system_status.h"

#include <commctrl.h>

#include <algorithm>

#include "base/win32/skin.h"
#include "resource.h"

namespace quelvar {

namespace {

constexpr UINT_PTR kTimerCPU = 1;     // tmrCPU
constexpr UINT_PTR kTimerMemory = 2;  // tmrMemory
constexpr UINT kStartInterval = 300;
constexpr int kYieldsAroundOptimize = 6;
constexpr std::int64_t kBytesPerMegabyte = 1048576;

int Position(HWND slider) { return static_cast<int>(::SendMessageA(slider, TBM_GETPOS, 0, 0)); }

void SetTextIfChanged(HWND window, const std::string& text) {
  char current[256] = {};
  ::GetWindowTextA(window, current, sizeof current);
  if (text != current) ::SetWindowTextA(window, text.c_str());
}

}  // namespace

void frmSystemStatus::CreateControls() {
  m_frame = AddControl("BUTTON", "System Status", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                       IDC_FRAME_SYSTEM_STATUS);
  m_frameCPUUsage = AddControl("BUTTON", "Processor usage", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0,
                               10, 10, IDC_STATUS_CPU_FRAME);
  m_fameMemoryUsage = AddControl("BUTTON", "Memory usage", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0,
                                 10, 10, IDC_STATUS_MEMORY_FRAME);
  m_frameMemoryControl = AddControl("BUTTON", "Memory Control", BS_GROUPBOX | WS_CLIPSIBLINGS,
                                    0, 0, 10, 10, IDC_STATUS_MEMORY_CONTROL_FRAME);

  // In tab order: the processor graph's sliders, the memory graph's, the amount, the button.
  m_histCPU.Create(hwnd(), IDC_STATUS_CPU_GRAPH);
  m_sliderLabels[0] = AddControl("STATIC", "&Zoom", SS_LEFT | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                                 IDC_STATUS_LABEL_FIRST);
  m_sldCPUZoom = AddSlider(IDC_STATUS_CPU_ZOOM, 30, 100, 1, 5, false);
  m_sliderLabels[1] = AddControl("STATIC", "&Speed", SS_LEFT | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                                 IDC_STATUS_LABEL_FIRST + 1);
  m_sldCPUSpeed = AddSlider(IDC_STATUS_CPU_SPEED, 300, 1000, 1, 5, false);
  m_histMemory.Create(hwnd(), IDC_STATUS_MEMORY_GRAPH);
  m_sliderLabels[2] = AddControl("STATIC", "Zo&om", SS_LEFT | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                                 IDC_STATUS_LABEL_FIRST + 2);
  m_sldMemoryZoom = AddSlider(IDC_STATUS_MEMORY_ZOOM, 30, 100, 2, 5, false);
  m_sliderLabels[3] = AddControl("STATIC", "S&peed", SS_LEFT | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                                 IDC_STATUS_LABEL_FIRST + 3);
  m_sldMemorySpeed = AddSlider(IDC_STATUS_MEMORY_SPEED, 300, 1000, 1, 5, false);
  m_lblTargetMemoryNeeded = AddControl("STATIC", "Target Level Of RAM ",
                                       SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                                       IDC_STATUS_TARGET_LABEL);
  m_sldFreeMomoryReq = AddSlider(IDC_STATUS_FREE_AMOUNT, 0, 0, 1, 5, true);
  m_cmdOptimaize = AddControl("BUTTON", "Optimize &Now",
                              BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 10,
                              10, IDC_STATUS_OPTIMIZE);
  // Empty until the first free.
  m_lblFreeChange = AddControl("STATIC", "", SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS, 0, 0, 10,
                               10, IDC_STATUS_FREE_CHANGE);

  // The frames paint their whole area: they lie beneath the controls they hold.
  for (HWND frame : {m_frameMemoryControl, m_fameMemoryUsage, m_frameCPUUsage, m_frame}) {
    ::SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  AddToolTips();
  Layout();
}

HWND frmSystemStatus::AddSlider(int id, int low, int high, int lineSize, int pageSize, bool ticks) {
  const DWORD style = TBS_HORZ | TBS_BOTTOM | (ticks ? TBS_AUTOTICKS : TBS_NOTICKS) |
                      WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS;
  HWND slider = AddControl(TRACKBAR_CLASSA, "", style, 0, 0, 10, 10, id);
  ::SendMessageA(slider, TBM_SETRANGEMIN, FALSE, low);
  ::SendMessageA(slider, TBM_SETRANGEMAX, FALSE, high);
  ::SendMessageA(slider, TBM_SETLINESIZE, 0, lineSize);
  ::SendMessageA(slider, TBM_SETPAGESIZE, 0, pageSize);
  ::SendMessageA(slider, TBM_SETPOS, TRUE, low);
  return slider;
}

void frmSystemStatus::AddToolTips() {
  m_toolTips.Create(hwnd(), Scale(320));
  SetToolTip(m_sldCPUZoom, "How many samples the processor graph shows");
  SetToolTip(m_sldCPUSpeed, "How often the processor is sampled: further right is faster");
  SetToolTip(m_sldMemoryZoom, "How many samples the memory graph shows");
  SetToolTip(m_sldMemorySpeed, "How often free memory is sampled: further right is faster");
  SetToolTip(m_sldFreeMomoryReq, FreeAmountToolTip(0, m_freeLimit));
  SetToolTip(m_cmdOptimaize, "Free the amount of memory chosen on the slider");
  SetToolTip(m_lblFreeChange, "Free memory before and after the last free");
}

void frmSystemStatus::SetToolTip(HWND control, const std::string& text) {
  m_toolTips.Set(control, text);
}

void frmSystemStatus::Layout() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const int width = client.right;
  const int height = client.bottom;
  const int margin = Scale(6);
  const int inner = Scale(6);
  const int rowHeight = Scale(22);
  const int labelWidth = Scale(40);
  const int buttonWidth = Scale(100);
  const int buttonHeight = Scale(26);
  const int controlHeight = Scale(70);
  const int resultHeight = Scale(16);
  ::MoveWindow(m_frame, 0, 0, width, height, TRUE);

  // The two graphs side by side, the last free's result under them.
  const int graphsTop = Scale(18);
  const int graphsBottom = height - margin - controlHeight - Scale(4) - resultHeight;
  ::MoveWindow(m_lblFreeChange, margin + inner, graphsBottom + Scale(2),
               width - 2 * (margin + inner), resultHeight, TRUE);
  const int frameWidth = (width - 3 * margin) / 2;
  struct GraphFrame {
    HWND frame;
    Histogram& graph;
    HWND zoomLabel, zoom, speedLabel, speed;
  } frames[] = {
      {m_frameCPUUsage, m_histCPU, m_sliderLabels[0], m_sldCPUZoom, m_sliderLabels[1], m_sldCPUSpeed},
      {m_fameMemoryUsage, m_histMemory, m_sliderLabels[2], m_sldMemoryZoom, m_sliderLabels[3],
       m_sldMemorySpeed},
  };
  for (int i = 0; i < 2; ++i) {
    const GraphFrame& f = frames[i];
    const int left = margin + i * (frameWidth + margin);
    ::MoveWindow(f.frame, left, graphsTop, frameWidth, graphsBottom - graphsTop, TRUE);
    const int graphTop = graphsTop + Scale(18);
    const int speedTop = graphsBottom - Scale(6) - rowHeight;
    const int zoomTop = speedTop - rowHeight;
    ::MoveWindow(f.graph.hwnd(), left + inner, graphTop, frameWidth - 2 * inner,
                 zoomTop - Scale(4) - graphTop, TRUE);
    const int labelOffset = (rowHeight - Scale(16)) / 2;
    ::MoveWindow(f.zoomLabel, left + inner, zoomTop + labelOffset, labelWidth, Scale(16), TRUE);
    ::MoveWindow(f.zoom, left + inner + labelWidth, zoomTop,
                 frameWidth - 2 * inner - labelWidth, rowHeight, TRUE);
    ::MoveWindow(f.speedLabel, left + inner, speedTop + labelOffset, labelWidth, Scale(16), TRUE);
    ::MoveWindow(f.speed, left + inner + labelWidth, speedTop,
                 frameWidth - 2 * inner - labelWidth, rowHeight, TRUE);
  }

  // The amount to free under them, the button beside it.
  const int controlTop = height - margin - controlHeight;
  const int controlWidth = width - 3 * margin - buttonWidth;
  ::MoveWindow(m_frameMemoryControl, margin, controlTop, controlWidth, controlHeight, TRUE);
  ::MoveWindow(m_lblTargetMemoryNeeded, margin + inner, controlTop + Scale(18),
               controlWidth - 2 * inner, Scale(16), TRUE);
  ::MoveWindow(m_sldFreeMomoryReq, margin + Scale(4), controlTop + Scale(34),
               controlWidth - Scale(8), Scale(30), TRUE);
  ::MoveWindow(m_cmdOptimaize, width - margin - buttonWidth,
               controlTop + controlHeight - buttonHeight - Scale(4), buttonWidth, buttonHeight,
               TRUE);
}

void frmSystemStatus::Form_Load() {
  if (IsWindowsNT()) {
    m_queryObject = std::make_unique<clsCPUUsageNT>(m_ntInformation);
  } else {
    m_queryObject = std::make_unique<clsCPUUsage>();
  }
  m_queryObject->Initialize();
  TotalMemoryMB = BytesToMegabytes(m_fmem.GetTotalPhysical());
  m_freeLimit = FreeAmountSliderLimit(TotalMemoryMB, sizeof(void*) * 8);
  ::SetTimer(hwnd(), kTimerCPU, kStartInterval, nullptr);
  ::SetTimer(hwnd(), kTimerMemory, kStartInterval, nullptr);
}

// The graphs have sampled since the load: the frames show their last values at once.
void frmSystemStatus::ShowLoadedState() {
  SetupFreeMemorySlider();
  sldFreeMomoryReq_Change();
  if (m_histCPU.HasSamples()) {
    SetTextIfChanged(m_frameCPUUsage, ProcessorCaption(m_histCPU.Value()));
  }
  if (m_histMemory.HasSamples()) {
    SetTextIfChanged(m_fameMemoryUsage, MemoryCaption(m_histMemory.Value()));
  }
  if (m_lastFreeChange) SetTextIfChanged(m_lblFreeChange, FreeChangeText(*m_lastFreeChange));
}

void frmSystemStatus::Form_Unload() {
  ::KillTimer(hwnd(), kTimerCPU);
  ::KillTimer(hwnd(), kTimerMemory);
  // A load after this one starts as the first did: the program icon in the tray, the tip and
  // the amount's label written afresh by the first sample and the slider.
  if (!m_trayFigure.empty()) host().SetTrayFigure("");
  m_trayFigure.clear();
  m_trayTip.clear();
  m_freeAmountShown = -1;
  m_busy = false;
  m_lastFreeChange.reset();
  m_histCPU.Clear();
  m_histMemory.Clear();
}

void frmSystemStatus::SetupFreeMemorySlider() {
  ::SendMessageA(m_sldFreeMomoryReq, TBM_SETRANGEMIN, FALSE, 0);
  ::SendMessageA(m_sldFreeMomoryReq, TBM_SETRANGEMAX, TRUE, m_freeLimit.megabytes);
  // A page is a tenth of the range (at least 5 MB), and so is the tick spacing.
  ::SendMessageA(m_sldFreeMomoryReq, TBM_SETPAGESIZE, 0, std::max(5, m_freeLimit.megabytes / 10));
  ::SendMessageA(m_sldFreeMomoryReq, TBM_SETTICFREQ, std::max(1, m_freeLimit.megabytes / 10), 0);
}

LRESULT frmSystemStatus::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: Layout(); return 0;
    case WM_TIMER:
      if (wParam == kTimerCPU) tmrCPU_Timer();
      if (wParam == kTimerMemory) tmrMemory_Timer();
      return 0;
    case WM_HSCROLL: OnScroll(reinterpret_cast<HWND>(lParam)); return 0;
    case WM_CTLCOLORSTATIC:
      // The sliders sit on the window's background, as their labels do.
      if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) >= IDC_STATUS_CPU_ZOOM &&
          ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) <= IDC_STATUS_FREE_AMOUNT) {
        if (const auto brush = SkinCtlColor(reinterpret_cast<HDC>(wParam), m_sliderLabels[0], hwnd())) {
          return *brush;
        }
      }
      return ChildWindow::HandleMessage(message, wParam, lParam);
    case WM_SETCURSOR:
      if (m_busy) {
        ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        return TRUE;
      }
      return ChildWindow::HandleMessage(message, wParam, lParam);
    default: return ChildWindow::HandleMessage(message, wParam, lParam);
  }
}

void frmSystemStatus::OnCommand(int id, int code, HWND) {
  if (id == IDC_STATUS_OPTIMIZE && code == BN_CLICKED) cmdOptimaize_Click();
}

void frmSystemStatus::OnScroll(HWND slider) {
  if (slider == m_sldCPUSpeed) {
    ::SetTimer(hwnd(), kTimerCPU, SamplingInterval(Position(slider)), nullptr);
  } else if (slider == m_sldMemorySpeed) {
    ::SetTimer(hwnd(), kTimerMemory, SamplingInterval(Position(slider)), nullptr);
  } else if (slider == m_sldCPUZoom) {
    m_histCPU.setMaxlines(Position(slider));
  } else if (slider == m_sldMemoryZoom) {
    m_histMemory.setMaxlines(Position(slider));
  } else if (slider == m_sldFreeMomoryReq) {
    sldFreeMomoryReq_Change();
  }
}

void frmSystemStatus::sldFreeMomoryReq_Change() {
  const int megabytes = Position(m_sldFreeMomoryReq);
  if (megabytes == m_freeAmountShown) return;
  m_freeAmountShown = megabytes;
  SetToolTip(m_sldFreeMomoryReq, FreeAmountToolTip(megabytes, m_freeLimit));
  ::SetWindowTextA(m_lblTargetMemoryNeeded, TargetLevelText(megabytes).c_str());
}

void frmSystemStatus::tmrCPU_Timer() {
  if (m_queryObject) m_histCPU.SetValue(m_queryObject->Query());
  if (ControlsCreated()) SetTextIfChanged(m_frameCPUUsage, ProcessorCaption(m_histCPU.Value()));
}

void frmSystemStatus::tmrMemory_Timer() {
  FreeMemoryBytes = m_fmem.GetFreePhysical();
  FreeMemoryMB = BytesToMegabytes(FreeMemoryBytes);
  if (const auto sample = MemorySample(FreeMemoryMB, TotalMemoryMB)) m_histMemory.SetValue(*sample);
  if (ControlsCreated()) SetTextIfChanged(m_fameMemoryUsage, MemoryCaption(m_histMemory.Value()));
  // The tray gets the tip only when its text changes.
  const bool inPercent = m_optPer && m_optPer();
  std::string tip = TrayMemoryTip(inPercent, m_histMemory.Value(), FreeMemoryMB);
  if (tip != m_trayTip) {
    m_trayTip = std::move(tip);
    host().SetTrayToolTip(m_trayTip);
  }
  // The icon is redrawn only when the figure it shows changes.
  std::string figure;
  if (m_showFigure && m_showFigure()) {
    figure = TrayFigureText(inPercent, m_histMemory.Value(), FreeMemoryMB);
  }
  if (figure != m_trayFigure) {
    m_trayFigure = std::move(figure);
    host().SetTrayFigure(m_trayFigure);
  }
}

void frmSystemStatus::ShowFreeChange(const FreeChange& change) {
  m_lastFreeChange = change;
  if (ControlsCreated()) SetTextIfChanged(m_lblFreeChange, FreeChangeText(change));
}

void frmSystemStatus::cmdOptimaize_Click() {
  // A click that arrives while a free runs (this one or the alarm's) is skipped.
  if (m_busy || FreeRAM::FreeInProgress()) return;
  MemorySystem& system = TheMemorySystem();
  m_busy = true;
  for (int i = 0; i < kYieldsAroundOptimize; ++i) system.DoEvents();
  ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  FreeChange change;
  change.beforeMB = BytesToMegabytes(m_fmem.GetFreePhysical());
  m_fmem.FreeUpMemory(static_cast<std::int64_t>(Position(m_sldFreeMomoryReq)) * kBytesPerMegabyte);
  change.afterMB = BytesToMegabytes(m_fmem.GetFreePhysical());
  ShowFreeChange(change);
  m_busy = false;
  ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
  for (int i = 0; i < kYieldsAroundOptimize; ++i) system.DoEvents();
}

}  // namespace quelvar
