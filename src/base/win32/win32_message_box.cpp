// Win32 message box service; see win32_message_box.h.
#include "base/win32/win32_message_box.h"

#include <windows.h>

namespace quelvar {

int Win32MessageBox::Show(const std::string& text, const std::string& title, unsigned style) {
  return ::MessageBoxA(::GetActiveWindow(), text.c_str(), title.c_str(), style);
}

}  // namespace quelvar
