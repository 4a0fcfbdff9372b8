// How the main window's face looks: the title bar, the navigation column and the content
// area (home, about, or a child window's heading), and its owner-drawn buttons. The face's
// content, buttons and events are in face.cpp.
#include "main/win32/face.h"
#include "quelvar_version.h"

#include "base/win32/paint.h"

namespace quelvar {

namespace {

constexpr COLORREF kNav = RGB(0x1D, 0x2B, 0x3A);
constexpr COLORREF kNavHot = RGB(0x27, 0x3A, 0x4F);
constexpr COLORREF kNavPressed = RGB(0x16, 0x22, 0x2E);
constexpr COLORREF kNavSelected = RGB(0x2C, 0x44, 0x62);
constexpr COLORREF kNavText = RGB(0xD5, 0xDE, 0xE8);
constexpr COLORREF kNavMuted = RGB(0x7F, 0x93, 0xA8);
constexpr COLORREF kAccent = RGB(0x3B, 0x9E, 0xFF);
constexpr COLORREF kPage = RGB(0xF3, 0xF5, 0xF8);
constexpr COLORREF kCard = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kCardBorder = RGB(0xDD, 0xE3, 0xEA);
constexpr COLORREF kInk = RGB(0x1F, 0x29, 0x33);
constexpr COLORREF kInkMuted = RGB(0x52, 0x60, 0x6D);
constexpr COLORREF kLink = RGB(0x1F, 0x6F, 0xB2);
constexpr COLORREF kClose = RGB(0xC4, 0x2B, 0x1C);

// The face's fixed regions (96-dpi pixels, face coordinates).
constexpr int kNavRight = 215;
constexpr int kTitleBottom = 86;

void Fill(HDC dc, const RECT& rect, COLORREF color) { FillSolid(dc, rect, color); }

void Outline(HDC dc, const RECT& rect, COLORREF color, int round) {
  UniquePen pen(::CreatePen(PS_SOLID, 1, color));
  SelectGuard selectPen(dc, pen.get());
  SelectGuard selectBrush(dc, ::GetStockObject(NULL_BRUSH));
  ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, round, round);
}

void Text(HDC dc, const std::string& text, RECT rect, HFONT font, COLORREF color, UINT format) {
  SelectGuard select(dc, font);
  ::SetTextColor(dc, color);
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_NOPREFIX);
}

std::string Upper(std::string text) {
  if (!text.empty()) ::CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

}  // namespace

void Face::OnPaint() {
  PaintDc paint(hwnd());
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  MemoryDc buffer(paint.get(), client);
  PaintContent(buffer.get(), client);
}

void Face::PaintContent(HDC dc, const RECT& client) {
  Fill(dc, client, kPage);
  Fill(dc, RECT{0, 0, client.right, Scale(kTitleBottom)}, kNav);
  Fill(dc, RECT{0, 0, Scale(kNavRight), client.bottom}, kNav);

  // Title bar: the program's icon and name.
  const RECT titleBar = Scaled(m_content.titleBar);
  const int iconY = titleBar.top + (titleBar.bottom - titleBar.top - Scale(24)) / 2;
  if (m_logo) {
    ::DrawIconEx(dc, Scale(16), iconY, m_logo.get(), Scale(24), Scale(24), 0, nullptr, DI_NORMAL);
  }
  Text(dc, m_content.title, RECT{Scale(48), titleBar.top, Scale(kNavRight), titleBar.bottom},
       m_fonts.title.get(), RGB(0xFF, 0xFF, 0xFF), DT_SINGLELINE | DT_VCENTER);

  // Group captions above each group's first button.
  for (std::size_t g = 0; g < m_content.groups.size(); ++g) {
    for (const FaceButton& button : m_content.buttons) {
      if (button.group != static_cast<int>(g)) continue;
      const RECT rect = Scaled(button.rect);
      Text(dc, Upper(m_content.groups[g].caption),
           RECT{rect.left + Scale(12), rect.top - Scale(20), rect.right, rect.top - Scale(2)},
           m_fonts.small.get(), kNavMuted, DT_SINGLELINE | DT_BOTTOM);
      break;
    }
  }
  Text(dc, "Version " QUELVAR_VERSION,
       RECT{Scale(24), client.bottom - Scale(34), Scale(kNavRight), client.bottom - Scale(14)},
       m_fonts.normal.get(), kNavMuted, DT_SINGLELINE | DT_VCENTER);

  if (m_page >= 0) PaintPage(dc);
  else if (m_view == FaceView::About) PaintAbout(dc);
  else PaintHome(dc);
}

void Face::PaintCard(HDC dc, const RECT& card) const {
  SelectGuard selectBrush(dc, SolidBrush(kCard));
  UniquePen pen(::CreatePen(PS_SOLID, 1, kCardBorder));
  SelectGuard selectPen(dc, pen.get());
  ::RoundRect(dc, card.left, card.top, card.right, card.bottom, Scale(8), Scale(8));
}

void Face::PaintHome(HDC dc) {
  const int left = Scale(240);
  const int right = Scale(692);
  Text(dc, m_content.homeHeading, RECT{left, Scale(100), right, Scale(130)},
       m_fonts.heading.get(), kInk, DT_SINGLELINE | DT_VCENTER);
  Text(dc, m_content.homeText, RECT{left, Scale(136), right, Scale(180)}, m_fonts.normal.get(),
       kInkMuted, DT_WORDBREAK);

  const int cardWidth = Scale(220);
  const int cardHeight = Scale(134);
  const int gap = Scale(12);
  for (std::size_t g = 0; g < m_content.groups.size() && g < 4; ++g) {
    const int column = static_cast<int>(g % 2);
    const int row = static_cast<int>(g / 2);
    RECT card{left + column * (cardWidth + gap), Scale(188) + row * (cardHeight + gap), 0, 0};
    card.right = card.left + cardWidth;
    card.bottom = card.top + cardHeight;
    PaintCard(dc, card);
    Fill(dc, RECT{card.left + Scale(14), card.top + Scale(14), card.left + Scale(18),
                  card.top + Scale(30)},
         kAccent);
    const int inner = card.left + Scale(26);
    Text(dc, m_content.groups[g].caption,
         RECT{inner, card.top + Scale(12), card.right - Scale(12), card.top + Scale(32)},
         m_fonts.bold.get(), kInk, DT_SINGLELINE | DT_VCENTER);
    std::string items;
    for (const FaceButton& button : m_content.buttons) {
      if (button.group != static_cast<int>(g)) continue;
      if (!items.empty()) items += ", ";
      items += StripMnemonic(button.caption);
    }
    // The group's commands sit at the card's foot, on as many lines as they need.
    RECT itemsRect{card.left + Scale(14), 0, card.right - Scale(12), 0};
    {
      SelectGuard font(dc, m_fonts.small.get());
      ::DrawTextA(dc, items.c_str(), static_cast<int>(items.size()), &itemsRect,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
    const int itemsHeight = itemsRect.bottom - itemsRect.top;
    itemsRect = RECT{card.left + Scale(14), card.bottom - Scale(8) - itemsHeight,
                     card.right - Scale(12), card.bottom - Scale(8)};
    Text(dc, m_content.groups[g].description,
         RECT{card.left + Scale(14), card.top + Scale(38), card.right - Scale(12),
              itemsRect.top - Scale(4)},
         m_fonts.normal.get(), kInkMuted, DT_WORDBREAK | DT_END_ELLIPSIS);
    Text(dc, items, itemsRect, m_fonts.small.get(), kLink, DT_WORDBREAK);
  }
  Text(dc,
       "Hover over a button for a short description; Alt and the underlined letter works too.",
       RECT{left, Scale(478), right, Scale(498)}, m_fonts.normal.get(), kInkMuted,
       DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void Face::PaintAbout(HDC dc) {
  const int left = Scale(240);
  const int right = Scale(692);
  RECT card{left, Scale(100), right, Scale(300)};
  PaintCard(dc, card);
  if (m_bigLogo) {
    ::DrawIconEx(dc, left + Scale(24), Scale(124), m_bigLogo.get(), Scale(48), Scale(48), 0,
                 nullptr, DI_NORMAL);
  }
  const int text = left + Scale(88);
  Text(dc, m_content.title, RECT{text, Scale(118), right, Scale(156)}, m_fonts.large.get(), kInk,
       DT_SINGLELINE | DT_VCENTER);
  Text(dc, m_content.tagline, RECT{text, Scale(158), right, Scale(178)}, m_fonts.normal.get(),
       kInkMuted, DT_SINGLELINE | DT_VCENTER);
  Text(dc, "Version " QUELVAR_VERSION, RECT{text, Scale(196), right, Scale(216)},
       m_fonts.bold.get(), kInk, DT_SINGLELINE | DT_VCENTER);
  Text(dc, m_content.credits, RECT{text, Scale(220), right - Scale(16), Scale(284)},
       m_fonts.normal.get(), kInkMuted, DT_WORDBREAK);
}

void Face::PaintPage(HDC dc) {
  const FaceButton& button = m_content.buttons[static_cast<std::size_t>(m_page)];
  const int left = m_frameRect.left;
  Text(dc, StripMnemonic(button.caption), RECT{left, Scale(96), Scale(700), Scale(124)},
       m_fonts.heading.get(), kInk, DT_SINGLELINE | DT_VCENTER);
  Text(dc, button.toolTip, RECT{left, Scale(126), Scale(700), Scale(146)}, m_fonts.normal.get(),
       kInkMuted, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  RECT border = m_frameRect;
  ::InflateRect(&border, 1, 1);
  Outline(dc, border, kCardBorder, 0);
  if (button.group >= 0) {
    const FaceGroup& group = m_content.groups[static_cast<std::size_t>(button.group)];
    const int side = m_frameRect.right + Scale(14);
    Text(dc, Upper(group.caption), RECT{side, m_frameRect.top, Scale(702), m_frameRect.top + Scale(18)},
         m_fonts.small.get(), kInkMuted, DT_SINGLELINE | DT_VCENTER);
    Text(dc, group.description,
         RECT{side, m_frameRect.top + Scale(22), Scale(702), m_frameRect.bottom},
         m_fonts.normal.get(), kInkMuted, DT_WORDBREAK);
  }
}

void Face::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const std::size_t index = static_cast<std::size_t>(static_cast<int>(item.CtlID) - m_firstId);
  if (index >= m_content.buttons.size()) return;
  const FaceButton& button = m_content.buttons[index];
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  const bool hot = m_hot == static_cast<int>(index);
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool focus = (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;
  const UINT prefix = (item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;

  COLORREF back = kNav;
  if (pressed) back = kNavPressed;
  else if (hot) back = (button.titleBar && button.command == "IDC_FS_close") ? kClose : kNavHot;
  const bool selected = (!button.titleBar && m_page == static_cast<int>(index)) ||
                        (!button.titleBar && button.group < 0 && m_page < 0 &&
                         button.view != FaceView::None && button.view == m_view);
  if (selected && button.group >= 0) back = kNavSelected;
  Fill(dc, rect, back);

  if (button.titleBar) {
    // Window buttons draw a glyph; their caption is the accessible name.
    const int cx = (rect.left + rect.right) / 2;
    const int cy = (rect.top + rect.bottom) / 2;
    const int r = Scale(5);
    UniquePen pen(::CreatePen(PS_SOLID, Scale(1), kNavText));
    SelectGuard selectPen(dc, pen.get());
    SelectGuard selectBrush(dc, ::GetStockObject(NULL_BRUSH));
    if (button.command == "IDC_FS_close") {
      ::MoveToEx(dc, cx - r, cy - r, nullptr);
      ::LineTo(dc, cx + r + 1, cy + r + 1);
      ::MoveToEx(dc, cx + r, cy - r, nullptr);
      ::LineTo(dc, cx - r - 1, cy + r + 1);
    } else if (button.command == "IDC_FS_minimize") {
      ::MoveToEx(dc, cx - r, cy + r / 2, nullptr);
      ::LineTo(dc, cx + r + 1, cy + r / 2);
    } else if (button.command == "IDC_FS_tray") {
      ::MoveToEx(dc, cx, cy - r, nullptr);
      ::LineTo(dc, cx, cy + r / 2);
      ::MoveToEx(dc, cx - r / 2 - 1, cy - 1, nullptr);
      ::LineTo(dc, cx, cy + r / 2);
      ::LineTo(dc, cx + r / 2 + 2, cy - 2);
      ::MoveToEx(dc, cx - r, cy + r, nullptr);
      ::LineTo(dc, cx + r + 1, cy + r);
    } else {
      // Power symbol: restart Windows.
      const int p = r + 1;
      ::Arc(dc, cx - p, cy - p + 1, cx + p + 1, cy + p + 2, cx - p / 2, cy - p, cx + p / 2, cy - p);
      ::MoveToEx(dc, cx, cy - p - 1, nullptr);
      ::LineTo(dc, cx, cy + 1);
    }
  } else if (button.group >= 0) {
    if (selected) Fill(dc, RECT{rect.left, rect.top, rect.left + Scale(3), rect.bottom}, kAccent);
    RECT textRect{rect.left + Scale(14), rect.top, rect.right - Scale(8), rect.bottom};
    SelectGuard select(dc, selected ? m_fonts.bold.get() : m_fonts.normal.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, selected || hot ? RGB(0xFF, 0xFF, 0xFF) : kNavText);
    ::DrawTextA(dc, button.caption.c_str(), -1, &textRect,
                DT_SINGLELINE | DT_VCENTER | DT_LEFT | prefix);
  } else {
    if (selected) {
      Fill(dc, RECT{rect.left + Scale(10), rect.bottom - Scale(3), rect.right - Scale(10),
                    rect.bottom - Scale(1)},
           kAccent);
    }
    SelectGuard select(dc, m_fonts.normal.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, selected || hot ? RGB(0xFF, 0xFF, 0xFF) : kNavText);
    ::DrawTextA(dc, button.caption.c_str(), -1, &rect,
                DT_SINGLELINE | DT_VCENTER | DT_CENTER | prefix);
  }
  if (focus) {
    RECT ring = rect;
    ::InflateRect(&ring, -Scale(2), -Scale(2));
    Outline(dc, ring, kAccent, Scale(4));
  }
}

}  // namespace quelvar
