// Conversions of the registry operations' dynamically typed value.
#include "registry/reg_value.h"

#include "base/decimal_text.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>

namespace quelvar {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A decimal number in the program's one grammar, blanks around it allowed.
double ParseNumber(const std::string& original) {
  const DecimalValue number = ParseDecimal(original);
  switch (number.fault) {
    case DecimalFault::kNone: return number.value;
    case DecimalFault::kOutOfRange:
      throw ConversionError("number out of range: \"" + original + "\"");
    case DecimalFault::kNotANumber: break;
  }
  throw ConversionError("not a number: \"" + original + "\"");
}

// Nearest integer, a fraction of exactly one half going to the even neighbour.
double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction < 0.5) return floor;
  if (fraction > 0.5) return floor + 1.0;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

template <typename Int>
Int RoundToInteger(double value) {
  const double rounded = RoundHalfEven(value);
  if (!std::isfinite(rounded) || rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
    throw ConversionError("number out of range for a " +
                          std::to_string(sizeof(Int) * 8) + "-bit integer");
  }
  return static_cast<Int>(rounded);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::string RegValue::ToText() const {
  struct Visitor {
    std::string operator()(const std::string& text) const { return text; }
    std::string operator()(std::int16_t number) const { return std::to_string(number); }
    std::string operator()(std::int32_t number) const { return std::to_string(number); }
    std::string operator()(bool flag) const { return flag ? "True" : "False"; }
    std::string operator()(double number) const {
      char buffer[64];
      std::snprintf(buffer, sizeof(buffer), "%.15g", number);
      return buffer;
    }
  };
  return std::visit(Visitor{}, m_value);
}

double RegValue::ToDouble() const {
  struct Visitor {
    double operator()(const std::string& text) const { return ParseNumber(text); }
    double operator()(std::int16_t number) const { return number; }
    double operator()(std::int32_t number) const { return number; }
    double operator()(bool flag) const { return flag ? 1.0 : 0.0; }
    double operator()(double number) const { return number; }
  };
  return std::visit(Visitor{}, m_value);
}

std::int32_t RegValue::ToInt32() const { return RoundToInteger<std::int32_t>(ToDouble()); }

std::int16_t RegValue::ToInt16() const { return RoundToInteger<std::int16_t>(ToDouble()); }

bool RegValue::ToBool() const {
  if (const auto* flag = std::get_if<bool>(&m_value)) return *flag;
  if (const auto* text = std::get_if<std::string>(&m_value)) {
    const std::string_view trimmed = TrimBlanks(*text);
    if (EqualsIgnoringCase(trimmed, "true")) return true;
    if (EqualsIgnoringCase(trimmed, "false")) return false;
  }
  return ToDouble() != 0.0;
}

}  // namespace quelvar
