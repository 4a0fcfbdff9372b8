// The process-wide service slots (registry backend, message box). Set once at start-up by
// WinMain, or by a test.
#include <cassert>

#include "app/message_box.h"
#include "registry/registry_backend.h"

namespace quelvar {

namespace {
RegistryBackend* g_registry = nullptr;
MessageBoxService* g_messageBoxes = nullptr;
}  // namespace

void SetRegistryBackend(RegistryBackend& backend) { g_registry = &backend; }
RegistryBackend& Registry() {
  assert(g_registry != nullptr);
  return *g_registry;
}

void SetMessageBoxService(MessageBoxService& service) { g_messageBoxes = &service; }
MessageBoxService& MessageBoxes() {
  assert(g_messageBoxes != nullptr);
  return *g_messageBoxes;
}

}  // namespace quelvar
