// Lays out the controls of one wizard page from top to bottom inside a rectangle: labels wrap
// to the width they get, rows of controls stand side by side, and explanations (read-only
// multi-line edit boxes) take the height their text needs, or scroll when the page is short of
// room. Sizes are given in 96-dpi pixels and scaled to the screen.
#pragma once
#include <windows.h>

#include <vector>

namespace quelvar {

// Widths of a row's cells besides a fixed width in 96-dpi pixels.
inline constexpr int kTextWidth = 0;   // the control's caption, as wide as it needs
inline constexpr int kRestOfRow = -1;  // what the row leaves over (a label there wraps)

struct LayoutCell {
  HWND window = nullptr;  // null: empty space
  int width = kTextWidth;
};

class PageLayout {
 public:
  // A label across the whole width, wrapped.
  PageLayout& Text(HWND label, int gapBefore = 0);
  // An explanation across the whole width.
  PageLayout& Explanation(HWND box, int gapBefore = 0);
  // Controls side by side, each centred on the row's height.
  PageLayout& Row(std::vector<LayoutCell> cells, int gapBefore = 0, int cellGap = 6);
  // Controls stacked in one place across the whole width, taking the height the page leaves
  // over: at least `minHeight` (explanations scroll to make that room).
  PageLayout& Fill(std::vector<HWND> windows, int minHeight, int gapBefore = 0);

  // Moves every control into `area` (client coordinates of the controls' parent).
  void Apply(const RECT& area) const;

 private:
  enum class Kind { Text, Explanation, Row, Fill };
  struct Item {
    Kind kind;
    HWND window;
    std::vector<LayoutCell> cells;  // a fill's windows: cells without widths
    int gapBefore;
    int cellGap;  // a fill's least height
  };
  struct PlacedRow;

  PlacedRow PlaceRow(const Item& item, int left, int right) const;

  std::vector<Item> m_items;
};

// The height of a single-line edit box (and so of most rows) in the window's font.
int EditHeight(HWND edit);

}  // namespace quelvar
