// The backup list's sort rules: the program-wide sort state and the comparison of two
// cell texts by data type, with dates and times read back in the user's formats.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace quelvar {

// How the texts are compared (SortDataType).
inline constexpr int kSortAsText = 0;
inline constexpr int kSortAsInt32 = 1;
inline constexpr int kSortAsDouble = 2;
inline constexpr int kSortAsDateTime = 3;

// The sort state read by the list's comparison function. SortColumn is 1-based;
// SortOrderFlag is 0 ascending, 1 descending.
extern int SortColumn;
extern int SortDataType;
extern int SortOrderFlag;

// The user's date and time formats as Windows pictures ("M/d/yyyy", "h:mm:ss tt", "dd.MM.yy",
// "dddd, MMMM d, yyyy"), with the names a picture may contain.
struct DateTimeFormat {
  std::string datePicture = "M/d/yyyy";
  std::string timePicture = "h:mm:ss tt";
  std::array<std::string, 12> monthNames{"January", "February", "March",     "April",
                                         "May",     "June",     "July",      "August",
                                         "September", "October", "November", "December"};
  std::array<std::string, 12> monthAbbreviations{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::string am = "AM";
  std::string pm = "PM";
};

// A date as its day number (days since 1970-01-01), a time as the fraction of a day.
std::optional<double> ParseDatePicture(std::string_view text, const DateTimeFormat& format);
std::optional<double> ParseTimePicture(std::string_view text, const DateTimeFormat& format);
// A date, a time, or a date followed by a time, as day number plus fraction.
std::optional<double> ParseDateTimeText(std::string_view text, const DateTimeFormat& format);

// A cell text converted by data type; nullopt when it cannot be converted (an empty value).
using SortKey = std::variant<std::string, std::int32_t, double>;
std::optional<SortKey> ConvertSortText(std::string_view text, int dataType,
                                       const DateTimeFormat& format);

// -1 when the first value sorts before the second, 0 when equal, 1 otherwise; an empty
// value sorts before every other value; SortOrderFlag 1 swaps the two first.
int CompareSortKeys(const std::optional<SortKey>& first, const std::optional<SortKey>& second,
                    int orderFlag);
int CompareSortTexts(std::string_view first, std::string_view second, int dataType,
                     int orderFlag, const DateTimeFormat& format);

}  // namespace quelvar
