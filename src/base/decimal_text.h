// The program's one grammar for decimal numbers in text:
//
//   number    = [sign] mantissa [exponent]
//   sign      = "+" | "-"
//   mantissa  = digits ["." [digits]] | "." digits
//   exponent  = ("E" | "e") [sign] digits
//
// always with a full stop as the decimal separator, whatever the locale; no hexadecimal, no
// thousands separators, no "inf" or "nan". Three readings of it:
//   ParseDecimal        the whole text, blanks (space, tab, CR, LF) around it allowed: what a
//                       user or another program typed (registry values, list cells);
//   ParseDecimalRecord  the whole text in the record form, nothing around it: what the
//                       program itself writes into files ("-" only as sign, digits on both
//                       sides of a point: "-12", "0.5", "1E+15");
//   LeadingDecimal      the number a text starts with (blanks before it skipped), 0 when none.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace quelvar {

enum class DecimalFault { kNone, kNotANumber, kOutOfRange };

struct DecimalValue {
  double value = 0;
  DecimalFault fault = DecimalFault::kNotANumber;
  bool ok() const { return fault == DecimalFault::kNone; }
};

DecimalValue ParseDecimal(std::string_view text);
DecimalValue ParseDecimalRecord(std::string_view text);
// The record form of an integer ("-"? digits), within the signed 32-bit range.
std::optional<std::int32_t> ParseDecimalInt32Record(std::string_view text);
double LeadingDecimal(std::string_view text);

}  // namespace quelvar
