// The subclassing helper; see subclass.h. A window's hooks live in one chain object kept in a
// window property; one shared procedure walks it.
#include "base/win32/subclass.h"

#include <algorithm>
#include <vector>

#include "base/win32/failure_net.h"

namespace quelvar {

namespace {
constexpr const char* kChainProperty = "QuelvarSubclassChain";
}  // namespace

struct Subclass::Chain {
  WNDPROC original = nullptr;
  std::vector<Subclass*> hooks;  // oldest first
  int depth = 0;                 // messages of this window being handled right now
  bool dead = false;             // no hooks left: freed once depth returns to 0

  static Chain* Of(HWND window) { return static_cast<Chain*>(::GetPropA(window, kChainProperty)); }

  // Calls the hook below position `below` (hooks.size() means the newest).
  LRESULT CallFrom(HWND window, std::size_t below, UINT message, WPARAM wParam, LPARAM lParam) {
    if (below == 0) return ::CallWindowProcA(original, window, message, wParam, lParam);
    Subclass* hook = hooks[below - 1];
    return Guarded(LRESULT{0}, [&] { return hook->m_handler(*hook, message, wParam, lParam); });
  }

  // The last hook gone: the window gets its own procedure back unless someone replaced ours.
  void Release(HWND window) {
    if (::GetWindowLongPtrA(window, GWLP_WNDPROC) ==
        reinterpret_cast<LONG_PTR>(&Subclass::ChainProc)) {
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      ::RemovePropA(window, kChainProperty);
      dead = true;
    }
    // Otherwise the chain stays: the procedure above ours still calls ChainProc, which then
    // passes every message straight to the original.
  }
};

bool Subclass::Hook(HWND window, Handler handler) {
  if (m_window || !window || !::IsWindow(window)) return false;
  Chain* chain = Chain::Of(window);
  if (!chain) {
    chain = new Chain;
    chain->original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC));
    ::SetPropA(window, kChainProperty, chain);
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass::ChainProc));
  }
  m_window = window;
  m_lastWindow = window;
  m_handler = std::move(handler);
  chain->hooks.push_back(this);
  return true;
}

Subclass* Subclass::HookForLife(HWND window, Handler handler) {
  auto* hook = new Subclass;
  hook->m_ownedByWindow = true;
  if (!hook->Hook(window, std::move(handler))) {
    delete hook;
    return nullptr;
  }
  return hook;
}

void Subclass::Unhook() {
  if (!m_window) return;
  const HWND window = m_window;
  m_window = nullptr;
  Chain* chain = Chain::Of(window);
  if (!chain) return;
  chain->hooks.erase(std::remove(chain->hooks.begin(), chain->hooks.end(), this),
                     chain->hooks.end());
  if (!chain->hooks.empty()) return;
  chain->Release(window);
  if (chain->dead && chain->depth == 0) delete chain;
}

LRESULT Subclass::CallNext(UINT message, WPARAM wParam, LPARAM lParam) {
  // A hook that let go while handling a message still passes that message on.
  const HWND window = m_lastWindow;
  Chain* chain = window ? Chain::Of(window) : nullptr;
  if (!chain) {
    const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (!current || current == &Subclass::ChainProc) {
      return ::DefWindowProcA(window, message, wParam, lParam);
    }
    return ::CallWindowProcA(current, window, message, wParam, lParam);
  }
  const auto at = std::find(chain->hooks.begin(), chain->hooks.end(), this);
  const std::size_t below =
      at == chain->hooks.end() ? 0 : static_cast<std::size_t>(at - chain->hooks.begin());
  return chain->CallFrom(window, below, message, wParam, lParam);
}

LRESULT CALLBACK Subclass::ChainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Chain* chain = Chain::Of(window);
  if (!chain) return ::DefWindowProcA(window, message, wParam, lParam);
  ++chain->depth;
  const LRESULT result = chain->CallFrom(window, chain->hooks.size(), message, wParam, lParam);
  --chain->depth;
  if (message == WM_NCDESTROY) {
    // The window is gone: every hook lets go; those the window owned go with it.
    const std::vector<Subclass*> hooks = chain->hooks;
    chain->hooks.clear();
    for (Subclass* hook : hooks) {
      hook->m_window = nullptr;
      if (hook->m_ownedByWindow) delete hook;
    }
    if (::GetWindowLongPtrA(window, GWLP_WNDPROC) ==
        reinterpret_cast<LONG_PTR>(&Subclass::ChainProc)) {
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->original));
    }
    ::RemovePropA(window, kChainProperty);
    chain->dead = true;
  }
  if (chain->dead && chain->depth == 0) delete chain;
  return result;
}

}  // namespace quelvar
