// The "Export..." buttons' common step: tells why there is nothing to save, or asks where the
// registry file goes and writes it, telling the user when it could not be written.
#pragma once
#include <windows.h>

#include <string>

#include "tuning/reg_export.h"

namespace quelvar {

// True when the file was written.
bool SaveRegExport(HWND owner, const RegExport& exported, const std::string& suggestedName);

}  // namespace quelvar
