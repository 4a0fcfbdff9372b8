// The fixed-length text fields of the tray icon's notification record (tool tip, balloon
// text and title), the tray control's property defaults and the EventMode range.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace quelvar {

// Field widths of the notify-icon record, in characters, terminating NUL included.
constexpr std::size_t kTrayTipChars = 128;
constexpr std::size_t kTrayInfoChars = 256;
constexpr std::size_t kTrayInfoTitleChars = 64;

inline constexpr char kDefaultTrayToolTip[] = "Program notification";
inline constexpr char kDefaultTrayBalloonToolTip[] = "The Program Still Running Here";
constexpr int kDefaultTrayEventMode = 0;

// EventMode 0 raises LeftClick and RightClick; 1 raises MouseClick with the button.
constexpr int kTrayEventModeSeparate = 0;
constexpr int kTrayEventModeMouseClick = 1;
constexpr int ClampTrayEventMode(int mode) {
  return mode > kTrayEventModeMouseClick  ? kTrayEventModeMouseClick
         : mode < kTrayEventModeSeparate ? kTrayEventModeSeparate
                                          : mode;
}

// The tool tip field: " " + tip + " " + NUL, filled out with spaces to kTrayTipChars; a lone
// NUL when the tip is empty. A long tip is cut off, and the field's last character is then
// a NUL so the shell never reads past it. The result is exactly kTrayTipChars long.
std::string TrayTipField(std::string_view toolTip);

// The balloon's text and title fields: the text and a NUL, filled out with spaces to
// `width`; text beyond width - 1 characters is cut off; the last character is always a NUL.
// The NUL right after the text keeps the fill out of the balloon, which would otherwise be
// drawn as wide as 255 characters. The result is exactly `width` long.
std::string TraySpaceFilledField(std::string_view text, std::size_t width);

// The longest tool tip the field holds whole, with its blanks around it and its NUL.
constexpr std::size_t kTrayTipTextChars = kTrayTipChars - 3;

// Between the two lines of a tip: shells that show tips on one line only (those of Windows
// 95, 98 and NT 4) would draw a line break as a box, so they get kTrayTipOneLineSeparator.
inline constexpr std::string_view kTrayTipLineBreak = "\n";
inline constexpr std::string_view kTrayTipOneLineSeparator = " - ";

// The tool tip made of its first line and a status line after the separator: the first line
// alone, exactly as given, when there is no status line; otherwise the status line is cut so
// the whole fits kTrayTipTextChars (the first line is never cut).
std::string ComposeTrayTip(std::string_view firstLine, std::string_view statusLine,
                           std::string_view separator = kTrayTipLineBreak);

}  // namespace quelvar
