// Saving an exported registry file; see reg_export_dialog.h.
#include "tuning/win32/reg_export_dialog.h"

#include "base/message_box.h"
#include "base/os_family.h"
#include "base/win32/save_file_dialog.h"

namespace quelvar {

bool SaveRegExport(HWND owner, const RegExport& exported, const std::string& suggestedName) {
  if (!exported.problem.empty()) {
    MessageBoxes().Show("Quelvar cannot export this:\r\n\r\n" + exported.problem, kAppTitle,
                        kMbOk | kMbIconExclamation);
    return false;
  }
  const std::optional<std::string> path =
      AskSaveFileName(owner, "Export as a registry file", suggestedName,
                      "Registry files (*.reg)\0*.reg\0All files (*.*)\0*.*\0", "reg");
  if (!path) return false;
  const std::string problem = SaveRegFile(*path, exported.text);
  if (!problem.empty()) {
    MessageBoxes().Show(problem, kAppTitle, kMbOk | kMbIconExclamation);
    return false;
  }
  // Windows 2000 and XP carry out removals; the regedit of the older systems skips them.
  const bool removes = exported.text.find("=-\r\n") != std::string::npos;
  if (removes && OsFamily >= 1 && OsFamily <= 5) {
    MessageBoxes().Show(
        "The file is saved. It removes some values, and the regedit of this Windows leaves "
        "values that a registry file removes as they are. To remove them too, let Quelvar make "
        "the change itself (Optimize Now, Finish, or Quelvar.exe /apply).",
        kAppTitle, kMbOk | kMbIconInformation);
  }
  return true;
}

}  // namespace quelvar
