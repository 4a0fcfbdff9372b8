// The read-only report list that shows a preview (an apply's or a restore's rows): key,
// value, what it holds now and what it would hold afterwards; rows the click leaves as they
// are are greyed. One component for wizard mode, advanced mode and the backup manager.
#pragma once
#include <windows.h>

#include <vector>

#include "tuning/change_preview.h"

namespace quelvar {

class PreviewList {
 public:
  // Creates the list as a child of `parent` with the given control ID; `afterCaption` heads
  // the last column ("after", "from the backup").
  bool Create(HWND parent, int id, const char* afterCaption);
  HWND hwnd() const { return m_list; }
  // After its parent destroyed the list: no list until the next Create.
  void Forget() { m_list = nullptr; }

  // Replaces the rows; the list keeps no other state.
  void Show(const std::vector<PreviewRow>& rows);
  // Spreads the columns over the list's width (after a move or a size change).
  void FitColumns();
  // NM_CUSTOMDRAW from the list: greys unchanged rows. Returns the result for the parent's
  // WM_NOTIFY.
  LRESULT OnCustomDraw(const NMHDR& header) const;

 private:
  HWND m_list = nullptr;
};

}  // namespace quelvar
