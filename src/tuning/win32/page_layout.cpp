// Page layout of the wizard windows; see page_layout.h.
#include "tuning/win32/page_layout.h"

#include <algorithm>
#include <string>

#include "base/win32/unique_handle.h"
#include "base/win32/window.h"

namespace quelvar {

namespace {

std::string ClassOf(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof(name));
  return name;
}

bool IsClass(HWND window, const char* name) {
  return lstrcmpiA(ClassOf(window).c_str(), name) == 0;
}

std::string TextOf(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

HFONT FontOf(HWND window) {
  const auto font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
  return font ? font : UiFont();
}

int LineHeight(HWND window) {
  ClientDc dc(window);
  SelectGuard select(dc.get(), FontOf(window));
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc.get(), &metrics);
  return metrics.tmHeight;
}

// The caption's extent; wrapped at `width` when it is above 0.
SIZE TextExtent(HWND window, int width) {
  const std::string text = TextOf(window);
  ClientDc dc(window);
  SelectGuard select(dc.get(), FontOf(window));
  const bool noPrefix =
      IsClass(window, "Static") && (::GetWindowLongPtrA(window, GWL_STYLE) & SS_NOPREFIX) != 0;
  RECT rect{0, 0, width > 0 ? width : 0, 0};
  UINT flags = DT_CALCRECT | DT_EXPANDTABS | (noPrefix ? DT_NOPREFIX : 0);
  flags |= width > 0 ? DT_WORDBREAK : DT_SINGLELINE;
  ::DrawTextA(dc.get(), text.empty() ? " " : text.c_str(), -1, &rect, flags);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

bool IsCheckOrOption(HWND window) {
  const auto style = ::GetWindowLongPtrA(window, GWL_STYLE) & 0x0F;
  return style == BS_CHECKBOX || style == BS_AUTOCHECKBOX || style == BS_RADIOBUTTON ||
         style == BS_AUTORADIOBUTTON || style == BS_3STATE || style == BS_AUTO3STATE;
}

int CellWidth(HWND window, int width) {
  if (width > 0) return Window::Scale(width);
  if (!window) return 0;
  const int text = TextExtent(window, 0).cx;
  if (IsClass(window, "Button")) {
    return IsCheckOrOption(window) ? text + Window::Scale(22)
                                   : std::max(text + Window::Scale(24), Window::Scale(75));
  }
  return text + 1;
}

int CellHeight(HWND window, int width) {
  if (!window) return 0;
  if (IsClass(window, "Edit")) return EditHeight(window);
  if (IsClass(window, "ComboBox")) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
  }
  if (IsClass(window, "Button")) {
    return IsCheckOrOption(window)
               ? std::max(LineHeight(window), Window::Scale(13)) + Window::Scale(4)
               : LineHeight(window) + Window::Scale(10);
  }
  if (IsClass(window, "Static")) return TextExtent(window, width).cy;
  return 0;  // up-down controls and the like take the row's height
}

// Lines the edit box needs at its present width.
int ExplanationLines(HWND box) {
  return static_cast<int>(::SendMessageA(box, EM_GETLINECOUNT, 0, 0));
}

void ShowVerticalBar(HWND box, bool show) {
  ::ShowScrollBar(box, SB_VERT, show);
  LONG_PTR style = ::GetWindowLongPtrA(box, GWL_STYLE);
  style = show ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
  ::SetWindowLongPtrA(box, GWL_STYLE, style);
}

}  // namespace

int EditHeight(HWND edit) { return LineHeight(edit) + Window::Scale(8); }

struct PageLayout::PlacedRow {
  struct Cell {
    HWND window;
    int x, width, height;
  };
  std::vector<Cell> cells;
  int height = 0;
};

PageLayout& PageLayout::Text(HWND label, int gapBefore) {
  m_items.push_back({Kind::Text, label, {}, gapBefore, 0});
  return *this;
}

PageLayout& PageLayout::Explanation(HWND box, int gapBefore) {
  m_items.push_back({Kind::Explanation, box, {}, gapBefore, 0});
  return *this;
}

PageLayout& PageLayout::Row(std::vector<LayoutCell> cells, int gapBefore, int cellGap) {
  m_items.push_back({Kind::Row, nullptr, std::move(cells), gapBefore, cellGap});
  return *this;
}

PageLayout::PlacedRow PageLayout::PlaceRow(const Item& item, int left, int right) const {
  PlacedRow row;
  const int gap = Window::Scale(item.cellGap);
  int fixed = 0;
  int rest = 0;
  for (const LayoutCell& cell : item.cells) {
    if (cell.width == kRestOfRow) {
      ++rest;
    } else {
      fixed += CellWidth(cell.window, cell.width);
    }
  }
  fixed += gap * static_cast<int>(item.cells.empty() ? 0 : item.cells.size() - 1);
  const int restWidth = rest > 0 ? std::max(0, (right - left - fixed) / rest) : 0;
  int x = left;
  for (const LayoutCell& cell : item.cells) {
    const int width = cell.width == kRestOfRow ? restWidth : CellWidth(cell.window, cell.width);
    const int height = CellHeight(cell.window, width);
    row.cells.push_back({cell.window, x, width, height});
    row.height = std::max(row.height, height);
    x += width + gap;
  }
  return row;
}

PageLayout& PageLayout::Fill(std::vector<HWND> windows, int minHeight, int gapBefore) {
  std::vector<LayoutCell> cells;
  for (HWND window : windows) cells.push_back({window, kRestOfRow});
  m_items.push_back({Kind::Fill, nullptr, std::move(cells), gapBefore, minHeight});
  return *this;
}

void PageLayout::Apply(const RECT& area) const {
  const int left = area.left;
  const int width = area.right - area.left;

  // Every item's own height; explanations in whole lines, measured by the box's own wrapping.
  std::vector<int> heights(m_items.size());
  std::vector<int> lines(m_items.size());
  std::vector<PlacedRow> rows(m_items.size());
  int total = 0;
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    const Item& item = m_items[i];
    total += Window::Scale(item.gapBefore);
    switch (item.kind) {
      case Kind::Text: heights[i] = TextExtent(item.window, width).cy; break;
      case Kind::Row:
        rows[i] = PlaceRow(item, left, area.right);
        heights[i] = rows[i].height;
        break;
      case Kind::Explanation:
        // Measured at the width it gets without a scroll bar (which the box may have shown).
        ::MoveWindow(item.window, left, area.top, width, area.bottom - area.top, FALSE);
        ShowVerticalBar(item.window, false);
        lines[i] = ExplanationLines(item.window);
        heights[i] = lines[i] * LineHeight(item.window) + Window::Scale(2);
        break;
      case Kind::Fill: heights[i] = Window::Scale(item.cellGap); break;
    }
    total += heights[i];
  }

  // Short of room: the longest explanations give up a line at a time (keeping two) and scroll.
  std::vector<bool> scroll(m_items.size(), false);
  while (total > area.bottom - area.top) {
    std::size_t longest = m_items.size();
    for (std::size_t i = 0; i < m_items.size(); ++i) {
      if (m_items[i].kind == Kind::Explanation && lines[i] > 2 &&
          (longest == m_items.size() || lines[i] > lines[longest])) {
        longest = i;
      }
    }
    if (longest == m_items.size()) break;
    const int line = LineHeight(m_items[longest].window);
    --lines[longest];
    heights[longest] -= line;
    total -= line;
    scroll[longest] = true;
  }
  // Room left over goes to the fills.
  for (std::size_t i = 0; i < m_items.size() && total < area.bottom - area.top; ++i) {
    if (m_items[i].kind != Kind::Fill) continue;
    heights[i] += area.bottom - area.top - total;
    total = area.bottom - area.top;
  }

  int y = area.top;
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    const Item& item = m_items[i];
    y += Window::Scale(item.gapBefore);
    switch (item.kind) {
      case Kind::Text: ::MoveWindow(item.window, left, y, width, heights[i], TRUE); break;
      case Kind::Row:
        for (const PlacedRow::Cell& cell : rows[i].cells) {
          if (!cell.window) continue;
          int height = cell.height > 0 ? cell.height : rows[i].height;
          int top = y + (rows[i].height - height) / 2;
          // A drop-down list reaches below its box.
          if (IsClass(cell.window, "ComboBox")) height += Window::Scale(160);
          ::MoveWindow(cell.window, cell.x, top, cell.width, height, TRUE);
        }
        break;
      case Kind::Explanation:
        ::MoveWindow(item.window, left, y, width, heights[i], TRUE);
        ShowVerticalBar(item.window, scroll[i]);
        break;
      case Kind::Fill:
        for (const LayoutCell& cell : item.cells) {
          ::MoveWindow(cell.window, left, y, width, heights[i], TRUE);
        }
        break;
    }
    y += heights[i];
  }
}

}  // namespace quelvar
