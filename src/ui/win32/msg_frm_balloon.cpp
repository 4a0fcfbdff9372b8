// msgFrm's balloon: placing the window against its point, its shape (body, shadow band and
// pointer), the shadow darkened from the screen behind it, painting, dragging, and the
// icon strip's cells.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "base/win32/paint.h"
#include "resource.h"
#include "ui/win32/msg_frm.h"

namespace quelvar {

namespace {

constexpr COLORREF kOutlineColor = RGB(70, 70, 70);
constexpr int kCellSize = 16;
constexpr int kCellCount = 12;

// A top-down 24-bit DIB section of the given size; `bits` receives its pixels.
HBITMAP CreateDib24(int width, int height, std::uint8_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  *bits = static_cast<std::uint8_t*>(pixels);
  return bitmap;
}

int Stride24(int width) { return (width * 3 + 3) & ~3; }

UniqueRegion RoundRegion(const BalloonRect& rect) {
  return UniqueRegion(::CreateRoundRectRgn(rect.left, rect.top, rect.right, rect.bottom,
                                           kBalloonCornerDiameter, kBalloonCornerDiameter));
}

void Combine(UniqueRegion& into, const UniqueRegion& other, int mode) {
  ::CombineRgn(into.get(), into.get(), other.get(), mode);
}

}  // namespace

// The point is (X, Y), or the mouse cursor's position when either is 0; the window hangs
// from it by the screen quarter the point lies in.
void msgFrm::DrawBalloon(bool NoPointer, float X, float Y, std::int16_t Inty) {
  m_intensity = ClampShadowIntensity(Inty);
  m_showPointer = !NoPointer;
  GetPointerStyle(X, Y);
  CaptureShadow();
  ApplyShape(true, m_showPointer);
}

void msgFrm::GetPointerStyle(float X, float Y) {
  if (X == 0.0f || Y == 0.0f) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    X = static_cast<float>(cursor.x);
    Y = static_cast<float>(cursor.y);
  }
  m_corner = PointerCornerFor(X, Y, ::GetSystemMetrics(SM_CXSCREEN),
                              ::GetSystemMetrics(SM_CYSCREEN));
  const BalloonPoint origin =
      BalloonOrigin(m_corner, static_cast<int>(std::lround(X)), static_cast<int>(std::lround(Y)),
                    m_width, m_height);
  ::SetWindowPos(hwnd(), nullptr, origin.x, origin.y, m_width, m_height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

UniqueRegion msgFrm::n_GetMainRect() const { return RoundRegion(BalloonBody(m_width, m_height)); }

UniqueRegion msgFrm::n_GetShadowRect() const {
  UniqueRegion shadow = RoundRegion(BalloonShadowOuter(m_width, m_height));
  Combine(shadow, n_GetMainRect(), RGN_DIFF);
  return shadow;
}

UniqueRegion msgFrm::n_SetPointer() const {
  const auto corners = BalloonPointer(m_corner, m_width, m_height);
  // A polygon region leaves out its right edge: on the right-hand corners the upright edge
  // moves one pixel out so the tip's own column belongs to the pointer.
  const bool right =
      m_corner == PointerCorner::UpperRight || m_corner == PointerCorner::LowerRight;
  POINT points[3];
  for (int i = 0; i < 3; ++i) {
    const bool upright = corners[i].x == corners[0].x;
    points[i] = {corners[i].x + (right && upright ? 1 : 0), corners[i].y};
  }
  return UniqueRegion(::CreatePolygonRgn(points, 3, WINDING));
}

// The window's shape: the body, with the shadow band and the pointer when asked for. The
// region belongs to the system once set.
void msgFrm::ApplyShape(bool withShadow, bool withPointer) {
  UniqueRegion shape = n_GetMainRect();
  if (withShadow) Combine(shape, n_GetShadowRect(), RGN_OR);
  if (withPointer) Combine(shape, n_SetPointer(), RGN_OR);
  if (::SetWindowRgn(hwnd(), shape.get(), TRUE)) shape.release();
}

// Copies what lies on the screen behind the window and darkens the shadow band's pixels by
// (k + intensity) / 256, darkest next to the body. Call while the band is not covered by
// this window.
void msgFrm::CaptureShadow() {
  std::uint8_t* bits = nullptr;
  UniqueBitmap backdrop(CreateDib24(m_width, m_height, &bits));
  if (!backdrop) return;
  RECT window;
  ::GetWindowRect(hwnd(), &window);
  {
    ClientDc screen(nullptr);
    BitmapDc memory(screen.get(), backdrop.get());
    ::BitBlt(memory.get(), 0, 0, m_width, m_height, screen.get(), window.left, window.top,
             SRCCOPY);
  }
  ::GdiFlush();

  const BalloonRect body = BalloonBody(m_width, m_height);
  const BalloonRect outer = BalloonShadowOuter(m_width, m_height);
  const UniqueRegion band = n_GetShadowRect();
  const int stride = Stride24(m_width);
  for (int y = outer.top; y < outer.bottom && y < m_height; ++y) {
    std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = outer.left; x < outer.right && x < m_width; ++x) {
      if (!::PtInRegion(band.get(), x, y)) continue;
      const int distance = std::max({x - body.right, y - body.bottom, 0});
      const int k = ShadowK(distance);
      std::uint8_t* pixel = row + x * 3;
      for (int c = 0; c < 3; ++c) pixel[c] = ShadowChannel(pixel[c], k, m_intensity);
    }
  }
  m_backdrop = std::move(backdrop);
}

// After a drag: the pointer is gone, and the shadow is taken afresh at the new place.
void msgFrm::n_RefreshShadow() {
  RECT window;
  ::GetWindowRect(hwnd(), &window);
  // Let the windows the body-only shape uncovered repaint before the screen is copied.
  ::RedrawWindow(nullptr, &window, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  CaptureShadow();
  ApplyShape(true, false);
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void msgFrm::BeginDrag() {
  if (!m_draggable) return;
  m_showPointer = false;
  ApplyShape(false, false);
  ::InvalidateRect(hwnd(), nullptr, FALSE);
  ::ReleaseCapture();
  ::SendMessageA(hwnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
  n_RefreshShadow();
}

void msgFrm::OnPaint() {
  PaintDc paint(hwnd());
  HDC dc = paint.get();
  if (m_backdrop) DrawBitmap(dc, m_backdrop.get(), 0, 0, m_width, m_height);
  UniqueRegion shape = n_GetMainRect();
  if (m_showPointer) Combine(shape, n_SetPointer(), RGN_OR);
  ::FillRgn(dc, shape.get(), m_brush);
  ::FrameRgn(dc, shape.get(), SolidBrush(kOutlineColor), 1, 1);
}

// Each cell of the strip, its pure green drawn in the balloon colour.
void msgFrm::LoadImageCells() {
  UniqueBitmap strip(static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                       MAKEINTRESOURCEA(IDB_MSGBOX_ICONS),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!strip) return;
  const int stripWidth = kCellSize * kCellCount;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(Stride24(stripWidth)) * kCellSize);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = stripWidth;
  info.bmiHeader.biHeight = -kCellSize;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  {
    ClientDc screen(nullptr);
    if (::GetDIBits(screen.get(), strip.get(), 0, kCellSize, pixels.data(), &info,
                    DIB_RGB_COLORS) != kCellSize) {
      return;
    }
  }
  const COLORREF back = m_content.color;
  const std::uint8_t backBgr[3] = {GetBValue(back), GetGValue(back), GetRValue(back)};
  for (int cell = 1; cell <= kCellCount; ++cell) {
    std::uint8_t* bits = nullptr;
    UniqueBitmap image(CreateDib24(kCellSize, kCellSize, &bits));
    if (!image) continue;
    for (int y = 0; y < kCellSize; ++y) {
      const std::uint8_t* from =
          pixels.data() + static_cast<std::ptrdiff_t>(y) * Stride24(stripWidth) +
          (cell - 1) * kCellSize * 3;
      std::uint8_t* to = bits + static_cast<std::ptrdiff_t>(y) * Stride24(kCellSize);
      for (int x = 0; x < kCellSize; ++x) {
        const std::uint8_t* p = from + x * 3;
        const bool green = p[0] == 0 && p[1] == 255 && p[2] == 0;
        for (int c = 0; c < 3; ++c) to[x * 3 + c] = green ? backBgr[c] : p[c];
      }
    }
    m_cells[static_cast<std::size_t>(cell)] = std::move(image);
  }
}

void msgFrm::DrawCell(HDC dc, int cell, int x, int y) const {
  if (cell < 1 || cell > kCellCount || !m_cells[static_cast<std::size_t>(cell)]) return;
  DrawBitmap(dc, m_cells[static_cast<std::size_t>(cell)].get(), x, y, kCellSize, kCellSize);
}

}  // namespace quelvar
