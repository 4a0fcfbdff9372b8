// Histogram; see histogram.h.
#include "memory/win32/histogram.h"

#include <algorithm>
#include <vector>

#include "base/win32/unique_handle.h"

namespace quelvar {

namespace {

constexpr COLORREF kBackground = RGB(0, 0, 0);
constexpr COLORREF kGrid = RGB(0, 96, 48);
constexpr int kGridCell96 = 12;  // grid squares, in 96-dpi pixels

// A bitmap the size of the area to paint into, copied to the screen in one go.
class BufferDc {
 public:
  BufferDc(HDC target, const RECT& area)
      : m_target(target), m_area(area), m_dc(::CreateCompatibleDC(target)),
        m_bitmap(::CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top)) {
    m_old = ::SelectObject(m_dc, m_bitmap.get());
    ::SetWindowOrgEx(m_dc, area.left, area.top, nullptr);
  }
  ~BufferDc() {
    ::BitBlt(m_target, m_area.left, m_area.top, m_area.right - m_area.left,
             m_area.bottom - m_area.top, m_dc, m_area.left, m_area.top, SRCCOPY);
    ::SelectObject(m_dc, m_old);
    ::DeleteDC(m_dc);
  }
  BufferDc(const BufferDc&) = delete;
  BufferDc& operator=(const BufferDc&) = delete;
  HDC get() const { return m_dc; }

 private:
  HDC m_target;
  RECT m_area;
  HDC m_dc;
  UniqueBitmap m_bitmap;  // deleted after the DC has let go of it
  HGDIOBJ m_old = nullptr;
};

}  // namespace

void Histogram::Clear() {
  m_history.clear();
  m_samplesTaken = 0;
  m_maxlines = kFirstMaxlines;
}

bool Histogram::Create(HWND parent, int id) {
  return Window::Create("QuelvarHistogram", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                        WS_EX_CLIENTEDGE, 0, 0, 10, 10, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

void Histogram::setMaxlines(int span) {
  m_maxlines = std::max(span, 2);
  Refresh();
}

void Histogram::setNewcolor(COLORREF colour) {
  m_newcolor = colour;
  Refresh();
}

void Histogram::SetValue(double value) {
  m_history.push_back(value);
  if (m_history.size() > kHistoryLength) m_history.pop_front();
  ++m_samplesTaken;
  Refresh();
}

void Histogram::Refresh() {
  if (hwnd() && ::IsWindowVisible(hwnd())) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT Histogram::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PaintDc paint(hwnd());
      RECT client{};
      ::GetClientRect(hwnd(), &client);
      if (client.right > 0 && client.bottom > 0) {
        BufferDc buffer(paint.get(), client);
        Paint(buffer.get(), client);
      }
      return 0;
    }
    default: return DefaultProc(message, wParam, lParam);
  }
}

void Histogram::Paint(HDC dc, const RECT& area) const {
  UniqueBrush background(::CreateSolidBrush(kBackground));
  ::FillRect(dc, &area, background.get());
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  const double step = static_cast<double>(width - 1) / (m_maxlines - 1);

  // The grid moves left by one sample's width with every sample.
  const int cell = std::max(Scale(kGridCell96), 4);
  UniquePen gridPen(::CreatePen(PS_SOLID, 1, kGrid));
  {
    SelectGuard pen(dc, gridPen.get());
    for (int y = area.bottom - 1; y >= area.top; y -= cell) {
      ::MoveToEx(dc, area.left, y, nullptr);
      ::LineTo(dc, area.right, y);
    }
    const int shift = static_cast<int>(static_cast<double>(m_samplesTaken % 1000) * step) % cell;
    for (int x = area.right - 1 - (cell - shift) % cell; x >= area.left; x -= cell) {
      ::MoveToEx(dc, x, area.top, nullptr);
      ::LineTo(dc, x, area.bottom);
    }
  }

  // The newest sample at the right edge, older ones to its left, as many as the span shows.
  const std::size_t shown = std::min<std::size_t>(m_history.size(), static_cast<std::size_t>(m_maxlines));
  if (shown == 0) return;
  std::vector<POINT> points;
  points.reserve(shown);
  for (std::size_t i = 0; i < shown; ++i) {
    const double value = std::clamp(m_history[m_history.size() - shown + i], 0.0, 100.0);
    const double x = area.right - 1 - static_cast<double>(shown - 1 - i) * step;
    const double y = area.bottom - 1 - value * (height - 1) / 100.0;
    points.push_back({static_cast<LONG>(x + 0.5), static_cast<LONG>(y + 0.5)});
  }
  UniquePen linePen(::CreatePen(PS_SOLID, std::max(Scale(1), 1), m_newcolor));
  SelectGuard pen(dc, linePen.get());
  if (points.size() == 1) {
    ::MoveToEx(dc, points[0].x - 1, points[0].y, nullptr);
    ::LineTo(dc, points[0].x + 1, points[0].y);
  } else {
    ::Polyline(dc, points.data(), static_cast<int>(points.size()));
  }
}

}  // namespace quelvar
