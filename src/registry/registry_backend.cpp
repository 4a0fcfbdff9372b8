// The process-wide registry backend slot. Set once at start-up by WinMain, or by a test.
#include "registry/registry_backend.h"

#include <cassert>

namespace quelvar {

namespace {
RegistryBackend* g_registry = nullptr;
}  // namespace

void SetRegistryBackend(RegistryBackend& backend) { g_registry = &backend; }

RegistryBackend& Registry() {
  assert(g_registry != nullptr);
  return *g_registry;
}

}  // namespace quelvar
