// The skin ("\RQLVMask.skn"): named skin objects with colours, a font and a frame style,
// and the rule that picks the object for each kind of control.
//
// Layout of the file (plain ANSI text):
//   QUELVAR-SKIN 1                  first line, the format and its version
//   ; or #                          a comment line; blank lines are ignored
//   [Name]                          starts a skin object (names are case-sensitive)
//   back = #RRGGBB                  background colour
//   text = #RRGGBB                  text colour
//   accent = #RRGGBB                captions of frames, highlights
//   border = #RRGGBB                lines of frames and borders
//   font = <face>, <points>[, bold] the font; an empty face keeps the system's font
//   frame = none | line | group     no border, a thin flat outline, the system's group box
// A key left out keeps the built-in value of that object. The program applies the objects
// "Main", "NoFrame", "controlForm", "Button", "Label", "Frame", "CheckBox" and "RadioBox".
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quelvar {

using SkinColor = std::uint32_t;  // 0x00RRGGBB
constexpr SkinColor SkinRgb(int r, int g, int b) {
  return (static_cast<SkinColor>(r) << 16) | (static_cast<SkinColor>(g) << 8) |
         static_cast<SkinColor>(b);
}

enum class SkinFrameStyle { None, Line, Group };

struct SkinObject {
  SkinColor back = SkinRgb(0xF5, 0xF7, 0xFA);
  SkinColor text = SkinRgb(0x1F, 0x29, 0x33);
  SkinColor accent = SkinRgb(0x1F, 0x6F, 0xB2);
  SkinColor border = SkinRgb(0xD3, 0xDA, 0xE3);
  std::string fontFace;  // empty: the system's message font
  int fontPoints = 0;    // 0: the system's size
  bool fontBold = false;
  SkinFrameStyle frame = SkinFrameStyle::None;
  friend bool operator==(const SkinObject&, const SkinObject&) = default;
};

using SkinObjects = std::map<std::string, SkinObject, std::less<>>;

struct SkinParseResult {
  std::optional<SkinObjects> objects;
  std::string error;  // "line N: what is wrong" when objects is empty
};

// Objects missing from the file keep their built-in values.
SkinParseResult ParseSkin(std::string_view text);
const SkinObjects& BuiltInSkin();

// The kinds of control the skinning walk tells apart; anything else stays as it is.
enum class ControlKind { Other, Button, SkinLabel, Frame, CheckBox, OptionButton };

// The window class of the skin's own label control.
inline constexpr const char* kSkinLabelClass = "QuelvarSkinLabel";

// From a control's window class and style (BS_* values of the BUTTON class).
ControlKind ClassifyControl(std::string_view windowClass, std::uint32_t style);

// The skin object a control gets: "Button", "Label", "Frame" (or "NoFrame" for a frame
// whose tag is exactly "No"), "CheckBox", "RadioBox"; nullptr for the other kinds.
const char* SkinObjectForControl(ControlKind kind, std::string_view tag);

}  // namespace quelvar
