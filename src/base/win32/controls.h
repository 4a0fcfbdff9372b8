// Small idioms for controls, written once: a window's text as a string, a check box's state
// as a pair of functions, and thin non-owning wrappers over the SendMessage calls of the
// controls that recur. A wrapper holds only the handle; the window that made the control owns it.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace quelvar {

// The whole text of a window (empty for none).
inline std::string WindowText(HWND window) {
  if (!window) return {};
  const int length = ::GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

// A check box or radio button: checked or not.
inline bool IsChecked(HWND button) {
  return ::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
inline void SetChecked(HWND button, bool checked) {
  ::SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

class ButtonControl {
 public:
  explicit ButtonControl(HWND window = nullptr) : m_window(window) {}
  HWND hwnd() const { return m_window; }
  bool Checked() const { return IsChecked(m_window); }
  void SetChecked(bool checked) const { quelvar::SetChecked(m_window, checked); }
  void Enable(bool enabled) const { ::EnableWindow(m_window, enabled ? TRUE : FALSE); }
  void SetDefault(bool isDefault) const {
    ::SendMessageA(m_window, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }

 private:
  HWND m_window;
};

class EditControl {
 public:
  explicit EditControl(HWND window = nullptr) : m_window(window) {}
  HWND hwnd() const { return m_window; }
  std::string Text() const { return WindowText(m_window); }
  void SetText(const std::string& text) const { ::SetWindowTextA(m_window, text.c_str()); }
  void SelectAll() const { ::SendMessageA(m_window, EM_SETSEL, 0, -1); }
  void SetLimit(int characters) const { ::SendMessageA(m_window, EM_LIMITTEXT, characters, 0); }

 private:
  HWND m_window;
};

class ListViewControl {
 public:
  explicit ListViewControl(HWND window = nullptr) : m_window(window) {}
  HWND hwnd() const { return m_window; }
  int ItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0)); }
  void DeleteAllItems() const { Send(LVM_DELETEALLITEMS, 0, 0); }
  void InsertColumn(int index, const char* caption, int width) const {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(caption);
    column.cx = width;
    column.iSubItem = index;
    Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
  }
  std::string ColumnText(int index) const {
    char caption[128] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = caption;
    column.cchTextMax = sizeof(caption);
    Send(LVM_GETCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
    return caption;
  }
  void SetColumnWidth(int index, int width) const {
    Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), MAKELPARAM(width, 0));
  }
  // Appends a row with its first cell and item data; the row's index, -1 when it failed.
  int AppendItem(const std::string& text, LPARAM data) const {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = ItemCount();
    item.pszText = const_cast<char*>(text.c_str());
    item.lParam = data;
    return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  }
  void SetItemText(int row, int column, const std::string& text) const {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }
  std::string ItemText(int row, int column) const {
    char buffer[MAX_PATH] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    const auto length =
        Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
  }
  // The first selected row, -1 when none.
  int SelectedRow() const {
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }
  void EnsureVisible(int row) const { Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE); }

 private:
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(m_window, message, wParam, lParam);
  }
  HWND m_window;
};

class TrackbarControl {
 public:
  explicit TrackbarControl(HWND window = nullptr) : m_window(window) {}
  HWND hwnd() const { return m_window; }
  void SetRange(int low, int high) const {
    ::SendMessageA(m_window, TBM_SETRANGEMIN, FALSE, low);
    ::SendMessageA(m_window, TBM_SETRANGEMAX, TRUE, high);
  }
  int Pos() const { return static_cast<int>(::SendMessageA(m_window, TBM_GETPOS, 0, 0)); }
  void SetPos(int pos) const { ::SendMessageA(m_window, TBM_SETPOS, TRUE, pos); }
  void SetTicFrequency(int every) const { ::SendMessageA(m_window, TBM_SETTICFREQ, every, 0); }

 private:
  HWND m_window;
};

class UpDownControl {
 public:
  explicit UpDownControl(HWND window = nullptr) : m_window(window) {}
  HWND hwnd() const { return m_window; }
  void SetBuddy(HWND buddy) const {
    ::SendMessageA(m_window, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  }
  // UDM_SETRANGE's 16-bit range: every up-down since Windows 95 has it.
  void SetRange(short low, short high) const {
    ::SendMessageA(m_window, UDM_SETRANGE, 0, MAKELPARAM(high, low));
  }
  int Pos() const { return static_cast<short>(LOWORD(::SendMessageA(m_window, UDM_GETPOS, 0, 0))); }
  void SetPos(short pos) const { ::SendMessageA(m_window, UDM_SETPOS, 0, MAKELPARAM(pos, 0)); }

 private:
  HWND m_window;
};

class ComboBoxControl {
 public:
  explicit ComboBoxControl(HWND window = nullptr) : m_window(window) {}
  HWND hwnd() const { return m_window; }
  int Add(const std::string& text) const {
    return static_cast<int>(
        ::SendMessageA(m_window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }
  void Clear() const { ::SendMessageA(m_window, CB_RESETCONTENT, 0, 0); }
  int Count() const { return static_cast<int>(::SendMessageA(m_window, CB_GETCOUNT, 0, 0)); }
  // The selected entry, -1 when none.
  int Selection() const { return static_cast<int>(::SendMessageA(m_window, CB_GETCURSEL, 0, 0)); }
  void Select(int index) const {
    ::SendMessageA(m_window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  std::string ItemText(int index) const {
    const auto length = ::SendMessageA(m_window, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    ::SendMessageA(m_window, CB_GETLBTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
  }

 private:
  HWND m_window;
};

}  // namespace quelvar
