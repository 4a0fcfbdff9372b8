// Fuzzes the one decimal grammar: each reading either gives a finite number or says why not,
// the record form never accepts what the loose form refuses, and an integer record read back
// as a decimal is the same number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/decimal_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quelvar;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const DecimalValue loose = ParseDecimal(text);
  const DecimalValue record = ParseDecimalRecord(text);
  if (loose.ok() && !std::isfinite(loose.value)) std::abort();
  if (record.ok() && !loose.ok()) std::abort();
  if (record.ok() && record.value != loose.value) std::abort();
  if (auto integer = ParseDecimalInt32Record(text)) {
    if (!record.ok() || record.value != static_cast<double>(*integer)) std::abort();
  }
  if (!std::isfinite(LeadingDecimal(text))) std::abort();
  return 0;
}
