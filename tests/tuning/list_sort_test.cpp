// The backup list's comparison rules: dates and times read back in the user's formats,
// descending by swapping, equal values 0, values that cannot be read sorting first.
#include <gtest/gtest.h>

#include "tuning/list_sort.h"

namespace quelvar {
namespace {

DateTimeFormat Format(const char* date, const char* time) {
  DateTimeFormat format;
  format.datePicture = date;
  format.timePicture = time;
  return format;
}

struct DateCase {
  const char* datePicture;
  const char* earlier;
  const char* later;
};

TEST(ListSort, DatesCompareByCalendarInTheUsersShortDateFormat) {
  const DateCase cases[] = {
      {"M/d/yyyy", "12/31/2002", "1/2/2003"},       // text order would say otherwise
      {"dd.MM.yyyy", "09.05.2003", "07.06.2003"},
      {"dd/MM/yy", "31/12/99", "01/01/00"},         // two-digit years: 1999 before 2000
      {"yyyy-MM-dd", "2003-02-28", "2003-03-01"},
      {"d MMMM yyyy", "30 April 2003", "2 May 2003"},
      {"dd-MMM-yy", "05-Jun-03", "05-Jul-03"},
      {"dddd, MMMM dd, yyyy", "Friday, June 27, 2003", "Monday, June 30, 2003"},
      {"yyyy'年'M'月'd'日'", "2003年5月7日", "2003年5月17日"},
  };
  for (const DateCase& c : cases) {
    SCOPED_TRACE(c.datePicture);
    const DateTimeFormat format = Format(c.datePicture, "HH:mm:ss");
    EXPECT_EQ(CompareSortTexts(c.earlier, c.later, kSortAsDateTime, 0, format), -1);
    EXPECT_EQ(CompareSortTexts(c.later, c.earlier, kSortAsDateTime, 0, format), 1);
    EXPECT_EQ(CompareSortTexts(c.earlier, c.later, kSortAsDateTime, 1, format), 1);
    EXPECT_EQ(CompareSortTexts(c.later, c.earlier, kSortAsDateTime, 1, format), -1);
    EXPECT_EQ(CompareSortTexts(c.later, c.later, kSortAsDateTime, 0, format), 0);
    EXPECT_EQ(CompareSortTexts(c.later, c.later, kSortAsDateTime, 1, format), 0);
  }
}

TEST(ListSort, TimesCompareByClockInTwelveAndTwentyFourHourFormats) {
  const DateTimeFormat twelve = Format("M/d/yyyy", "h:mm:ss tt");
  EXPECT_EQ(CompareSortTexts("11:59:59 AM", "1:05:00 PM", kSortAsDateTime, 0, twelve), -1);
  EXPECT_EQ(CompareSortTexts("12:00:00 AM", "1:00:00 AM", kSortAsDateTime, 0, twelve), -1);
  EXPECT_EQ(CompareSortTexts("12:30:00 PM", "1:00:00 PM", kSortAsDateTime, 0, twelve), -1);
  EXPECT_EQ(CompareSortTexts("9:05:03 am", "9:05:03 AM", kSortAsDateTime, 0, twelve), 0);

  const DateTimeFormat twentyFour = Format("dd.MM.yyyy", "HH:mm:ss");
  EXPECT_EQ(CompareSortTexts("09:05:03", "23:00:00", kSortAsDateTime, 0, twentyFour), -1);
  EXPECT_EQ(CompareSortTexts("09:05:03", "23:00:00", kSortAsDateTime, 1, twentyFour), 1);
  EXPECT_EQ(CompareSortTexts("9:05:03", "09:05:03", kSortAsDateTime, 0, twentyFour), 0);
}

TEST(ListSort, ValuesThatCannotBeReadCountAsEmptyAndSortFirst) {
  const DateTimeFormat format = Format("M/d/yyyy", "HH:mm:ss");
  const char* unreadable[] = {"", "garbage", "2/30/2003", "13/1/2003", "1/2/2003 extra",
                              "25:00:00"};
  for (const char* text : unreadable) {
    SCOPED_TRACE(text);
    EXPECT_EQ(CompareSortTexts(text, "1/1/1980", kSortAsDateTime, 0, format), -1);
    EXPECT_EQ(CompareSortTexts("1/1/1980", text, kSortAsDateTime, 0, format), 1);
    EXPECT_EQ(CompareSortTexts(text, "00:00:00", kSortAsDateTime, 0, format), -1);
    // Descending swaps the two, so the empty value goes last.
    EXPECT_EQ(CompareSortTexts(text, "1/1/1980", kSortAsDateTime, 1, format), 1);
    EXPECT_EQ(CompareSortTexts(text, "", kSortAsDateTime, 0, format), 0);
  }
}

TEST(ListSort, NumbersAndTextCompareByTheirDataType) {
  const DateTimeFormat format;
  EXPECT_EQ(CompareSortTexts("9", "10", kSortAsInt32, 0, format), -1);
  EXPECT_EQ(CompareSortTexts("9", "10", kSortAsText, 0, format), 1);
  EXPECT_EQ(CompareSortTexts("-3", "2", kSortAsInt32, 0, format), -1);
  EXPECT_EQ(CompareSortTexts("2.5", "2", kSortAsInt32, 0, format), 0);  // halves to even
  EXPECT_EQ(CompareSortTexts("3000000000", "1", kSortAsInt32, 0, format), -1);  // too large
  EXPECT_EQ(CompareSortTexts("2.25", "2.5", kSortAsDouble, 0, format), -1);
  EXPECT_EQ(CompareSortTexts("1e3", "999", kSortAsDouble, 1, format), -1);
  EXPECT_EQ(CompareSortTexts("abc", "abd", kSortAsText, 1, format), 1);
  EXPECT_EQ(CompareSortTexts("abc", "abc", kSortAsText, 0, format), 0);
}

TEST(ListSort, ADateFollowedByATimeReadsAsOneMoment) {
  const DateTimeFormat format = Format("M/d/yyyy", "h:mm tt");
  EXPECT_EQ(CompareSortTexts("5/7/2003 11:00 PM", "5/8/2003 1:00 AM", kSortAsDateTime, 0, format),
            -1);
  EXPECT_EQ(CompareSortTexts("5/7/2003 1:00 PM", "5/7/2003 11:00 AM", kSortAsDateTime, 0, format),
            1);
}

}  // namespace
}  // namespace quelvar
