// The registry behaviour suite against the in-memory registry.
#include "registry/memory_registry.h"
#include "registry/registry_behaviour_suite.h"

namespace quelvar::test {

namespace {

class MemoryHarness final : public RegistryHarness {
 public:
  RegistryBackend& Backend() override { return m_registry; }
  void DenyWrite(RegKey hive, const std::string& path) override { m_registry.DenyWrite(hive, path); }
  void AllowWrite(RegKey hive, const std::string& path) override {
    if (m_registry.KeyExists(hive, path)) m_registry.DenyWrite(hive, path, false);
  }
  long OpenHandleCount() const override { return static_cast<long>(m_registry.OpenHandleCount()); }

 private:
  MemoryRegistry m_registry;
};

}  // namespace

RegistryHarness& MakeRegistryHarness() {
  static MemoryHarness harness;
  return harness;
}

}  // namespace quelvar::test
