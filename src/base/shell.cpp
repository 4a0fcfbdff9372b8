// The shell service slot (kept beside its interface); set once by WinMain, or by a test.
#include "base/shell.h"

#include <cassert>

namespace quelvar {

namespace {
ShellService* g_shell = nullptr;
}  // namespace

void SetShellService(ShellService& shell) { g_shell = &shell; }
ShellService& Shell() {
  assert(g_shell != nullptr);
  return *g_shell;
}

}  // namespace quelvar
