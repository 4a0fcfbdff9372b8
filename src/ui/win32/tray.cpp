// The tray icon control's window, shell calls and picture; see tray.h.
#include "ui/win32/tray.h"

#include "base/win32/failure_net.h"
#include "base/win32/paint.h"

#include <algorithm>
#include <cstring>

#include "base/system_features.h"
#include "base/win32/optional_api.h"

namespace quelvar {

namespace {

constexpr UINT_PTR kTimer1Id = 1;
constexpr int kIconPixels = 32;

#if !defined(_WIN64)
static_assert(Tray::kRecordSize == 488, "the shell expects the 488-byte record on 32-bit Windows");
static_assert(Tray::kRecordSizeV1 == 88, "shells before 5.0 expect the 88-byte record");
#endif
static_assert(kTrayCallbackMessage == WM_MOUSEMOVE && kTrayLeftButtonDown == WM_LBUTTONDOWN &&
              kTrayRightButtonDown == WM_RBUTTONDOWN);
static_assert(static_cast<DWORD>(TrayShellOp::Add) == NIM_ADD &&
              static_cast<DWORD>(TrayShellOp::Modify) == NIM_MODIFY &&
              static_cast<DWORD>(TrayShellOp::Delete) == NIM_DELETE);
static_assert(kTrayFlagsBalloon == (NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));

template <std::size_t N>
void CopyField(char (&target)[N], const std::string& field) {
  std::memset(target, 0, N);
  std::memcpy(target, field.data(), std::min(N, field.size()));
  if (!std::memchr(target, '\0', N)) target[N - 1] = '\0';
}

// The shell's callback reuses the mouse-move message number: it carries the icon's
// identifier in wParam and a mouse message number in lParam. A real move over the face
// carries key flags and client coordinates of a 36-pixel face, never a message number.
bool IsIconNotification(WPARAM wParam, LPARAM lParam) {
  return wParam == kTrayIconId && lParam >= WM_MOUSEFIRST && lParam <= WM_MOUSELAST;
}

}  // namespace

Tray::Tray() = default;

// Destroyed here, while the object is whole, so that WM_DESTROY takes the icon away.
Tray::~Tray() { Destroy(); }

bool Tray::Create(HWND parent, TrayEvents& events, int x, int y, int id) {
  m_logic.SetEvents(events);
  m_recordSize = ShellFeaturesFor(optional_api::ShellVersion()).trayRecordV2 ? kRecordSize : kRecordSizeV1;
  m_taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
  if (!Window::Create("QuelvarTray", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, x, y,
                      kFaceSize, kFaceSize, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
    return false;
  }
  // A hidden top-level window without a taskbar button: only top-level windows hear the
  // shell announce a restart. The icon works without it, but would not come back.
  if (!m_watcher.Create("QuelvarTrayWatcher", "", WS_POPUP, 0, 0, 0, 0, 0, nullptr)) {
    RecordFailure(
        "Quelvar could not set up its watch on the taskbar. Its tray icon works, but if the "
        "taskbar restarts the icon will not come back until Quelvar is started again.");
  }
  return true;
}

void Tray::SetTrayImage(HICON icon) {
  if (icon == m_icon) {
    m_logic.MarkChanged();
    return;
  }
  ICONINFO info{};
  if (icon && ::GetIconInfo(icon, &info)) {
    UniqueBitmap color(info.hbmColor);
    UniqueBitmap mask(info.hbmMask);
    if (!info.fIcon) {
      // A cursor: through the image list to an icon of the tray's size.
      HIMAGELIST list = ImgList();
      ::ImageList_SetIconSize(list, kIconPixels, kIconPixels);
      const int index = ::ImageList_ReplaceIcon(list, -1, icon);
      AdoptIcon(index >= 0 ? ::ImageList_GetIcon(list, index, ILD_NORMAL) : nullptr);
      ::ImageList_RemoveAll(list);
      m_logic.MarkChanged();
      return;
    }
  }
  m_ownedIcon.reset();
  m_icon = icon;
  m_logic.MarkChanged();
}

void Tray::SetTrayImage(HBITMAP bitmap) {
  if (!bitmap) {
    SetTrayImage(nullptr);
    return;
  }
  BITMAP source{};
  if (!::GetObjectA(bitmap, sizeof(source), &source)) return;
  // The image list keeps its images at 32 by 32: draw the bitmap to that size first.
  ClientDc screen(nullptr);
  UniqueBitmap scaled(::CreateCompatibleBitmap(screen.get(), kIconPixels, kIconPixels));
  if (!scaled) return;
  {
    BitmapDc from(screen.get(), bitmap);
    BitmapDc to(screen.get(), scaled.get());
    if (!from || !to) return;
    ::SetStretchBltMode(to.get(), HALFTONE);
    ::SetBrushOrgEx(to.get(), 0, 0, nullptr);
    ::StretchBlt(to.get(), 0, 0, kIconPixels, kIconPixels, from.get(), 0, 0, source.bmWidth,
                 std::abs(source.bmHeight), SRCCOPY);
  }
  HIMAGELIST list = ImgList();
  ::ImageList_SetIconSize(list, kIconPixels, kIconPixels);
  const int index = ::ImageList_Add(list, scaled.get(), nullptr);
  AdoptIcon(index >= 0 ? ::ImageList_GetIcon(list, index, ILD_NORMAL) : nullptr);
  ::ImageList_RemoveAll(list);
  m_logic.MarkChanged();
}

void Tray::SetTrayImage(std::nullptr_t) {
  m_ownedIcon.reset();
  m_icon = nullptr;
  m_logic.MarkChanged();
}

void Tray::ReadProperties(const TrayPropertyBag& bag, HICON picture) {
  m_logic.ReadProperties(bag);
  if (picture != m_icon) {
    m_ownedIcon.reset();
    m_icon = picture;
  }
}

void Tray::AdoptIcon(HICON icon) {
  m_ownedIcon.reset(icon);
  m_icon = icon;
}

HIMAGELIST Tray::ImgList() {
  if (!m_ImgList) {
    m_ImgList.reset(::ImageList_Create(kIconPixels, kIconPixels, ILC_COLOR24 | ILC_MASK, 1, 1));
  }
  return m_ImgList.get();
}

bool Tray::NotifyIcon(TrayShellOp op, const TrayRecord& record) {
  const bool v2 = m_recordSize == kRecordSize;
  m_record.cbSize = m_recordSize;
  m_record.hWnd = hwnd();
  m_record.uID = record.id;
  // The first record has no balloon fields: an old shell would read past its end.
  m_record.uFlags = v2 ? record.flags : record.flags & ~static_cast<UINT>(NIF_INFO);
  m_record.uCallbackMessage = record.callbackMessage;
  m_record.hIcon = m_icon;
  CopyField(m_record.szTip, record.tip);
  // The first record's tip holds 64 characters with its end.
  if (!v2) m_record.szTip[63] = '\0';
  if (record.balloon && v2) {
    m_record.dwState = record.state;
    m_record.dwStateMask = record.stateMask;
    CopyField(m_record.szInfo, record.info);
    m_record.uTimeout = record.timeout;
    CopyField(m_record.szInfoTitle, record.infoTitle);
    m_record.dwInfoFlags = record.infoFlags;
  }
  // The icon last sent, where other programs can read it (the UI tests do).
  ::SetPropA(hwnd(), kTrayIconProperty, m_record.hIcon);
  return ::Shell_NotifyIconA(static_cast<DWORD>(op), &m_record) != FALSE;
}

void Tray::SetTimer1(unsigned intervalMilliseconds) {
  if (!hwnd()) return;
  if (intervalMilliseconds == 0) {
    ::KillTimer(hwnd(), kTimer1Id);
  } else {
    ::SetTimer(hwnd(), kTimer1Id, intervalMilliseconds, nullptr);
  }
}

LRESULT Tray::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kTrayCallbackMessage:
      if (!IsIconNotification(wParam, lParam)) break;
      m_logic.OnNotification(static_cast<unsigned>(lParam));
      return 0;
    case WM_TIMER:
      if (wParam != kTimer1Id) break;
      Timer1_Timer();
      return 0;
    case WM_WINDOWPOSCHANGING:
      OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
      break;
    case WM_SIZE:
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_DESTROY:
      // A window that is gone cannot answer its icon: take the icon with it.
      Show(false);
      ::KillTimer(hwnd(), kTimer1Id);
      ::RemovePropA(hwnd(), kTrayIconProperty);
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

void Tray::OnWindowPosChanging(WINDOWPOS& position) {
  if (position.flags & SWP_NOSIZE) return;
  position.cx = kFaceSize;
  position.cy = kFaceSize;
}

void Tray::OnPaint() {
  PaintDc paint(hwnd());
  RECT face{0, 0, kFaceSize, kFaceSize};
  ::FillRect(paint.get(), &face, ::GetSysColorBrush(COLOR_BTNFACE));
  ::DrawEdge(paint.get(), &face, BDR_RAISEDINNER, BF_RECT);
  if (m_icon) {
    const int inset = (kFaceSize - kIconPixels) / 2;
    ::DrawIconEx(paint.get(), inset, inset, m_icon, kIconPixels, kIconPixels, 0, nullptr,
                 DI_NORMAL);
    return;
  }
  // No picture yet: a small notification area with one lit icon.
  RECT bar{6, 22, 30, 30};
  ::FillRect(paint.get(), &bar, ::GetSysColorBrush(COLOR_3DSHADOW));
  RECT light{23, 24, 27, 28};
  ::FillRect(paint.get(), &light, ::GetSysColorBrush(COLOR_HIGHLIGHT));
}

LRESULT Tray::Watcher::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == m_tray.m_taskbarCreated && message != 0) {
    m_tray.m_logic.OnTaskbarCreated();
    return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

}  // namespace quelvar
