// List sorting helpers; see m_list_view.h.
#include "tuning/win32/m_list_view.h"

#include <commctrl.h>

#include "base/win32/controls.h"
#include "base/win32/failure_net.h"

namespace quelvar {

namespace {

DateTimeFormat ReadUserDateTimeFormat() {
  auto info = [](LCTYPE type, const std::string& fallback) {
    char buffer[128] = {};
    const int length = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof(buffer));
    return length > 1 ? std::string(buffer) : fallback;
  };
  DateTimeFormat format;
  format.datePicture = info(LOCALE_SSHORTDATE, format.datePicture);
  format.timePicture = info(LOCALE_STIMEFORMAT, format.timePicture);
  for (int i = 0; i < 12; ++i) {
    format.monthNames[i] = info(LOCALE_SMONTHNAME1 + i, format.monthNames[i]);
    format.monthAbbreviations[i] =
        info(LOCALE_SABBREVMONTHNAME1 + i, format.monthAbbreviations[i]);
  }
  format.am = info(LOCALE_S1159, "");
  format.pm = info(LOCALE_S2359, "");
  return format;
}

DateTimeFormat& CachedFormat() {
  static DateTimeFormat format = ReadUserDateTimeFormat();
  return format;
}

SYSTEMTIME ToSystemTime(const LocalDateTime& value) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(value.year > 0 ? value.year : 2000);
  st.wMonth = static_cast<WORD>(value.month > 0 ? value.month : 1);
  st.wDay = static_cast<WORD>(value.day > 0 ? value.day : 1);
  st.wHour = static_cast<WORD>(value.hour);
  st.wMinute = static_cast<WORD>(value.minute);
  st.wSecond = static_cast<WORD>(value.second);
  return st;
}

}  // namespace

const DateTimeFormat& UserDateTimeFormat() { return CachedFormat(); }
void RefreshUserDateTimeFormat() { CachedFormat() = ReadUserDateTimeFormat(); }

std::string FormatUserDate(const LocalDateTime& date) {
  const SYSTEMTIME st = ToSystemTime(date);
  char buffer[128] = {};
  if (!::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer,
                        sizeof(buffer))) {
    return {};
  }
  return buffer;
}

std::string FormatUserTime(const LocalDateTime& time) {
  const SYSTEMTIME st = ToSystemTime(time);
  char buffer[128] = {};
  if (!::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, sizeof(buffer))) return {};
  return buffer;
}

int FindItemByData(HWND listHandle, LPARAM data) {
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = data;
  return static_cast<int>(::SendMessageA(listHandle, LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(&find)));
}

std::string GetListItemText(HWND listHandle, int rowIndex) {
  if (rowIndex < 0) return {};
  return ListViewControl(listHandle).ItemText(rowIndex, SortColumn - 1);
}

int CALLBACK CompareListItems(LPARAM data1, LPARAM data2, LPARAM listHandle) {
  // Called by the list control during its sort: nothing may escape into it.
  return Guarded(0, [&] {
    const HWND list = reinterpret_cast<HWND>(listHandle);
    const std::string first = GetListItemText(list, FindItemByData(list, data1));
    const std::string second = GetListItemText(list, FindItemByData(list, data2));
    return CompareSortTexts(first, second, SortDataType, SortOrderFlag, UserDateTimeFormat());
  });
}

}  // namespace quelvar
