// The executable's path; see module_file.h.
#include "base/win32/module_file.h"

#include <windows.h>

namespace quelvar {

std::string ModuleFileName() {
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    std::string path(size, '\0');
    const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size - 1) {
      path.resize(length);
      return path;
    }
  }
  return {};
}

}  // namespace quelvar
