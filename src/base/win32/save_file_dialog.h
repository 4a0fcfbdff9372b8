// The system's Save As dialog, asking where a file should go.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace quelvar {

// The full path the user chose, or nothing when the dialog was cancelled. `filter` is the
// dialog's list of kinds ("Registry files (*.reg)\0*.reg\0"...), `extension` what a name typed
// without one gets ("reg"). An existing file is replaced only after the user agreed.
std::optional<std::string> AskSaveFileName(HWND owner, const std::string& title,
                                           const std::string& suggestedName, const char* filter,
                                           const char* extension);

}  // namespace quelvar
