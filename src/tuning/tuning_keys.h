// Whether this user may change the registry keys an apply or a restore is about to write. On
// the NT line a user without administrator rights may read the TCP/IP keys but not change
// them; this is found out before anything is written (no backup, no value), so that the user is
// told once, in words, instead of value by value afterwards.
#pragma once
#include <string>
#include <vector>

#include "registry/registry_backend.h"

namespace quelvar {

struct TuningKey {
  RegKey hive = kHkeyLocalMachine;
  std::string key;
};

enum class TuningChange { kApply, kRestore };

// The message for the user when, on the NT line, this user may not change one of `keys` (the
// first such key is named); "" when every key may be changed, and always on the 95 line, which
// guards no keys. Probes each key once without changing anything.
std::string TuningKeysWriteRefusal(int osFamily, const std::vector<TuningKey>& keys,
                                   TuningChange change);

}  // namespace quelvar
