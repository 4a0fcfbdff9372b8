// Skin file parser and control kinds; see skin_file.h.
#include "base/skin_file.h"

#include <cctype>
#include <charconv>
#include <vector>

#include "base/text_util.h"

namespace quelvar {

namespace {

std::optional<SkinColor> ParseColor(std::string_view text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  SkinColor value = 0;
  const auto [next, error] = std::from_chars(text.data() + 1, text.data() + 7, value, 16);
  if (error != std::errc() || next != text.data() + 7) return std::nullopt;
  return value;
}

bool ParseFont(std::string_view text, SkinObject& object) {
  std::vector<std::string_view> parts;
  while (true) {
    const auto comma = text.find(',');
    parts.push_back(Trim(text.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (parts.size() < 2 || parts.size() > 3) return false;
  int points = 0;
  const auto [next, error] =
      std::from_chars(parts[1].data(), parts[1].data() + parts[1].size(), points);
  if (error != std::errc() || next != parts[1].data() + parts[1].size() || points < 0 ||
      points > 72) {
    return false;
  }
  bool bold = false;
  if (parts.size() == 3) {
    if (parts[2] != "bold") return false;
    bold = true;
  }
  object.fontFace = std::string(parts[0]);
  object.fontPoints = points;
  object.fontBold = bold;
  return true;
}

SkinObjects MakeBuiltInSkin() {
  SkinObjects objects;
  const SkinColor page = SkinRgb(0xFF, 0xFF, 0xFF);
  SkinObject main;
  main.back = SkinRgb(0xF3, 0xF5, 0xF8);
  objects["Main"] = main;
  SkinObject noFrame;
  noFrame.back = page;
  objects["NoFrame"] = noFrame;
  objects["controlForm"] = noFrame;
  SkinObject control;
  control.back = page;
  objects["Button"] = control;
  objects["Label"] = control;
  objects["CheckBox"] = control;
  objects["RadioBox"] = control;
  SkinObject frame = control;
  frame.frame = SkinFrameStyle::Line;
  frame.fontBold = true;
  objects["Frame"] = frame;
  return objects;
}

}  // namespace

const SkinObjects& BuiltInSkin() {
  static const SkinObjects objects = MakeBuiltInSkin();
  return objects;
}

SkinParseResult ParseSkin(std::string_view text) {
  SkinParseResult result;
  SkinObjects objects = BuiltInSkin();
  SkinObject* current = nullptr;
  int lineNumber = 0;
  bool sawHeader = false;
  auto fail = [&](const std::string& what) {
    result.error = "line " + std::to_string(lineNumber) + ": " + what;
    return result;
  };
  std::string_view line;
  while (NextTrimmedLine(text, line)) {
    ++lineNumber;
    if (!sawHeader) {
      if (line != "QUELVAR-SKIN 1") return fail("not a skin file (expected \"QUELVAR-SKIN 1\")");
      sawHeader = true;
      continue;
    }
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      if (line.back() != ']' || line.size() < 3) return fail("an object name is written [Name]");
      current = &objects[std::string(Trim(line.substr(1, line.size() - 2)))];
      continue;
    }
    if (!current) return fail("a setting outside any [object]");
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return fail("expected \"key = value\"");
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value = Trim(line.substr(equals + 1));
    if (key == "back" || key == "text" || key == "accent" || key == "border") {
      const auto color = ParseColor(value);
      if (!color) return fail("a colour is written #RRGGBB");
      (key == "back"     ? current->back
       : key == "text"   ? current->text
       : key == "accent" ? current->accent
                         : current->border) = *color;
    } else if (key == "font") {
      if (!ParseFont(value, *current)) return fail("a font is written <face>, <points>[, bold]");
    } else if (key == "frame") {
      if (value == "none") current->frame = SkinFrameStyle::None;
      else if (value == "line") current->frame = SkinFrameStyle::Line;
      else if (value == "group") current->frame = SkinFrameStyle::Group;
      else return fail("frame is none, line or group");
    } else {
      return fail("unknown key \"" + std::string(key) + "\"");
    }
  }
  if (!sawHeader) return fail("the file is empty");
  result.objects = std::move(objects);
  return result;
}

ControlKind ClassifyControl(std::string_view windowClass, std::uint32_t style) {
  if (windowClass == kSkinLabelClass) return ControlKind::SkinLabel;
  if (!EqualsNoCase(windowClass, "Button")) return ControlKind::Other;
  switch (style & 0x0Fu) {
    case 0x0:  // BS_PUSHBUTTON
    case 0x1:  // BS_DEFPUSHBUTTON
    case 0xB:  // BS_OWNERDRAW
      return ControlKind::Button;
    case 0x2:  // BS_CHECKBOX
    case 0x3:  // BS_AUTOCHECKBOX
    case 0x5:  // BS_3STATE
    case 0x6:  // BS_AUTO3STATE
      return ControlKind::CheckBox;
    case 0x4:  // BS_RADIOBUTTON
    case 0x9:  // BS_AUTORADIOBUTTON
      return ControlKind::OptionButton;
    case 0x7:  // BS_GROUPBOX
      return ControlKind::Frame;
    default: return ControlKind::Other;
  }
}

const char* SkinObjectForControl(ControlKind kind, std::string_view tag) {
  switch (kind) {
    case ControlKind::Button: return "Button";
    case ControlKind::SkinLabel: return "Label";
    case ControlKind::Frame: return tag == "No" ? "NoFrame" : "Frame";
    case ControlKind::CheckBox: return "CheckBox";
    case ControlKind::OptionButton: return "RadioBox";
    case ControlKind::Other: return nullptr;
  }
  return nullptr;
}

}  // namespace quelvar
