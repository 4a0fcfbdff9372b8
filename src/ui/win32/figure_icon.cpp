// The figure icon; see figure_icon.h.
#include "ui/win32/figure_icon.h"

#include <algorithm>

#include "base/win32/paint.h"

namespace quelvar {

namespace {

constexpr COLORREF kBackground = RGB(0x1D, 0x2B, 0x3A);
constexpr COLORREF kFigure = RGB(0xFF, 0xFF, 0xFF);

// A pixel font three dots wide and five high: at 16 by 16 pixels no outline font draws three
// or four characters this clearly. Each row is three bits, the leftmost the highest.
struct Glyph {
  char character;
  int width;
  unsigned char rows[5];
};
constexpr Glyph kGlyphs[] = {
    {'0', 3, {7, 5, 5, 5, 7}}, {'1', 3, {2, 6, 2, 2, 7}}, {'2', 3, {7, 1, 7, 4, 7}},
    {'3', 3, {7, 1, 7, 1, 7}}, {'4', 3, {5, 5, 7, 1, 1}}, {'5', 3, {7, 4, 7, 1, 7}},
    {'6', 3, {7, 4, 7, 5, 7}}, {'7', 3, {7, 1, 1, 1, 1}}, {'8', 3, {7, 5, 7, 5, 7}},
    {'9', 3, {7, 5, 7, 1, 7}}, {'%', 3, {5, 1, 2, 4, 5}}, {'.', 1, {0, 0, 0, 0, 1}},
    {'G', 3, {7, 4, 5, 5, 7}}, {'T', 3, {7, 2, 2, 2, 2}}, {'P', 3, {7, 5, 7, 4, 4}},
    {'E', 3, {7, 4, 7, 4, 7}}, {'Z', 3, {7, 1, 2, 4, 7}}, {'Y', 3, {5, 5, 2, 2, 2}},
};
constexpr int kGlyphHeight = 5;
constexpr Glyph kBlank{' ', 3, {0, 0, 0, 0, 0}};

const Glyph& GlyphOf(char character) {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.character == character) return glyph;
  }
  return kBlank;
}

// The figure's width in dots, one dot between characters.
int DotsWide(const std::string& text) {
  int dots = 0;
  for (char character : text) dots += GlyphOf(character).width + 1;
  return std::max(0, dots - 1);
}

// Draws the figure centred, each dot a block as large as the icon allows (twice as high as
// wide at most, so the characters stay their shape).
void DrawFigure(HDC dc, int size, const std::string& text) {
  const int room = size - 2;
  const int dots = DotsWide(text);
  if (dots == 0 || room <= 0) return;
  const int dotWidth = std::max(1, room / dots);
  const int dotHeight = std::max(1, std::min(room / kGlyphHeight, 2 * dotWidth));
  int x = (size - dots * dotWidth) / 2;
  const int y = (size - kGlyphHeight * dotHeight) / 2;
  const HBRUSH ink = SolidBrush(kFigure);
  for (char character : text) {
    const Glyph& glyph = GlyphOf(character);
    for (int row = 0; row < kGlyphHeight; ++row) {
      for (int column = 0; column < glyph.width; ++column) {
        if (!(glyph.rows[row] & (1 << (glyph.width - 1 - column)))) continue;
        const RECT dot{x + column * dotWidth, y + row * dotHeight,
                       x + (column + 1) * dotWidth, y + (row + 1) * dotHeight};
        ::FillRect(dc, &dot, ink);
      }
    }
    x += (glyph.width + 1) * dotWidth;
  }
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
    DrawFigure(dc.get(), size, figure);
  }
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask.get();
  info.hbmColor = color.get();
  // The icon keeps copies of both bitmaps; ours go with this call.
  return UniqueIcon(::CreateIconIndirect(&info));
}

}  // namespace quelvar
