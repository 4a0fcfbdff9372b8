// The one base class for the program's windows: a static window procedure keeps `this`
// from WM_NCCREATE to WM_NCDESTROY and runs every message behind the failure net.
#pragma once
#include <windows.h>

#include <string>

namespace quelvar {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // A window still alive is destroyed without calling back into the object.
  virtual ~Window();

  HWND hwnd() const { return m_hwnd; }

  // Registers `className` once (with this class's procedure) and creates the window.
  bool Create(const char* className, const char* caption, DWORD style, DWORD exStyle, int x,
              int y, int width, int height, HWND parent, HMENU menuOrId = nullptr,
              HBRUSH background = nullptr);
  void Destroy();

  // Pixels scaled from 96 dpi to the screen's dpi (ScreenDpi).
  static int Scale(int pixels96);
  // Screen twips per pixel (15 at 96 dpi), horizontally and vertically.
  static int TwipsPerPixelX();
  static int TwipsPerPixelY();

 protected:
  // One line per message in derived classes; return DefaultProc for the rest.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Called when WM_NCDESTROY has cleared the handle.
  virtual void OnFinalDestroy() {}

 private:
  static LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hwnd = nullptr;
};

// The screen's dots per inch, read once per process (96 when the screen does not say).
int ScreenDpiX();
int ScreenDpiY();
// The part of the screen outside the taskbar; the whole primary screen when Windows cannot say.
RECT WorkArea();

// The font every window uses (the system's message font, at the screen's dpi).
HFONT UiFont();
HFONT UiFontBold();
// Sets UiFont on the window and every child control.
void ApplyUiFont(HWND window);

}  // namespace quelvar
