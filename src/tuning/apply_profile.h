// Applying the tuning profile to the registry of the running Windows line: a backup first,
// then every tuned value written (or removed) in a fixed order through SetOrDeleteRegistryValue.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "registry/registry_backend.h"
#include "tuning/tuning_profile.h"

namespace quelvar {

// One value the apply could not write or remove.
struct FailedRegistryValue {
  RegKey hive = kHkeyLocalMachine;
  std::string key;
  std::string name;  // "" is the key's default value
  RegStatus status = kRegSuccess;
};

// One step of an apply: a value written (as decimal text on the 95 line, as a number on the NT
// line) or removed.
struct PlannedValue {
  RegKey hive = kHkeyLocalMachine;
  std::string key;
  std::string name;  // "" is the key's default value
  std::int32_t type = 4;  // 1 REG_SZ, 4 REG_DWORD
  std::int32_t value = 0;
  bool remove = false;
  friend bool operator==(const PlannedValue&, const PlannedValue&) = default;
};

// Every step an apply of `profile` takes on the Windows line of `osFamily`, in order (empty
// for an unknown line). Reads only the adapter subkeys; adapter keys a backup cannot record
// are left out and named in `skippedSubkeys`. The apply executes exactly this plan, so a
// preview built from it shows what the apply will do.
std::vector<PlannedValue> PlanTuningApply(const TuningProfile& profile, int osFamily,
                                          std::vector<std::string>* skippedSubkeys);

// What one apply did.
struct ApplyOutcome {
  bool ran = false;            // the backup was written and the values were set
  std::string backupPath;      // the backup written first (or that could not be written)
  std::string refusal;         // when not ran: the message the user was shown
  std::vector<FailedRegistryValue> failures;
  std::vector<std::string> skippedSubkeys;  // adapter keys with names a backup cannot record
};

// Reads OsFamily once: 1..4 runs the 95-line sequence, 5..7 the NT-line sequence, anything else
// does nothing. Writes the backup first; when it cannot be written completely, nothing is
// changed and the user is told which file and why. Values that could not be written or removed
// are listed to the user afterwards; when every step succeeded nothing is shown.
ApplyOutcome ApplyTuningProfileWithOutcome();

// The wizards' entry point: true when the apply ran (the backup was saved and the values were
// written, even if some of them were refused and reported).
bool ApplyTuningProfile();

// The message listing what an apply could not do; empty when there is nothing to tell.
std::string ApplyProblemsMessage(const ApplyOutcome& outcome);

}  // namespace quelvar
