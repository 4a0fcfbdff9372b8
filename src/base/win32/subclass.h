// The one subclassing helper. A hook puts a handler in front of a window's procedure and
// chains to what it replaced; several hooks on one window form a chain, newest first. Unhook
// takes out only its own hook, in any order: the hooks around it keep working, and the
// window's first procedure comes back only when the last hook goes and nobody else has
// replaced the procedure since. Hooks still in place when the window is destroyed let go by
// themselves. Handlers run behind the failure net. Window threads only.
#pragma once
#include <windows.h>

#include <functional>

namespace quelvar {

class Subclass {
 public:
  // Answers a message; `hook.CallNext` passes it (or another) on down the chain.
  using Handler = std::function<LRESULT(Subclass& hook, UINT message, WPARAM wParam,
                                        LPARAM lParam)>;

  Subclass() = default;
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;
  ~Subclass() { Unhook(); }

  // Hooks `window`; false when the window is gone or already hooked by this object.
  bool Hook(HWND window, Handler handler);
  void Unhook();
  bool IsHooked() const { return m_window != nullptr; }
  HWND window() const { return m_window; }

  // A hook that belongs to the window: it lives until the window is destroyed.
  static Subclass* HookForLife(HWND window, Handler handler);

  // The next older hook, or the window's own procedure.
  LRESULT CallNext(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Chain;
  friend struct Chain;
  static LRESULT CALLBACK ChainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_window = nullptr;
  HWND m_lastWindow = nullptr;  // kept after Unhook, for CallNext inside the handler
  Handler m_handler;
  bool m_ownedByWindow = false;
};

}  // namespace quelvar
