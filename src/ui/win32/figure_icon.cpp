// The figure icon; see figure_icon.h.
#include "ui/win32/figure_icon.h"

#include <algorithm>

#include "base/win32/paint.h"

namespace quelvar {

namespace {

constexpr COLORREF kBackground = RGB(0x1D, 0x2B, 0x3A);
constexpr COLORREF kFigure = RGB(0xFF, 0xFF, 0xFF);

// A bold face whose digits fill most of the icon's height; `width` 0 is the face's own
// width, a smaller one condenses it.
UniqueFont FigureFont(int size, int width) {
  return UniqueFont(::CreateFontA(-(size * 7 / 8), width, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                  ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  NONANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, "Tahoma"));
}

SIZE TextSize(HDC dc, HFONT font, const std::string& text) {
  SelectGuard select(dc, font);
  SIZE extent{};
  ::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &extent);
  return extent;
}

// The largest font at which the figure fits the icon's width: the face as it is when it
// fits, else condensed step by step.
UniqueFont FittedFont(HDC dc, int size, const std::string& text) {
  UniqueFont font = FigureFont(size, 0);
  if (!font) return font;
  const int room = size;
  SIZE extent = TextSize(dc, font.get(), text);
  if (extent.cx <= room) return font;
  TEXTMETRICA metrics{};
  {
    SelectGuard select(dc, font.get());
    ::GetTextMetricsA(dc, &metrics);
  }
  for (int width = std::max<int>(1, metrics.tmAveCharWidth * room / extent.cx); width >= 1;
       --width) {
    UniqueFont narrower = FigureFont(size, width);
    if (!narrower) break;
    font = std::move(narrower);
    extent = TextSize(dc, font.get(), text);
    if (extent.cx <= room) break;
  }
  return font;
}

}  // namespace

UniqueIcon MakeFigureIcon(const std::string& figure, int size) {
  if (size <= 0) return UniqueIcon();
  ClientDc screen(nullptr);
  if (!screen.get()) return UniqueIcon();
  UniqueBitmap color(::CreateCompatibleBitmap(screen.get(), size, size));
  UniqueBitmap mask(::CreateBitmap(size, size, 1, 1, nullptr));
  if (!color || !mask) return UniqueIcon();
  const RECT whole{0, 0, size, size};
  const int corner = std::max(2, size / 4);
  {
    // The mask: transparent (white) outside a rounded square.
    BitmapDc dc(screen.get(), mask.get());
    if (!dc) return UniqueIcon();
    ::FillRect(dc.get(), &whole, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    SelectGuard brush(dc.get(), ::GetStockObject(BLACK_BRUSH));
    SelectGuard pen(dc.get(), ::GetStockObject(NULL_PEN));
    ::RoundRect(dc.get(), 0, 0, size + 1, size + 1, corner, corner);
  }
  {
    // The picture: black where the mask is transparent, the figure on the square elsewhere.
    BitmapDc dc(screen.get(), color.get());
    if (!dc) return UniqueIcon();
    ::FillRect(dc.get(), &whole, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    SelectGuard brush(dc.get(), SolidBrush(kBackground));
    SelectGuard pen(dc.get(), ::GetStockObject(NULL_PEN));
    ::RoundRect(dc.get(), 0, 0, size + 1, size + 1, corner, corner);
    UniqueFont font = FittedFont(dc.get(), size, figure);
    if (!font) return UniqueIcon();
    SelectGuard selectFont(dc.get(), font.get());
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc.get(), &metrics);
    SIZE extent{};
    ::GetTextExtentPoint32A(dc.get(), figure.data(), static_cast<int>(figure.size()), &extent);
    // Digits span from the internal leading down to the baseline: centre that band.
    const int digits = metrics.tmAscent - metrics.tmInternalLeading;
    const int x = (size - extent.cx + 1) / 2;
    const int y = (size - digits + 1) / 2 - metrics.tmInternalLeading;
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), kFigure);
    ::TextOutA(dc.get(), x, y, figure.data(), static_cast<int>(figure.size()));
  }
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask.get();
  info.hbmColor = color.get();
  // The icon keeps copies of both bitmaps; ours go with this call.
  return UniqueIcon(::CreateIconIndirect(&info));
}

}  // namespace quelvar
