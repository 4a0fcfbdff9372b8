// Asks for one WM_MOUSELEAVE when the mouse leaves a window, on every Windows: user32's
// TrackMouseEvent (98, NT 4 and later), else comctl32's _TrackMouseEvent (4.70 and later), else
// a short timer on the window that watches the cursor and sends WM_MOUSELEAVE itself (Windows 95
// with the original common controls).
#pragma once
#include <windows.h>

namespace quelvar {

// Call on WM_MOUSEMOVE when the window becomes "hot". Harmless when already tracking.
void TrackMouseLeave(HWND window);

// How the leave is detected on this system (for tests and the start-up log).
enum class MouseLeaveMethod { User32, Comctl32, Timer };
MouseLeaveMethod CurrentMouseLeaveMethod();

// The timer's identifier on the tracked window (kept clear of the windows' own timers).
constexpr UINT_PTR kMouseLeaveTimerId = 0x4D4C;
// How often the timer looks at the cursor, in milliseconds.
constexpr UINT kMouseLeavePollMs = 100;

}  // namespace quelvar
