// The decimal grammar; see decimal_text.h.
#include "base/decimal_text.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace quelvar {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The longest number at the start of `text`, and how it is spelt.
struct Token {
  std::size_t length = 0;  // 0: no number
  bool plus = false;
  std::size_t whole = 0;     // digits before the point
  bool point = false;
  std::size_t fraction = 0;  // digits after it
  bool exponent = false;

  bool IsRecordForm() const { return !plus && whole > 0 && (!point || fraction > 0); }
  bool IsInteger() const { return !point && !exponent; }
};

Token Scan(std::string_view text) {
  Token token;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) token.plus = text[i++] == '+';
  while (i < text.size() && IsDigit(text[i])) ++i, ++token.whole;
  if (i < text.size() && text[i] == '.') {
    std::size_t j = i + 1;
    while (j < text.size() && IsDigit(text[j])) ++j, ++token.fraction;
    if (token.whole > 0 || token.fraction > 0) {
      token.point = true;
      i = j;
    }
  }
  if (token.whole == 0 && token.fraction == 0) return Token{};
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t digitsStart = j;
    while (j < text.size() && IsDigit(text[j])) ++j;
    if (j > digitsStart) {
      token.exponent = true;
      i = j;
    }
  }
  token.length = i;
  return token;
}

// The value of a scanned number (the C library reads what the grammar has already checked;
// the point is swapped for the locale's own separator, should the locale have another).
DecimalValue ValueOf(std::string_view number) {
  std::string text(number);
  const char separator = *std::localeconv()->decimal_point;
  if (separator != '.') {
    for (char& c : text) {
      if (c == '.') c = separator;
    }
  }
  const double value = std::strtod(text.c_str(), nullptr);
  if (!std::isfinite(value)) return {0, DecimalFault::kOutOfRange};
  return {value, DecimalFault::kNone};
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

DecimalValue ParseDecimal(std::string_view text) {
  text = TrimBlanks(text);
  const Token token = Scan(text);
  if (token.length == 0 || token.length != text.size()) return {};
  return ValueOf(text);
}

DecimalValue ParseDecimalRecord(std::string_view text) {
  const Token token = Scan(text);
  if (token.length == 0 || token.length != text.size() || !token.IsRecordForm()) return {};
  return ValueOf(text);
}

std::optional<std::int32_t> ParseDecimalInt32Record(std::string_view text) {
  const Token token = Scan(text);
  if (token.length == 0 || token.length != text.size() || !token.IsRecordForm() ||
      !token.IsInteger()) {
    return std::nullopt;
  }
  const DecimalValue number = ValueOf(text);
  if (!number.ok() || number.value < std::numeric_limits<std::int32_t>::min() ||
      number.value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(number.value);
}

double LeadingDecimal(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  const Token token = Scan(text);
  if (token.length == 0) return 0;
  const DecimalValue number = ValueOf(text.substr(0, token.length));
  if (number.ok()) return number.value;
  return text.front() == '-' ? -std::numeric_limits<double>::max()
                             : std::numeric_limits<double>::max();
}

}  // namespace quelvar
