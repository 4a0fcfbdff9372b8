// Splash screen; see splash.h.
#include "main/win32/splash.h"

#include "base/win32/paint.h"

namespace quelvar {

namespace {
constexpr UINT_PTR kCloseTimer = 1;
}  // namespace

bool Splash::Start(int closeAfterSeconds) {
  m_bitmap.reset(static_cast<HBITMAP>(
      ::LoadImageA(nullptr, m_path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  BITMAP info{};
  if (m_bitmap && ::GetObjectA(m_bitmap.get(), sizeof(info), &info)) {
    m_size = {info.bmWidth, info.bmHeight};
  } else {
    m_bitmap.reset();
    m_size = {Scale(440), Scale(260)};
  }
  const RECT work = WorkArea();
  const int x = work.left + (work.right - work.left - m_size.cx) / 2;
  const int y = work.top + (work.bottom - work.top - m_size.cy) / 2;
  if (!Create("QuelvarSplash", "Quelvar", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, x, y,
              m_size.cx, m_size.cy, nullptr)) {
    return false;
  }
  ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  ::UpdateWindow(hwnd());
  if (closeAfterSeconds > 0) {
    ::SetTimer(hwnd(), kCloseTimer, static_cast<UINT>(closeAfterSeconds) * 1000, nullptr);
  }
  return true;
}

void Splash::Close() {
  Destroy();
  m_bitmap.reset();
}

LRESULT Splash::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_TIMER: Close(); return 0;
    default: return DefaultProc(message, wParam, lParam);
  }
}

void Splash::OnPaint() {
  PaintDc paint(hwnd());
  if (m_bitmap) {
    DrawBitmap(paint.get(), m_bitmap.get(), 0, 0, m_size.cx, m_size.cy);
    return;
  }
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  FillSolid(paint.get(), client, RGB(0x1D, 0x2B, 0x3A));
  ::SetBkMode(paint.get(), TRANSPARENT);
  ::SetTextColor(paint.get(), RGB(0xFF, 0xFF, 0xFF));
  SelectGuard font(paint.get(), UiFontBold());
  ::DrawTextA(paint.get(), "Quelvar is starting...", -1, &client,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace quelvar
