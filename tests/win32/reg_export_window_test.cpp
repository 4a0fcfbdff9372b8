// The three "Export..." buttons driven through the Save As dialog at winxp: wizard mode's file
// is what "Quelvar.exe /export" writes for the same mode, the backup manager's what
// "/export 001.BCK" writes for the same backup (the command line's text is pinned natively and
// against regedit in tests/deploy), and advanced mode's last page exports its boxes' values.
// Also: commands given to the real program end with their exit codes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "resource.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

// Without the line that says when the file was made.
std::string WithoutDate(const std::string& text) {
  const std::size_t made = text.find("; Made on ");
  if (made == std::string::npos) return text;
  return text.substr(0, made) + text.substr(text.find("\r\n", made) + 2);
}

// Lets the windows paint before a screenshot.
void Settle() { WaitUntil([] { return false; }, Milliseconds{600}); }

// Runs Quelvar.exe with arguments and gives its exit code (-1 when it did not end in time).
int RunQuelvar(const std::string& arguments) {
  Process process = Process::Start(QuelvarExePath(), arguments);
  if (!process.Started() || !process.WaitForExit(Milliseconds{15000})) return -1;
  return static_cast<int>(process.ExitCode());
}

// Clicks `button`, answers the Save As dialog with `path` and waits for the file.
void ExportTo(HWND button, DWORD processId, const std::string& path, const std::string& shot) {
  ::DeleteFileA(path.c_str());
  ASSERT_TRUE(::IsWindowEnabled(button));
  Click(button);
  HWND dialog = WaitForWindow("Export as a registry file", Milliseconds{10000}, processId);
  ASSERT_NE(dialog, nullptr) << "no Save As dialog";
  // The file name box: an edit of its own (edt1) or the edit inside the name combo box (cmb13),
  // once the dialog has made its controls.
  HWND name = nullptr;
  WaitUntil([&] {
    ::EnumChildWindows(dialog, [](HWND child, LPARAM found) -> BOOL {
      const bool nameBox = ::GetDlgCtrlID(child) == 0x480 || ::GetDlgCtrlID(child) == 0x47c;
      if (ClassNameOf(child) != "Edit" || !nameBox) return TRUE;
      *reinterpret_cast<HWND*>(found) = child;
      return FALSE;
    }, reinterpret_cast<LPARAM>(&name));
    return name != nullptr;
  });
  ASSERT_NE(name, nullptr);
  Settle();
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath(shot)));
  ASSERT_TRUE(SetText(name, path));
  Click(::GetDlgItem(dialog, IDOK));
  EXPECT_TRUE(WaitUntil([&] { return FileExists(path); })) << path;
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }));
}

TEST(RegExportWindows, EachExportButtonSavesWhatTheCommandLineWrites) {
  ASSERT_TRUE(WaitForNoProcess("Quelvar.exe")) << "a Quelvar.exe of an earlier test still runs";
  ScopedWineVersion version(FileNameOf(QuelvarExePath()), "winxp");
  ASSERT_TRUE(version.Ok());
  const std::string folder = ExeFolder();
  const std::string backups = folder + "\\Backups";
  DeleteFilesIn(backups);

  // The command line: no window, its exit code, its files.
  const std::string commandMode = folder + "\\command-mode.reg";
  const std::string commandBackup = folder + "\\command-backup.reg";
  ASSERT_EQ(RunQuelvar("/apply \"Automatic-A\""), 0);
  ASSERT_TRUE(FileExists(backups + "\\001.BCK"));
  EXPECT_EQ(RunQuelvar("/export \"Windows default\" \"" + commandMode + "\""), 0);
  EXPECT_EQ(RunQuelvar("/export 001.BCK \"" + commandBackup + "\""), 0);
  EXPECT_EQ(RunQuelvar("/restore 007.BCK"), 8);

  Process quelvar;
  HWND main = StartQuelvar(quelvar);
  ASSERT_NE(main, nullptr);

  // Wizard mode, "Windows default", its preview and "Export...".
  ASSERT_TRUE(ClickFace(main, "Wizard Mode"));
  ASSERT_TRUE(ClickAndWait(FindChildById(main, IDC_WIZARD_MODE0 + 7)));
  ClickTabOf(FindChildById(main, IDC_WIZARD_VIEW_TABS), quelvar.Handle(), 1);
  HWND preview = FindChildById(main, IDC_WIZARD_PREVIEW);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(preview) != FALSE; }));
  HWND wizardExport = FindChildById(main, IDC_WIZARD_EXPORT);
  ASSERT_NE(wizardExport, nullptr);
  EXPECT_EQ(GetText(wizardExport), "&Export...");
  Settle();
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("export-wizard-mode")));
  const std::string wizardFile = folder + "\\wizard.reg";
  ExportTo(wizardExport, quelvar.Id(), wizardFile, "export-save-dialog");
  EXPECT_EQ(WithoutDate(ReadWholeFile(wizardFile)), WithoutDate(ReadWholeFile(commandMode)));

  // Advanced mode's last page.
  ASSERT_TRUE(ClickFace(main, "Advanced Mode"));
  HWND next = FindChildById(main, IDC_ADV_NEXT);
  ASSERT_NE(next, nullptr);
  for (int page = 0; page < 7; ++page) ASSERT_TRUE(ClickAndWait(next));
  HWND advancedExport = FindChildById(main, IDC_ADV_EXPORT);
  ASSERT_NE(advancedExport, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(advancedExport) != FALSE; }));
  Settle();
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("export-advanced-mode")));
  const std::string advancedFile = folder + "\\advanced.reg";
  ExportTo(advancedExport, quelvar.Id(), advancedFile, "export-save-dialog-advanced");
  const std::string advanced = ReadWholeFile(advancedFile);
  EXPECT_EQ(advanced.rfind("REGEDIT4\r\n\r\n; Quelvar ", 0), 0u) << advanced;
  EXPECT_NE(advanced.find("what finishing advanced mode with these values writes"),
            std::string::npos);
  EXPECT_NE(advanced.find("\"DefaultTTL\"=dword:"), std::string::npos);

  // The backup manager: the backup the command line made.
  ASSERT_TRUE(ClickFace(main, "Backup"));
  HWND list = FindChildById(main, IDC_BACKUP_LIST);
  HWND backupExport = FindChildById(main, IDC_BACKUP_EXPORT);
  ASSERT_TRUE(list && backupExport);
  EXPECT_FALSE(::IsWindowEnabled(backupExport)) << "enabled with no file selected";
  SelectListViewRow(list, quelvar.Handle(), 0);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(backupExport) != FALSE; }));
  Settle();
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("export-backup-manager")));
  const std::string backupFile = folder + "\\backup.reg";
  ExportTo(backupExport, quelvar.Id(), backupFile, "export-save-dialog-backup");
  EXPECT_EQ(WithoutDate(ReadWholeFile(backupFile)), WithoutDate(ReadWholeFile(commandBackup)));

  ASSERT_TRUE(::PostMessageA(main, WM_CLOSE, 0, 0));
  EXPECT_TRUE(quelvar.WaitForExit());
  DeleteFilesIn(backups);
  for (const std::string& file : {commandMode, commandBackup, wizardFile, advancedFile, backupFile}) {
    ::DeleteFileA(file.c_str());
  }
}

}  // namespace
}  // namespace quelvar
