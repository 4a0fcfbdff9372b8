// Base window plumbing; see window.h.
#include "base/win32/window.h"

#include "base/win32/failure_net.h"

namespace quelvar {

// By now the derived parts of the object are gone, so the window must not reach them: it is
// let go first and then destroyed with no object behind it. Owners that want their windows to
// see their own WM_DESTROY destroy them while the objects are whole (frmMain does, for all of
// its windows).
Window::~Window() {
  if (!m_hwnd) return;
  const HWND window = m_hwnd;
  ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  m_hwnd = nullptr;
  ::DestroyWindow(window);
}

bool Window::Create(const char* className, const char* caption, DWORD style, DWORD exStyle,
                    int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                    HBRUSH background) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (!::GetClassInfoExA(instance, className, &existing)) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Window::StaticProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background ? background : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    // One shared copy of the program's icon in each size serves every class (the system
    // keeps shared icons for the life of the program).
    wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(1));
    wc.hIconSm = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.lpszClassName = className;
    if (!::RegisterClassExA(&wc)) return false;
  }
  return ::CreateWindowExA(exStyle, className, caption, style, x, y, width, height, parent,
                           menuOrId, instance, this) != nullptr;
}

void Window::Destroy() {
  if (m_hwnd) ::DestroyWindow(m_hwnd);
}

namespace {
struct Dpi {
  int x = 96;
  int y = 96;
};

const Dpi& ScreenDpi() {
  static const Dpi dpi = [] {
    Dpi read;
    HDC screen = ::GetDC(nullptr);
    if (screen) {
      const int x = ::GetDeviceCaps(screen, LOGPIXELSX);
      const int y = ::GetDeviceCaps(screen, LOGPIXELSY);
      if (x > 0) read.x = x;
      if (y > 0) read.y = y;
      ::ReleaseDC(nullptr, screen);
    }
    return read;
  }();
  return dpi;
}
}  // namespace

int ScreenDpiX() { return ScreenDpi().x; }
int ScreenDpiY() { return ScreenDpi().y; }

RECT WorkArea() {
  RECT work{};
  if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) || work.right <= work.left ||
      work.bottom <= work.top) {
    work = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  return work;
}

int Window::Scale(int pixels96) { return ::MulDiv(pixels96, ScreenDpiY(), 96); }

int Window::TwipsPerPixelX() { return 1440 / ScreenDpiX(); }

int Window::TwipsPerPixelY() { return 1440 / ScreenDpiY(); }

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultProc(message, wParam, lParam);
}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    self = static_cast<Window*>(create->lpCreateParams);
    self->m_hwnd = window;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcA(window, message, wParam, lParam);

  const LRESULT result =
      Guarded(LRESULT{0}, [&] { return self->HandleMessage(message, wParam, lParam); });
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->m_hwnd = nullptr;
    Guarded([&] { self->OnFinalDestroy(); });
  }
  return result;
}

namespace {
HFONT MakeUiFont(bool bold) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  LOGFONTA font{};
  if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font = metrics.lfMessageFont;
  } else {
    font.lfHeight = -Window::Scale(12);
    lstrcpynA(font.lfFaceName, "Tahoma", LF_FACESIZE);
  }
  if (bold) font.lfWeight = FW_BOLD;
  return ::CreateFontIndirectA(&font);
}
}  // namespace

HFONT UiFont() {
  static HFONT font = MakeUiFont(false);
  return font;
}

HFONT UiFontBold() {
  static HFONT font = MakeUiFont(true);
  return font;
}

namespace {
BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
  Guarded([&] { ::SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE); });
  return TRUE;
}
}  // namespace

void ApplyUiFont(HWND window) {
  ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  ::EnumChildWindows(window, &SetFontOnChild, reinterpret_cast<LPARAM>(UiFont()));
}

}  // namespace quelvar
