// The system status window: live processor and memory graphs, each with its own sampling
// speed and zoom, memory freed on demand ("Optimize Now") by the amount on a slider, and the
// free memory in the tray icon's tool tip (and, when chosen, drawn into the icon) at every
// memory sample, and how the last free changed free memory. Owns the processor meter
// (QueryObject) that the low-memory alarm also consults. Its timers run from load on,
// shown or not.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/win32/child_window.h"
#include "base/win32/tool_tips.h"
#include "memory/free_ram.h"
#include "memory/processor_meter.h"
#include "memory/status_rules.h"
#include "memory/win32/histogram.h"
#include "memory/win32/win32_memory_system.h"

namespace quelvar {

class frmSystemStatus : public ChildWindow {
 public:
  explicit frmSystemStatus(MainWindowHost& host) : ChildWindow(host) {}

  // The processor meter, created at load (the NT one on the NT platform).
  ProcessorMeter* QueryObject() const { return m_queryObject.get(); }
  // The window's FreeRAM.
  FreeRAM& fmem() { return m_fmem; }
  // Where the tray tip's form is read at every memory sample: true for percent. Until one is
  // given the tip is in megabytes.
  void SetTipInPercentSource(std::function<bool()> optPer) { m_optPer = std::move(optPer); }
  // Where "Show free memory in the tray icon" is read at every memory sample. Until one is
  // given the icon is the program's.
  void SetTrayFigureSource(std::function<bool()> show) { m_showFigure = std::move(show); }
  // Shows how a free (this window's or the alarm's) changed free memory.
  void ShowFreeChange(const FreeChange& change);

 protected:
  const char* ClassName() const override { return "QuelvarSystemStatus"; }
  void CreateControls() override;
  void Form_Load() override;
  void ShowLoadedState() override;
  void Form_Unload() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  void Layout();
  void AddToolTips();
  HWND AddSlider(int id, int low, int high, int lineSize, int pageSize, bool ticks);
  void SetupFreeMemorySlider();
  void OnScroll(HWND slider);

  void tmrCPU_Timer();
  void tmrMemory_Timer();
  void sldFreeMomoryReq_Change();
  void cmdOptimaize_Click();
  void SetToolTip(HWND control, const std::string& text);

  NtSystemInformation m_ntInformation;
  std::unique_ptr<ProcessorMeter> m_queryObject;
  FreeRAM m_fmem;
  std::function<bool()> m_optPer;
  std::function<bool()> m_showFigure;

  std::int64_t TotalMemoryMB = 0;
  std::int64_t FreeMemoryBytes = 0;
  std::int64_t FreeMemoryMB = 0;
  FreeAmountLimit m_freeLimit;
  int m_freeAmountShown = -1;
  std::string m_trayTip;  // the text last handed to the tray
  std::string m_trayFigure;  // the figure last drawn into the icon; empty: the program icon
  bool m_busy = false;    // the hourglass is up
  std::optional<FreeChange> m_lastFreeChange;  // shown under the graphs

  HWND m_frame = nullptr;
  HWND m_frameCPUUsage = nullptr;
  HWND m_fameMemoryUsage = nullptr;
  HWND m_frameMemoryControl = nullptr;
  Histogram m_histCPU;
  Histogram m_histMemory;
  HWND m_sldCPUZoom = nullptr;
  HWND m_sldCPUSpeed = nullptr;
  HWND m_sldMemoryZoom = nullptr;
  HWND m_sldMemorySpeed = nullptr;
  HWND m_sldFreeMomoryReq = nullptr;
  HWND m_lblTargetMemoryNeeded = nullptr;
  HWND m_cmdOptimaize = nullptr;
  HWND m_lblFreeChange = nullptr;
  std::array<HWND, 4> m_sliderLabels{};  // CPU zoom, CPU speed, memory zoom, memory speed
  ToolTips m_toolTips;
};

}  // namespace quelvar
