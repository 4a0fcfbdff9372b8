// Small text helpers shared by the program's file readers.
#pragma once
#include <string_view>

namespace quelvar {

// Without the spaces, tabs and carriage returns at either end.
std::string_view Trim(std::string_view text);

// Takes the next line off the front of `text` (up to its line feed, which is dropped) and gives
// it back trimmed; false when `text` is empty.
bool NextTrimmedLine(std::string_view& text, std::string_view& line);

// Equal without regard to letter case (ASCII letters), as the registry compares key names.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace quelvar
