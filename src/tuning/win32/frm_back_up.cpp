// Backup manager window; see frm_back_up.h.
#include "tuning/win32/frm_back_up.h"

#include <commctrl.h>

#include <algorithm>

#include "base/file_system.h"
#include "base/message_box.h"
#include "base/os_family.h"
#include "base/system_features.h"
#include "base/win32/controls.h"
#include "base/win32/failure_net.h"
#include "base/win32/optional_api.h"
#include "resource.h"
#include "tuning/backup_layout.h"
#include "tuning/change_preview.h"
#include "tuning/reg_export.h"
#include "tuning/win32/reg_export_dialog.h"
#include "tuning/win32/m_list_view.h"

namespace quelvar {

namespace {

constexpr const char* kColumnCaptions[3] = {"File Name", "Creating Date", "Creating Time"};
constexpr const char* kNoPreview = "Select a backup file to see what restoring it would write.";

// The sort in progress: the rows and how to order them.
struct SortContext {
  const std::vector<frmBackUp::Row>* rows;
  int column;
  int orderFlag;
};

int CompareRows(const frmBackUp::Row& first, const frmBackUp::Row& second, int column, int orderFlag) {
  if (column == 0) {
    const int order = ::lstrcmpiA(first.name.c_str(), second.name.c_str());
    const int result = order < 0 ? -1 : (order > 0 ? 1 : 0);
    return orderFlag == 1 ? -result : result;
  }
  return column == 1 ? CompareSortKeys(first.dateKey, second.dateKey, orderFlag)
                     : CompareSortKeys(first.timeKey, second.timeKey, orderFlag);
}

const frmBackUp::Row* RowOf(const SortContext& context, LPARAM data) {
  const auto index = static_cast<std::size_t>(data);
  return index < context.rows->size() ? &(*context.rows)[index] : nullptr;
}

int Ordered(const SortContext& context, const frmBackUp::Row* first, const frmBackUp::Row* second) {
  if (first == nullptr || second == nullptr) return 0;
  return CompareRows(*first, *second, context.column, context.orderFlag);
}

// LVM_SORTITEMS: the two items' data, which index the rows. Every column on every version of
// the common controls sorts this way. Sorting by position (LVM_SORTITEMSEX, 5.80) is not used:
// the list moves its items while it sorts, so a position read back during the sort can name
// another row (Wine's list then leaves a partly sorted order).
int CALLBACK CompareByData(LPARAM data1, LPARAM data2, LPARAM sort) {
  const auto& context = *reinterpret_cast<const SortContext*>(sort);
  return Ordered(context, RowOf(context, data1), RowOf(context, data2));
}

}  // namespace

void frmBackUp::CreateControls() {
  m_frame = AddControl("BUTTON", "Backup", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                       IDC_BACKUP_FRAME);
  m_list = AddControl(WC_LISTVIEWA, "",
                      LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP | WS_GROUP |
                          WS_CLIPSIBLINGS,
                      0, 0, 10, 10, IDC_BACKUP_LIST, WS_EX_CLIENTEDGE);
  // Full-row selection needs common controls 4.70; the original ones select the name only.
  if (CommonControlsFeaturesFor(optional_api::CommonControlsVersion()).extendedListStyles) {
    ListView_SetExtendedListViewStyle(m_list, LVS_EX_FULLROWSELECT);
  }
  for (int i = 0; i < 3; ++i) {
    ListViewControl(m_list).InsertColumn(i, kColumnCaptions[i], Scale(120));
  }
  m_previewNote = AddControl("STATIC", kNoPreview, SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS, 0, 0,
                             10, 10, IDC_BACKUP_PREVIEW_NOTE);
  m_preview.Create(hwnd(), IDC_BACKUP_PREVIEW, "From the backup");
  ::ShowWindow(m_preview.hwnd(), SW_HIDE);
  m_restore = AddControl("BUTTON", "&Restore", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP |
                                                   WS_DISABLED | WS_CLIPSIBLINGS,
                         0, 0, 10, 10, IDC_BACKUP_RESTORE);
  m_export = AddControl("BUTTON", "&Export...",
                        BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED | WS_CLIPSIBLINGS, 0, 0, 10,
                        10, IDC_BACKUP_EXPORT);
  m_delete = AddControl("BUTTON", "&Delete",
                        BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED | WS_CLIPSIBLINGS, 0, 0, 10,
                        10, IDC_BACKUP_DELETE);
  // The frame paints its whole area: it lies beneath the controls it holds.
  ::SetWindowPos(m_frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Layout();
}

void frmBackUp::Layout() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const int width = client.right;
  const int height = client.bottom;
  const int margin = Scale(10);
  const int buttonWidth = Scale(84);
  const int buttonHeight = Scale(24);
  const int top = Scale(22);
  ::MoveWindow(m_frame, 0, 0, width, height, TRUE);
  const int buttonsTop = height - Scale(8) - buttonHeight;
  // The files above, the restore preview below: its note on one line, or the whole area when
  // it explains a refusal.
  const int listHeight = (buttonsTop - Scale(8) - top) * 11 / 20;
  ::MoveWindow(m_list, margin, top, width - 2 * margin, listHeight, TRUE);
  const int noteTop = top + listHeight + Scale(6);
  const int noteHeight = ::IsWindowVisible(m_preview.hwnd()) ? Scale(16) : buttonsTop - Scale(6) - noteTop;
  ::MoveWindow(m_previewNote, margin, noteTop, width - 2 * margin, noteHeight, TRUE);
  const int previewTop = noteTop + Scale(18);
  ::MoveWindow(m_preview.hwnd(), margin, previewTop, width - 2 * margin,
               buttonsTop - Scale(8) - previewTop, TRUE);
  m_preview.FitColumns();
  ::MoveWindow(m_delete, width - margin - buttonWidth, buttonsTop, buttonWidth, buttonHeight,
               TRUE);
  ::MoveWindow(m_restore, width - margin - 2 * buttonWidth - Scale(8), buttonsTop, buttonWidth,
               buttonHeight, TRUE);
  ::MoveWindow(m_export, width - margin - 3 * buttonWidth - Scale(16), buttonsTop, buttonWidth,
               buttonHeight, TRUE);
  FitColumns();
}

// The name and date columns take fixed shares of the list, the time column whatever is left
// beside the scroll bar, if any.
void frmBackUp::FitColumns() {
  RECT list{};
  ::GetClientRect(m_list, &list);
  if (list.right <= 0) return;
  ListView_SetColumnWidth(m_list, 0, list.right * 3 / 10);
  ListView_SetColumnWidth(m_list, 1, list.right * 37 / 100);
  ListView_SetColumnWidth(m_list, 2, LVSCW_AUTOSIZE_USEHEADER);
}

// A load after this one starts as the first did: an empty list, unsorted, nothing previewed.
void frmBackUp::Form_Unload() {
  m_rows.clear();
  m_columnTags = {};
  m_previewedFile.clear();
}

LRESULT frmBackUp::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: Layout(); return 0;
    case WM_SETTINGCHANGE: RefreshUserDateTimeFormat(); return 0;
    default: return ChildWindow::HandleMessage(message, wParam, lParam);
  }
}

void frmBackUp::intializeList() {
  ::EnableWindow(m_restore, FALSE);
  ::EnableWindow(m_delete, FALSE);
  ::EnableWindow(m_export, FALSE);
  RefreshUserDateTimeFormat();
  ::SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(m_list);
  m_rows.clear();
  std::vector<BackupListEntry> entries = ReadBackupList();
  m_rows.reserve(entries.size());
  ListView_SetItemCount(m_list, static_cast<int>(entries.size()));
  // While the list keeps itself sorted by name, the rows go in already in that order, with the
  // list's own sort off: it would otherwise compare texts for every row inserted.
  const DWORD sortStyle = static_cast<DWORD>(::GetWindowLongPtrA(m_list, GWL_STYLE)) &
                          (LVS_SORTASCENDING | LVS_SORTDESCENDING);
  if (sortStyle != 0) {
    SetListSortStyle(0);
    const bool descending = (sortStyle & LVS_SORTDESCENDING) != 0;
    std::stable_sort(entries.begin(), entries.end(),
                     [descending](const BackupListEntry& a, const BackupListEntry& b) {
                       const int order = ::lstrcmpiA(a.fileName.c_str(), b.fileName.c_str());
                       return descending ? order > 0 : order < 0;
                     });
  }
  for (const BackupListEntry& entry : entries) AddBackupEntry(entry);
  if (sortStyle != 0) SetListSortStyle(sortStyle);
  ::SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
  FitColumns();
  ::InvalidateRect(m_list, nullptr, TRUE);
  m_previewedFile.clear();
  ShowRestorePreview();
}

void frmBackUp::AddBackupEntry(const BackupListEntry& entry) {
  Row row;
  row.name = entry.fileName;
  // A file whose first lines are no date and time keeps empty cells.
  if (entry.date) row.date = FormatUserDate(*entry.date);
  if (entry.time) row.time = FormatUserTime(*entry.time);
  row.dateKey = ConvertSortText(row.date, kSortAsDateTime, UserDateTimeFormat());
  row.timeKey = ConvertSortText(row.time, kSortAsDateTime, UserDateTimeFormat());

  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = static_cast<int>(m_rows.size());
  item.pszText = const_cast<char*>(row.name.c_str());
  item.lParam = static_cast<LPARAM>(m_rows.size());
  const int position = static_cast<int>(
      ::SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (position < 0) return;
  // The date and time cells ask for their text when shown (LVN_GETDISPINFO).
  ListView_SetItemText(m_list, position, 1, LPSTR_TEXTCALLBACKA);
  ListView_SetItemText(m_list, position, 2, LPSTR_TEXTCALLBACKA);
  m_rows.push_back(std::move(row));
}

void frmBackUp::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_BACKUP_RESTORE: cmdRestore_Click(); break;
    case IDC_BACKUP_DELETE: cmdDelete_Click(); break;
    case IDC_BACKUP_EXPORT: cmdExport_Click(); break;
    default: break;
  }
}

LRESULT frmBackUp::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == m_preview.hwnd() && header.code == NM_CUSTOMDRAW) {
    return m_preview.OnCustomDraw(header);
  }
  if (header.hwndFrom != m_list) return 0;
  switch (header.code) {
    case LVN_COLUMNCLICK:
      lstBackUpList_ColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      return 0;
    case NM_CLICK:
    case NM_RCLICK: lstBackUpList_MouseUp(); return 0;
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) &&
          ((change.uOldState ^ change.uNewState) & LVIS_SELECTED)) {
        UpdateButtons();
      }
      return 0;
    }
    case LVN_GETDISPINFOA: {
      // The text goes into the list's own buffer.
      const auto& info = reinterpret_cast<const NMLVDISPINFOA&>(header);
      const auto index = static_cast<std::size_t>(info.item.lParam);
      if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0 &&
          index < m_rows.size() && (info.item.iSubItem == 1 || info.item.iSubItem == 2)) {
        const std::string& text = info.item.iSubItem == 1 ? m_rows[index].date : m_rows[index].time;
        ::lstrcpynA(info.item.pszText, text.c_str(), info.item.cchTextMax);
      }
      return 0;
    }
    case LVN_KEYDOWN:
      if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE &&
          ::IsWindowEnabled(m_delete)) {
        cmdDelete_Click();
      }
      return 0;
    default: return 0;
  }
}

void frmBackUp::lstBackUpList_MouseUp() { UpdateButtons(); }

void frmBackUp::UpdateButtons() {
  const BOOL selected = SelectedRow() >= 0;
  ::EnableWindow(m_restore, selected);
  ::EnableWindow(m_delete, selected);
  ::EnableWindow(m_export, selected);
  ShowRestorePreview();
}

void frmBackUp::ShowRestorePreview() {
  const std::string fileName = SelectedFileName();
  // Selection notices come in pairs (the old row, the new one): read each file once.
  if (fileName == m_previewedFile && !fileName.empty()) return;
  m_previewedFile = fileName;
  bool showList = false;
  if (fileName.empty()) {
    ::SetWindowTextA(m_previewNote, kNoPreview);
  } else {
    const RestorePreview preview =
        PreviewBackupRestoreFile(BackupFilePath(fileName), OsFamily);
    if (preview.refusal.empty()) {
      showList = true;
      ::SetWindowTextA(m_previewNote, ("Restoring " + fileName + " would write:").c_str());
      m_preview.Show(preview.rows);
    } else {
      ::SetWindowTextA(m_previewNote, ("Restoring " + fileName + " would be refused:\r\n\r\n" +
                                       preview.refusal).c_str());
    }
  }
  ::ShowWindow(m_preview.hwnd(), showList ? SW_SHOW : SW_HIDE);
  Layout();
}

int frmBackUp::SelectedRow() const {
  return ListViewControl(m_list).SelectedRow();
}

std::string frmBackUp::SelectedFileName() const {
  const int row = SelectedRow();
  return row < 0 ? std::string() : ListViewControl(m_list).ItemText(row, 0);
}

void frmBackUp::SetListSortStyle(DWORD sortStyle) {
  LONG_PTR style = ::GetWindowLongPtrA(m_list, GWL_STYLE);
  style = (style & ~static_cast<LONG_PTR>(LVS_SORTASCENDING | LVS_SORTDESCENDING)) | sortStyle;
  ::SetWindowLongPtrA(m_list, GWL_STYLE, style);
}

void frmBackUp::lstBackUpList_ColumnClick(int columnIndex) {
  if (columnIndex < 0 || columnIndex >= 3) return;
  const std::string caption = ListViewControl(m_list).ColumnText(columnIndex);

  std::string& tag = m_columnTags[columnIndex];
  if (tag != "ASC") {
    SortOrderFlag = 0;
    tag = "ASC";
  } else {
    SortOrderFlag = 1;
    tag = "DESC";
  }
  for (int i = 0; i < 3; ++i) {
    if (i != columnIndex) m_columnTags[i].clear();
  }

  const std::string name = caption;
  if (name == "File Name") {
    // The list's own sort: it stays on, so rows added later keep their place.
    SetListSortStyle(SortOrderFlag == 0 ? LVS_SORTASCENDING : LVS_SORTDESCENDING);
    SortRows(0);
  } else if (name == "Creating Date" || name == "Creating Time") {
    SetListSortStyle(0);
    SortColumn = name == "Creating Date" ? 2 : 3;
    SortDataType = kSortAsDateTime;
    SortRows(SortColumn - 1);
  } else {
    MessageBoxes().Show("Error no such header named " + name, kAppTitle, kMbOk);
    return;
  }
  const int selected = SelectedRow();
  if (selected >= 0) ListView_EnsureVisible(m_list, selected, FALSE);
  UpdateButtons();
}

void frmBackUp::SortRows(int column) {
  SortContext context{&m_rows, column, SortOrderFlag};
  ::SendMessageA(m_list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context),
                 reinterpret_cast<LPARAM>(&CompareByData));
}

void frmBackUp::cmdDelete_Click() {
  const std::string fileName = SelectedFileName();
  if (fileName.empty()) return;
  if (MessageBoxes().Show("Do you want to delete this file??", "",
                          kMbYesNo | kMbIconExclamation) != kIdYes) {
    return;
  }
  const std::string path = BackupFilePath(fileName);
  const FileStatus removed = Files().RemoveFile(path);
  if (!removed) {
    MessageBoxes().Show("The backup file " + fileName + " could not be deleted:\r\n\r\n" +
                            removed.reason,
                        kAppTitle, kMbOk | kMbIconExclamation);
  }
  intializeList();
  ::SetFocus(m_list);
}

void frmBackUp::cmdExport_Click() {
  const std::string fileName = SelectedFileName();
  if (fileName.empty()) return;
  std::string number = BackupRowName(fileName);
  number.resize(number.size() - 4);  // without ".BCK"
  SaveRegExport(hwnd(), ExportBackupRestore(BackupFilePath(fileName), OsFamily),
                "Backup " + number + ".reg");
}

void frmBackUp::cmdRestore_Click() {
  m_previewedFile.clear();  // the restore changes what the preview shows as "now"
  const std::string fileName = SelectedFileName();
  if (fileName.empty()) return;
  const std::string path = BackupFilePath(fileName);
  // Not asked at all when this user may not change the keys the file holds.
  if (auto denied = RestoreFileKeysRefusal(path, OsFamily)) {
    MessageBoxes().Show(denied->message, kAppTitle, kMbOk | kMbIconExclamation);
    return;
  }
  if (MessageBoxes().Show("Do you want to restore this settings??", "",
                          kMbYesNo | kMbIconExclamation) != kIdYes) {
    return;
  }
  const RestoreResult result = RestoreBackupFile(path, OsFamily);
  switch (result.outcome) {
    case RestoreOutcome::kOtherOperatingSystem:
      MessageBoxes().Show(result.message, kAppTitle, kMbOk | kMbIconStop);
      return;
    case RestoreOutcome::kRestored: break;
    case RestoreOutcome::kUnreadable:
    case RestoreOutcome::kRefused:
    case RestoreOutcome::kAccessDenied:
    case RestoreOutcome::kWritesFailed:
      MessageBoxes().Show(result.message, kAppTitle, kMbOk | kMbIconExclamation);
      break;
  }
  ShowRestorePreview();
  host().SetHomeVariable();
}

}  // namespace quelvar
