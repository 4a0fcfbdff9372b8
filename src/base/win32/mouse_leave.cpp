// Mouse-leave tracking with its fallbacks; see mouse_leave.h.
#include "base/win32/mouse_leave.h"

#include "base/win32/optional_api.h"

namespace quelvar {

namespace {

// The cursor is "in" the window when the window under it is this one or one of its children.
bool CursorInside(HWND window) {
  POINT cursor{};
  if (!::GetCursorPos(&cursor)) return false;
  HWND under = ::WindowFromPoint(cursor);
  return under == window || (under != nullptr && ::IsChild(window, under));
}

void CALLBACK LeaveTimerProc(HWND window, UINT, UINT_PTR id, DWORD) {
  if (!::IsWindow(window) || CursorInside(window)) return;
  // A WM_TIMER already queued outlives KillTimer: only the call that stops the timer reports.
  if (!::KillTimer(window, id)) return;
  ::SendMessageA(window, WM_MOUSELEAVE, 0, 0);
}

}  // namespace

MouseLeaveMethod CurrentMouseLeaveMethod() {
  if (optional_api::TrackMouseEvent()) return MouseLeaveMethod::User32;
  if (optional_api::ComctlTrackMouseEvent()) return MouseLeaveMethod::Comctl32;
  return MouseLeaveMethod::Timer;
}

void TrackMouseLeave(HWND window) {
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
  if (auto user32 = optional_api::TrackMouseEvent()) {
    if (user32(&track)) return;
  }
  if (auto comctl32 = optional_api::ComctlTrackMouseEvent()) {
    if (comctl32(&track)) return;
  }
  // Setting the timer again only restarts it.
  ::SetTimer(window, kMouseLeaveTimerId, kMouseLeavePollMs, &LeaveTimerProc);
}

}  // namespace quelvar
