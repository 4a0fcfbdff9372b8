// Tool tips for the controls of one window. The tool tip window belongs to its owner window and
// goes with it.
#pragma once
#include <windows.h>

#include <string>

namespace quelvar {

class ToolTips {
 public:
  // Creates the tool tip window for `owner`; tips wrap at `maxWidth` pixels. Without it (an old
  // comctl32) Add does nothing.
  void Create(HWND owner, int maxWidth);
  void Add(HWND control, const char* text);
  // Adds the tip, or changes the text of one already added.
  void Set(HWND control, const std::string& text);
  // Takes the tip of a control away (before the control goes).
  void Remove(HWND control);

 private:
  HWND m_owner = nullptr;
  HWND m_tips = nullptr;
};

}  // namespace quelvar
