// Painting idioms, written once: the memory-DC double buffer, a memory DC holding a bitmap
// (to blit from or into), and solid brushes made once per colour for the life of the process.
#pragma once
#include <windows.h>

#include "base/win32/unique_handle.h"

namespace quelvar {

// A memory DC compatible with `target` with `bitmap` selected into it while it lives.
class BitmapDc {
 public:
  BitmapDc(HDC target, HBITMAP bitmap)
      : m_dc(::CreateCompatibleDC(target)), m_select(m_dc.get(), bitmap) {}
  HDC get() const { return m_dc.get(); }
  explicit operator bool() const { return static_cast<bool>(m_dc); }

 private:
  UniqueDc m_dc;
  SelectGuard m_select;
};

// Copies `width` by `height` pixels of `bitmap` to (x, y) of `dc`.
inline bool DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) {
  BitmapDc source(dc, bitmap);
  return source && ::BitBlt(dc, x, y, width, height, source.get(), 0, 0, SRCCOPY);
}

// Double buffer for one paint: draw on get() in the target's coordinates; the area reaches the
// target in one copy when the buffer goes. Without memory for the buffer it draws on the
// target directly.
class MemoryDc {
 public:
  MemoryDc(HDC target, const RECT& area) : m_target(target), m_area(area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    m_bitmap.reset(::CreateCompatibleBitmap(target, width, height));
    if (m_bitmap) m_buffer.reset(::CreateCompatibleDC(target));
    if (!m_buffer) return;
    m_old = ::SelectObject(m_buffer.get(), m_bitmap.get());
    ::SetWindowOrgEx(m_buffer.get(), area.left, area.top, nullptr);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (!m_buffer) return;
    ::BitBlt(m_target, m_area.left, m_area.top, m_area.right - m_area.left,
             m_area.bottom - m_area.top, m_buffer.get(), m_area.left, m_area.top, SRCCOPY);
    ::SelectObject(m_buffer.get(), m_old);
  }
  HDC get() const { return m_buffer ? m_buffer.get() : m_target; }

 private:
  HDC m_target;
  RECT m_area;
  UniqueBitmap m_bitmap;
  UniqueDc m_buffer;  // released before the bitmap it holds
  HGDIOBJ m_old = nullptr;
};

// A solid brush of the colour, made on first use and kept until the process ends; never
// delete it. Window threads only.
HBRUSH SolidBrush(COLORREF color);

// Fills the rectangle with the colour's shared brush.
inline void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  ::FillRect(dc, &rect, SolidBrush(color));
}

}  // namespace quelvar
