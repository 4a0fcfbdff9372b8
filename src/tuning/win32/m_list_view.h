// The backup list's sorting through the list control's own sort request: the comparison
// function handed to LVM_SORTITEMS and its two helpers, plus the user's date and time
// formats the list is shown and sorted in.
#pragma once
#include <windows.h>

#include <string>

#include "base/clock.h"
#include "tuning/list_sort.h"

namespace quelvar {

// LVM_SORTITEMS callback: the rows whose item data are data1 and data2, compared by the text
// of column SortColumn as SortDataType, SortOrderFlag applied; listHandle is the list.
int CALLBACK CompareListItems(LPARAM data1, LPARAM data2, LPARAM listHandle);
// The index of the row whose item data equals `data`; -1 when there is none.
int FindItemByData(HWND listHandle, LPARAM data);
// The text of column SortColumn of the row; empty when there is none.
std::string GetListItemText(HWND listHandle, int rowIndex);

// The user's formats, read from the locale once and again after RefreshUserDateTimeFormat.
const DateTimeFormat& UserDateTimeFormat();
void RefreshUserDateTimeFormat();
// A date (year, month, day) in the user's short date format; a time in the user's time format.
std::string FormatUserDate(const LocalDateTime& date);
std::string FormatUserTime(const LocalDateTime& time);

}  // namespace quelvar
