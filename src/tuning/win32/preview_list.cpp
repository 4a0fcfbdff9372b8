// The preview list; see preview_list.h.
#include "tuning/win32/preview_list.h"

#include <commctrl.h>

#include <string>

namespace quelvar {

namespace {

// Shares of the list's width, in hundredths: key, value, now, after.
constexpr int kColumnShares[] = {36, 28, 15, 21};

}  // namespace

bool PreviewList::Create(HWND parent, int id, const char* afterCaption) {
  m_list = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT |
                                 LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                             0, 0, 10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleA(nullptr), nullptr);
  if (m_list == nullptr) return false;
  ::SendMessageA(m_list, WM_SETFONT, ::SendMessageA(parent, WM_GETFONT, 0, 0), FALSE);
  ListView_SetExtendedListViewStyle(m_list, LVS_EX_FULLROWSELECT);
  const char* captions[] = {"Key", "Value", "Now", afterCaption};
  for (int i = 0; i < 4; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(captions[i]);
    column.cx = 60;
    column.iSubItem = i;
    ::SendMessageA(m_list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(&column));
  }
  return true;
}

void PreviewList::Show(const std::vector<PreviewRow>& rows) {
  ::SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
  ::SendMessageA(m_list, LVM_DELETEALLITEMS, 0, 0);
  int index = 0;
  for (const PreviewRow& row : rows) {
    std::string key = ShortKeyName(row.hive, row.key);
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = key.data();
    item.lParam = row.same ? 1 : 0;
    const int at = static_cast<int>(
        ::SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (at < 0) continue;
    std::string cells[] = {PreviewValueName(row.name), row.now, row.after};
    for (int column = 1; column <= 3; ++column) {
      LVITEMA cell{};
      cell.iSubItem = column;
      cell.pszText = cells[column - 1].data();
      ::SendMessageA(m_list, LVM_SETITEMTEXTA, static_cast<WPARAM>(at),
                     reinterpret_cast<LPARAM>(&cell));
    }
    ++index;
  }
  ::SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(m_list, nullptr, TRUE);
}

void PreviewList::FitColumns() {
  RECT client{};
  ::GetClientRect(m_list, &client);
  const int width = client.right - ::GetSystemMetrics(SM_CXVSCROLL);
  int used = 0;
  for (int i = 0; i < 4; ++i) {
    const int cx = i == 3 ? width - used : width * kColumnShares[i] / 100;
    ::SendMessageA(m_list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), cx);
    used += cx;
  }
}

LRESULT PreviewList::OnCustomDraw(const NMHDR& header) const {
  const auto& draw = reinterpret_cast<const NMLVCUSTOMDRAW&>(header);
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      if (draw.nmcd.lItemlParam != 0) {
        const_cast<NMLVCUSTOMDRAW&>(draw).clrText = ::GetSysColor(COLOR_GRAYTEXT);
      }
      return CDRF_DODEFAULT;
    default: return CDRF_DODEFAULT;
  }
}

}  // namespace quelvar
