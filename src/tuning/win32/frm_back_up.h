// The backup manager: lists the backup files with their date and time, sorts them by a
// column, deletes one, writes one back into the registry, or exports what restoring it would
// write as a registry file. Below the files, what restoring the selected one would write (or
// why it would be refused).
#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/win32/child_window.h"
#include "tuning/backup_restore.h"
#include "tuning/list_sort.h"
#include "tuning/win32/preview_list.h"

namespace quelvar {

class frmBackUp : public ChildWindow {
 public:
  explicit frmBackUp(MainWindowHost& host) : ChildWindow(host) {}

  // Empties and refills the list from the backup folder; leaves both buttons disabled.
  void intializeList();

 protected:
  const char* ClassName() const override { return "QuelvarBackUp"; }
  void CreateControls() override;
  void Form_Unload() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(const NMHDR& header) override;

 private:
  void Layout();
  void FitColumns();
  void AddBackupEntry(const BackupListEntry& entry);
  void cmdRestore_Click();
  void cmdDelete_Click();
  // Saves what restoring the selected file would write as a registry file.
  void cmdExport_Click();
  void lstBackUpList_ColumnClick(int columnIndex);
  void lstBackUpList_MouseUp();
  // Both buttons and the restore preview follow the selection.
  void UpdateButtons();
  // Shows what restoring the selected file would write, or why it would be refused.
  void ShowRestorePreview();
  int SelectedRow() const;
  std::string SelectedFileName() const;
  void SetListSortStyle(DWORD sortStyle);
  // The rows in the list's order after a sort of `column` (0 name, 1 date, 2 time) by the keys
  // each row holds; the comparison never reads text back from the list.
  void SortRows(int column);

 public:
  // What one row shows and sorts by; the list item's data is its index in m_rows.
  struct Row {
    std::string name;
    std::string date;  // as shown, in the user's short date format; empty when unreadable
    std::string time;
    std::optional<SortKey> dateKey;  // the shown text read back once, as every sort compares it
    std::optional<SortKey> timeKey;
  };

 private:

  HWND m_frame = nullptr;
  HWND m_list = nullptr;
  HWND m_restore = nullptr;
  HWND m_delete = nullptr;
  HWND m_export = nullptr;
  HWND m_previewNote = nullptr;
  PreviewList m_preview;
  std::string m_previewedFile;
  // Each column header's sort tag: "ASC", "DESC" or empty.
  std::array<std::string, 3> m_columnTags;
  std::vector<Row> m_rows;
};

}  // namespace quelvar
