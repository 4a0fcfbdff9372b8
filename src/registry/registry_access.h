// The registry operations every window and the tuning code go through. Each opens or creates
// its key, does one thing and closes it again; none reports a failure to the user. The two
// writes also come in a form that returns the registry's status, for the callers that must
// tell the user when a value could not be stored.
#pragma once
#include <optional>
#include <string>

#include "registry/reg_value.h"
#include "registry/registry_backend.h"

namespace quelvar {

namespace RegistrySettings {
// Creates or opens the key and sets one REG_SZ value to the value's text.
void WriteRegistryValue(RegKey hive, const std::string& subkey, const std::string& valueName,
                        const RegValue& value);
void WriteMachineValue(const std::string& subkey, const std::string& valueName,
                       const RegValue& value);
// The same writes, returning the status of the key's creation or of the set call (kRegSuccess
// when the value is stored).
RegStatus StoreRegistryValue(RegKey hive, const std::string& subkey, const std::string& valueName,
                             const RegValue& value);
RegStatus StoreMachineValue(const std::string& subkey, const std::string& valueName,
                            const RegValue& value);
}  // namespace RegistrySettings

namespace RegFunctions {
// The stored text (at most 254 bytes), or `defaultValue` unchanged when nothing can be read.
// Data of zero bytes (written by other programs) also gives `defaultValue`.
RegValue ReadRegistryValue(RegKey hive, const std::string& subkey, const std::string& valueName,
                           const RegValue& defaultValue);
RegValue ReadMachineValue(const std::string& subkey, const std::string& valueName,
                          const RegValue& defaultValue);
// valueType 1 (REG_SZ) or 4 (REG_DWORD); any other type sets or deletes nothing and returns 0.
// Returns the status of the set or delete call (nonzero when the key cannot be opened).
// Throws ConversionError for a REG_DWORD value that is not a number.
RegStatus SetOrDeleteRegistryValue(RegKey hive, const std::string& subkey,
                                   const std::string& valueName, std::int32_t valueType,
                                   const RegValue& value, bool deleteValue);

// A value's type and bytes exactly as stored (text keeps its terminating zero); nothing when
// the key or the value is missing or cannot be read.
std::optional<RegData> ReadRegistryData(RegKey hive, const std::string& subkey,
                                        const std::string& valueName);
// Creates or opens the key as SetOrDeleteRegistryValue does and stores `value` exactly.
// Returns the status of the set call (nonzero when the key cannot be opened).
RegStatus WriteRegistryData(RegKey hive, const std::string& subkey, const std::string& valueName,
                            const RegData& value);
// Whether this user may change values under the key, found out without changing anything: the
// key is opened for setting values, or, while it does not exist yet, the nearest key above it
// that does is opened for creating subkeys. kRegSuccess when it may, else the refusal's status
// (kRegAccessDenied for a key that may only be read).
RegStatus ProbeKeyWrite(RegKey hive, const std::string& subkey);
}  // namespace RegFunctions

using namespace RegistrySettings;
using namespace RegFunctions;

}  // namespace quelvar
