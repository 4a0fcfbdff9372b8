// Histogram: the running line graph of the status window. Each value written is a new sample
// (0 to 100 fills the height), the newest at the right edge, over a dark grid that scrolls
// with the samples. It keeps its history while hidden and paints only when shown.
#pragma once
#include <windows.h>

#include <deque>

#include "base/win32/window.h"

namespace quelvar {

class Histogram : public Window {
 public:
  // The window of the graph; the history it shows is kept apart and survives it.
  bool Create(HWND parent, int id);
  // Forgets the history: the next sample is the first, at the first span.
  void Clear();

  // The span: how many samples the graph shows across its width (2 or more).
  int maxlines() const { return m_maxlines; }
  void setMaxlines(int span);
  // The line colour; pure green unless set.
  COLORREF newcolor() const { return m_newcolor; }
  void setNewcolor(COLORREF colour);
  // The current value: the last sample written, fraction kept (0 before any).
  double Value() const { return m_history.empty() ? 0.0 : m_history.back(); }
  bool HasSamples() const { return !m_history.empty(); }
  void SetValue(double value);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc, const RECT& area) const;
  void Refresh();

  // The longest history kept: the widest span the window offers, and more.
  static constexpr std::size_t kHistoryLength = 512;
  static constexpr int kFirstMaxlines = 30;
  std::deque<double> m_history;
  unsigned long m_samplesTaken = 0;  // scrolls the grid
  int m_maxlines = kFirstMaxlines;
  COLORREF m_newcolor = RGB(0, 255, 0);
};

}  // namespace quelvar
