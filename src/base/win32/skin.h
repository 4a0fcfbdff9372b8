// The skinning component of the main window: loads "\RQLVMask.skn" (or keeps its built-in
// look), applies a named skin object to a window, and answers the colour messages of the
// windows that host skinned controls. A skinned window carries its object in a window
// property; frames are painted in the object's frame style. The component owns its brushes
// (one a colour) and fonts (the UI fonts where an object asks for no other) and must outlive
// every window it skinned.
#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/skin_file.h"
#include "base/win32/unique_handle.h"

namespace quelvar {

class SkinControl {
 public:
  SkinControl();
  SkinControl(const SkinControl&) = delete;
  SkinControl& operator=(const SkinControl&) = delete;

  // Loads the skin file; a missing or damaged file keeps the built-in look (false).
  bool LoadSkin(const std::string& path);
  // Applies the named object to the window; an unknown name leaves the window unchanged
  // (false).
  bool ApplySkin(HWND window, const char* objectName);

  struct Applied {
    SkinObject object;
    HBRUSH brush = nullptr;  // shared by the objects of one background colour
    HFONT font = nullptr;    // null: the window's own font
  };
  // The object applied to a window, or null.
  static const Applied* AppliedTo(HWND window);

 private:
  void Rebuild(const SkinObjects& objects);

  std::map<std::string, Applied, std::less<>> m_objects;
  std::map<COLORREF, UniqueBrush> m_brushes;
  std::vector<UniqueFont> m_fonts;
};

// A control's tag (a frame tagged "No" is skinned as "NoFrame"), kept as a window property.
void SetControlTag(HWND control, const char* tag);
std::string ControlTag(HWND control);

// For WM_CTLCOLORSTATIC / WM_CTLCOLORBTN in a window that hosts skinned controls: the
// brush to return, having set the colours on `dc`; nullopt when neither the control nor the
// host is skinned (let DefWindowProc answer).
std::optional<LRESULT> SkinCtlColor(HDC dc, HWND control, HWND host);
// For WM_ERASEBKGND of a skinned window: fills it and returns true.
bool SkinEraseBackground(HWND window, HDC dc);

// The skin's part of a host window's procedure, written once: WM_ERASEBKGND of a skinned
// window and WM_CTLCOLORSTATIC / WM_CTLCOLORBTN of the controls it hosts. True with *result
// when the skin answers; false to let the window answer as it would without a skin.
bool SkinHostMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

}  // namespace quelvar
