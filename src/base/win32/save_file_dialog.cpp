// Save As dialog; see save_file_dialog.h.
#include "base/win32/save_file_dialog.h"

#include <commdlg.h>

#include "base/os_family.h"

namespace quelvar {

std::optional<std::string> AskSaveFileName(HWND owner, const std::string& title,
                                           const std::string& suggestedName, const char* filter,
                                           const char* extension) {
  char path[MAX_PATH] = {};
  ::lstrcpynA(path, suggestedName.c_str(), sizeof path);
  OPENFILENAMEA dialog{};
  // The dialogs of Windows 95, 98 and NT 4 refuse the longer record of Windows ME and 2000.
  const bool longRecord = OsFamily == 4 || OsFamily == 6 || OsFamily == 7;
  dialog.lStructSize = longRecord ? sizeof(OPENFILENAMEA) : OPENFILENAME_SIZE_VERSION_400A;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension;
  dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 OFN_NOCHANGEDIR;
  if (!::GetSaveFileNameA(&dialog)) return std::nullopt;
  return std::string(path);
}

}  // namespace quelvar
