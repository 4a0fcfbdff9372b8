// The main window's face: draws its own title bar, a navigation column of grouped command
// buttons, and a content area with the home screen, the about view, or the heading of the
// child window shown in the frame. Its buttons are real, focusable BUTTON controls with
// captions, mnemonics and tool tips; a click raises the button's command to the host, as
// the movie's command event did. The content comes from the face file (FaceContent).
#pragma once
#include <string>
#include <vector>

#include "main/face_content.h"
#include "base/win32/unique_handle.h"
#include "base/win32/window.h"

namespace quelvar {

class FaceEvents {
 public:
  virtual ~FaceEvents() = default;
  // The movie command event: a command and its argument.
  virtual void FSCommand(const std::string& command, const std::string& args) = 0;
};

class Face : public Window {
 public:
  // The dpi the face is drawn at (the screen's unless set before Create).
  void SetLayoutDpi(int dpi) { m_dpi = dpi; }
  // Pixels of the 96-dpi face at its dpi; hides Window::Scale inside the face.
  int Scale(int pixels96) const { return ::MulDiv(pixels96, m_dpi, 96); }
  // Creates the face as a child of `parent` (first control ID `firstId`).
  bool Create(HWND parent, FaceEvents& events, int firstId);
  // Loads a face file into the layer (only layer 0 is drawn); a missing or damaged file
  // loads the built-in face instead and returns false.
  bool LoadMovie(int layer, const std::string& path);
  // "_root.home" = "true" returns to the home screen; other variables are ignored.
  void SetVariable(const std::string& name, const std::string& value);

  // Where the host's child frame lies, in the face's client coordinates.
  void SetFrameRect(const RECT& frame) { m_frameRect = frame; }
  // The host has shown a child window for the button that raised the current command.
  void MarkPageShown();
  // The host brought the face in front of the child frame again.
  void PageClosed();

  FaceView View() const { return m_view; }
  const FaceContent& Content() const { return m_content; }
  HWND ButtonWindow(std::size_t index) const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  struct Fonts {
    UniqueFont normal, bold, small, title, heading, large;
  };
  void BuildButtons();
  void DestroyButtons();
  void MakeFonts();
  RECT Scaled(const FaceRect& rect) const;
  void OnPaint();
  void PaintContent(HDC dc, const RECT& client);
  void PaintCard(HDC dc, const RECT& card) const;
  void PaintHome(HDC dc);
  void PaintAbout(HDC dc);
  void PaintPage(HDC dc);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnButtonClicked(std::size_t index);
  void SetView(FaceView view);
  void OnButtonMouse(HWND button, UINT message);

  int m_dpi = ScreenDpiY();
  FaceEvents* m_events = nullptr;
  int m_firstId = 0;
  FaceContent m_content;
  std::vector<HWND> m_buttons;
  HWND m_toolTip = nullptr;
  Fonts m_fonts;
  UniqueIcon m_logo;     // 24 pixels, the title bar's
  UniqueIcon m_bigLogo;  // 48 pixels, the about view's
  FaceView m_view = FaceView::Home;
  int m_page = -1;      // the button whose child window is shown, or -1
  int m_raising = -1;   // the button whose command is being raised
  int m_hot = -1;       // the button under the mouse
  RECT m_frameRect{};
};

}  // namespace quelvar
