// The process-wide service slots of the ground floor (message box, file system, clock). Set
// once at start-up by WinMain, or by a test.
#include <cassert>

#include "base/clock.h"
#include "base/file_system.h"
#include "base/message_box.h"

namespace quelvar {

namespace {
MessageBoxService* g_messageBoxes = nullptr;
FileSystem* g_files = nullptr;
Clock* g_clock = nullptr;
}  // namespace

void SetMessageBoxService(MessageBoxService& service) { g_messageBoxes = &service; }
MessageBoxService& MessageBoxes() {
  assert(g_messageBoxes != nullptr);
  return *g_messageBoxes;
}

void SetFileSystem(FileSystem& files) { g_files = &files; }
FileSystem& Files() {
  assert(g_files != nullptr);
  return *g_files;
}

void SetClock(Clock& clock) { g_clock = &clock; }
Clock& TheClock() {
  assert(g_clock != nullptr);
  return *g_clock;
}

}  // namespace quelvar
