// Fuzzes what the backup manager does with a file it did not write: the list's date and time,
// the whole-file check, and the restore. A file the check accepts must restore every pair it
// names into an empty in-memory registry, and one it refuses must leave the registry untouched.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/message_box.h"
#include "registry/memory_registry.h"
#include "registry/registry_backend.h"
#include "tuning/backup_restore.h"

namespace {

class SilentBoxes final : public quelvar::MessageBoxService {
 public:
  int Show(const std::string&, const std::string&, unsigned) override { return quelvar::kIdOk; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quelvar;
  const std::string_view contents(reinterpret_cast<const char*>(data), size);

  BackupListEntry entry;
  ReadBackupStamp(contents, &entry);

  const RestorePlan plan = CheckBackupContents(contents);
  if (!plan.problem.empty() && !plan.pairs.empty()) std::abort();

  static SilentBoxes boxes;
  SetMessageBoxService(boxes);
  MemoryRegistry registry;
  SetRegistryBackend(registry);
  const RestoreResult result = RestoreBackupContents(contents, plan.osFamily);
  if (plan.problem.empty()) {
    if (result.outcome != RestoreOutcome::kRestored) std::abort();
    if (result.written != plan.pairs.size()) std::abort();
  } else if (result.outcome == RestoreOutcome::kRestored || result.written != 0) {
    std::abort();
  }
  return 0;
}
