// Tool tip and balloon fields of the tray icon's record; see tray_text.h.
#include "ui/tray_text.h"

namespace quelvar {

std::string TrayTipField(std::string_view toolTip) {
  std::string field;
  if (toolTip.empty()) {
    field.assign(1, '\0');
  } else {
    field.reserve(toolTip.size() + 3);
    field += ' ';
    field += toolTip;
    field += ' ';
    field += '\0';
  }
  field.resize(kTrayTipChars, ' ');
  if (field.find('\0') == std::string::npos) field.back() = '\0';
  return field;
}

std::string TraySpaceFilledField(std::string_view text, std::size_t width) {
  if (width == 0) return {};
  std::string field(text.substr(0, width - 1));
  field += '\0';
  field.resize(width - 1, ' ');
  field += '\0';
  return field;
}

std::string ComposeTrayTip(std::string_view firstLine, std::string_view statusLine,
                           std::string_view separator) {
  std::string tip(firstLine);
  if (statusLine.empty() || tip.size() + separator.size() >= kTrayTipTextChars) return tip;
  tip += separator;
  tip += statusLine.substr(0, kTrayTipTextChars - tip.size());
  return tip;
}

}  // namespace quelvar
