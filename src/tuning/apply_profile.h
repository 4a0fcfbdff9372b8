// Applying the tuning profile to the registry of the running Windows line: a backup first,
// then every tuned value written (or removed) in a fixed order through SetOrDeleteRegistryValue.
#pragma once
#include <string>
#include <vector>

#include "registry/registry_backend.h"

namespace quelvar {

// One value the apply could not write or remove.
struct FailedRegistryValue {
  RegKey hive = kHkeyLocalMachine;
  std::string key;
  std::string name;  // "" is the key's default value
  RegStatus status = kRegSuccess;
};

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
