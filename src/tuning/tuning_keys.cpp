// The write check of the tuning keys; see tuning_keys.h.
#include "tuning/tuning_keys.h"

#include "base/os_family.h"
#include "registry/registry_access.h"

namespace quelvar {

std::string TuningKeysWriteRefusal(int osFamily, const std::vector<TuningKey>& keys,
                                   TuningChange change) {
  if (!IsNtLine(osFamily)) return {};
  std::vector<const TuningKey*> probed;
  for (const TuningKey& key : keys) {
    bool seen = false;
    for (const TuningKey* done : probed) {
      seen = seen || (done->hive == key.hive && done->key == key.key);
    }
    if (seen) continue;
    probed.push_back(&key);
    // Other failures are left to the writes themselves, which report each value.
    if (ProbeKeyWrite(key.hive, key.key) != kRegAccessDenied) continue;

    const std::string where =
        (key.hive == kHkeyCurrentUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") + key.key;
    const bool apply = change == TuningChange::kApply;
    // The backup manager's messages break lines as its preview note shows them.
    const char* gap = apply ? "\n\n" : "\r\n\r\n";
    return std::string(apply ? "Quelvar cannot change the connection settings"
                             : "Quelvar cannot restore this backup") +
           ": this Windows user account may read, but not change, the registry key" + gap +
           where + gap + (apply ? "Changing these settings" : "Restoring them") +
           " needs administrator rights. Log on as an administrator (or ask one to do it), "
           "then try again." + gap +
           (apply ? "No backup was saved. No setting was changed." : "No setting was changed.");
  }
  return {};
}

}  // namespace quelvar
