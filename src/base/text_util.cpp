// Small text helpers; see text_util.h.
#include "base/text_util.h"

#include <cctype>

namespace quelvar {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool NextTrimmedLine(std::string_view& text, std::string_view& line) {
  if (text.empty()) return false;
  const auto newline = text.find('\n');
  line = Trim(text.substr(0, newline));
  text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
  return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace quelvar
