// wait_window_probe <caption> [milliseconds] [class]: exits 0 as soon as a visible top-level
// window with that caption (and window class, when given) exists, 1 when none appeared in time
// (default 30 s). Scripts use it to know when Quelvar's window is up: the splash and the main
// window are both captioned "Quelvar", and the class tells them apart.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const DWORD timeout = argc > 2 ? static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)) : 30000;
  const DWORD start = ::GetTickCount();
  for (;;) {
    HWND window = ::FindWindowA(argc > 3 ? argv[3] : nullptr, argv[1]);
    if (window && ::IsWindowVisible(window)) {
      ::Sleep(500);  // let it finish painting
      return 0;
    }
    if (::GetTickCount() - start >= timeout) return 1;
    ::Sleep(100);
  }
}
