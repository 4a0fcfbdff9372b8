// The one decimal grammar, as a table of texts gathered from the four readers it replaced
// (registry values, backup file lines, backup file names and values, backup list cells).
// Where those readers disagreed, the row notes what was decided.
#include "base/decimal_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quelvar {
namespace {

constexpr double kNo = NAN;  // not a number in that reading

struct Row {
  const char* text;
  double loose;    // ParseDecimal: whole text, blanks around allowed
  double record;   // ParseDecimalRecord: the form the program writes
  double leading;  // LeadingDecimal: the number the text starts with, 0 for none
};

const Row kRows[] = {
    {"64", 64, 64, 64},
    {"-1", -1, -1, -1},
    {"0", 0, 0, 0},
    {"2.5", 2.5, 2.5, 2.5},
    {"1E+15", 1e15, 1e15, 1e15},
    {"1.23456789012346E+17", 1.23456789012346e17, 1.23456789012346e17, 1.23456789012346e17},
    {"1e3", 1000, 1000, 1000},
    {"1E-5", 1e-5, 1e-5, 1e-5},
    // Blanks: registry values and list cells allowed them around the number (list cells only
    // after it, and the leading readers only before it); now every loose reading allows both.
    {" 42 ", 42, kNo, 42},
    {"\t7\r\n", 7, kNo, 7},
    // "+" and a bare point: registry values and list cells took them, the backup file never
    // writes them and keeps refusing them.
    {"+5", 5, kNo, 5},
    {"5.", 5, kNo, 5},
    {".5", 0.5, kNo, 0.5},
    {"-.5", -0.5, kNo, -0.5},
    // Not numbers anywhere. List cells used to read hexadecimal ("0x10" as 16): the grammar is
    // decimal, so a cell like that now sorts with the empty ones, as in every other reader.
    {"", kNo, kNo, 0},
    {".", kNo, kNo, 0},
    {"+", kNo, kNo, 0},
    {"--1", kNo, kNo, 0},
    {"abc", kNo, kNo, 0},
    {"0x10", kNo, kNo, 0},
    {"&H10", kNo, kNo, 0},
    {"inf", kNo, kNo, 0},
    {"nan", kNo, kNo, 0},
    {"1,5", kNo, kNo, 1},
    {"1E", kNo, kNo, 1},
    {"1e+", kNo, kNo, 1},
    // The leading number of names and of 95-line values ("7200000 ms"): 95-line values used to
    // stop at the first non-digit ("2.5" as 2); they now read the whole number, as names did.
    {"12abc", kNo, kNo, 12},
    {"7200000 ms", kNo, kNo, 7200000},
    {"x012", kNo, kNo, 0},
    {"3.5", 3.5, 3.5, 3.5},
    {"-12", -12, -12, -12},
};

void ExpectReading(double expected, const DecimalValue& got, const char* reading) {
  SCOPED_TRACE(reading);
  if (std::isnan(expected)) {
    EXPECT_FALSE(got.ok());
  } else {
    ASSERT_TRUE(got.ok());
    EXPECT_DOUBLE_EQ(got.value, expected);
  }
}

TEST(DecimalText, EachReadingOfTheGrammar) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(std::string("\"") + row.text + "\"");
    ExpectReading(row.loose, ParseDecimal(row.text), "loose");
    ExpectReading(row.record, ParseDecimalRecord(row.text), "record");
    EXPECT_DOUBLE_EQ(LeadingDecimal(row.text), row.leading);
  }
}

TEST(DecimalText, RangeLimits) {
  // Beyond a double: out of range, never infinity. Below the smallest double: zero (the backup
  // file reader used to call that out of range too; zero is the nearest value it can hold).
  EXPECT_EQ(ParseDecimal("1e400").fault, DecimalFault::kOutOfRange);
  EXPECT_EQ(ParseDecimalRecord("-1E+400").fault, DecimalFault::kOutOfRange);
  ExpectReading(0, ParseDecimalRecord("1E-400"), "record");
  EXPECT_GT(LeadingDecimal("9e999 apples"), 1e300);

  // Record integers: "-"? digits within 32 bits.
  EXPECT_EQ(ParseDecimalInt32Record("2147483647"), 2147483647);
  EXPECT_EQ(ParseDecimalInt32Record("-2147483648"), -2147483647 - 1);
  for (const char* text : {"2147483648", "1.5", "1E3", "+7", " 7", "", "-"}) {
    EXPECT_EQ(ParseDecimalInt32Record(text), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace quelvar
