// The dynamically typed value the registry operations take and return: text, 16- or
// 32-bit integer, double or Boolean, with the conversions the program's rules use.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>

namespace quelvar {

// Raised for text that is not a number where a number is needed, or a number that does
// not fit the requested integer width.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class RegValue {
 public:
  using Storage = std::variant<std::string, std::int16_t, std::int32_t, double, bool>;

  RegValue() : m_value(std::string()) {}
  RegValue(std::string text) : m_value(std::move(text)) {}
  RegValue(const char* text) : m_value(std::string(text)) {}
  RegValue(std::int16_t number) : m_value(number) {}
  RegValue(std::int32_t number) : m_value(number) {}
  RegValue(double number) : m_value(number) {}
  RegValue(bool flag) : m_value(flag) {}

  bool IsText() const { return std::holds_alternative<std::string>(m_value); }
  const Storage& storage() const { return m_value; }

  // Text unchanged; integers as decimal digits with a leading minus when negative;
  // Booleans as "True"/"False"; doubles in the shortest plain decimal form.
  std::string ToText() const;
  // Numbers; text is parsed as a decimal number (leading/trailing blanks allowed).
  double ToDouble() const;
  // Rounded to the nearest integer, halves to the even neighbour; ConversionError when the
  // text is not a number or the result does not fit.
  std::int32_t ToInt32() const;
  std::int16_t ToInt16() const;
  // Booleans unchanged; "true"/"false" in any case; any number (nonzero is true).
  bool ToBool() const;

  friend bool operator==(const RegValue&, const RegValue&) = default;

 private:
  Storage m_value;
};

}  // namespace quelvar
