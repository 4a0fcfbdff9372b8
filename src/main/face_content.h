// The main window's face content ("\RQLV.swf"): a small declarative text file naming the
// face's title, its home and about texts, its groups and its buttons with their captions,
// commands, tool tips and positions. The face draws and places what this file describes.
//
// Layout of the file (plain ANSI text, one statement per line):
//   QUELVAR-FACE 1                      first line, the format and its version
//   ; or #                              a comment line; blank lines are ignored
//   title: <name> | <tagline>
//   about: <version> | <credits line>
//   home: <heading> | <introduction>
//   titlebar: x,y,w,h                   the area that drags the window
//   group: <caption> | <what the group does, for the home screen>
//   group:                              an empty caption ends grouping (stand-alone buttons)
//   button: x,y,w,h | <caption> | <command> | <tool tip> [| home|about]
//   window: x,y,w,h | <caption> | <command> | <tool tip>      a title bar button
// Positions are pixels at 96 dpi in the face's own coordinates (709 x 513). A button's
// command is raised to the main window as it stands; the optional last field names the face
// view the button also switches to. Captions may carry an "&" mnemonic.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelvar {

inline constexpr int kFaceWidth = 709;
inline constexpr int kFaceHeight = 513;

struct FaceRect {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const FaceRect&, const FaceRect&) = default;
};

enum class FaceView { None, Home, About };

struct FaceButton {
  FaceRect rect;
  std::string caption;
  std::string command;
  std::string toolTip;
  FaceView view = FaceView::None;
  int group = -1;             // index into FaceContent::groups; -1 stands alone
  bool titleBar = false;      // a window button in the title bar
};

struct FaceGroup {
  std::string caption;
  std::string description;
};

struct FaceContent {
  std::string title;
  std::string tagline;
  std::string version;
  std::string credits;
  std::string homeHeading;
  std::string homeText;
  FaceRect titleBar;
  std::vector<FaceGroup> groups;
  std::vector<FaceButton> buttons;
};

struct FaceParseResult {
  std::optional<FaceContent> content;
  std::string error;  // "line N: what is wrong" when content is empty
};

FaceParseResult ParseFaceContent(std::string_view text);

// The content the program carries itself, used when the file is missing or damaged.
const FaceContent& BuiltInFaceContent();
std::string_view BuiltInFaceText();

// The caption without its "&" mnemonic markers ("&&" stays one "&").
std::string StripMnemonic(std::string_view caption);

}  // namespace quelvar
