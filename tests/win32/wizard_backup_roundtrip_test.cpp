// Quelvar.exe driven end to end at winxp and at win98 (with the 95 line's failing stubs of
// MoveFileExA and the token functions in place): "Windows default" applied twice from
// wizard mode, as its preview foretold, leaves two backups and the preset in the registry
// (read with reg.exe); the backup manager lists them with date and time, sorts by each column
// both ways, restores the first (the registry goes back to what it recorded, a value of
// 0xFFFFFFFF included, and a value that was not there is removed again), refuses a file of another Windows version with nothing written, and
// deletes a file after "Yes".
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "resource.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

void SetValue(HKEY root, const char* key, const char* name, bool asText, DWORD number) {
  HKEY opened = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr),
            ERROR_SUCCESS);
  if (asText) {
    const std::string text = std::to_string(number);
    ::RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
  } else {
    ::RegSetValueExA(opened, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                     sizeof(number));
  }
  ::RegCloseKey(opened);
}

void RemoveValue(HKEY root, const char* key, const char* name) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
  ::RegDeleteValueA(opened, name);
  ::RegCloseKey(opened);
}

struct Line {
  const char* wineVersion;
  bool nineFive;
  const char* tcpKey;      // where DefaultTTL lives
  const char* internetKey;  // where MaxConnectionsPerServer lives
  const char* stubbed;      // QUELVAR_STUB_API: run-time functions there but failing
};

// reg.exe's line for a value as this line stores it.
std::string Expect(const Line& line, const char* name, DWORD number) {
  char hex[16];
  std::snprintf(hex, sizeof(hex), "0x%lx", static_cast<unsigned long>(number));
  return std::string(name) + (line.nineFive ? " REG_SZ " + std::to_string(number)
                                            : std::string(" REG_DWORD ") + hex);
}

class WizardBackupRoundTrip : public ::testing::TestWithParam<Line> {};

TEST_P(WizardBackupRoundTrip, ApplyTwiceListSortRestoreRefuseDelete) {
  const Line line = GetParam();
  ASSERT_TRUE(WaitForNoProcess("Quelvar.exe")) << "a Quelvar.exe of an earlier test still runs";
  ScopedWineVersion version(FileNameOf(QuelvarExePath()), line.wineVersion);
  ASSERT_TRUE(version.Ok());
  ScopedEnvironment stubs("QUELVAR_STUB_API", line.stubbed);
  const std::string backups = ExeFolder() + "\\Backups";
  DeleteFilesIn(backups);
  const std::string hklmTcp = std::string("HKLM\\") + line.tcpKey;
  const std::string hkcuInternet = std::string("HKCU\\") + line.internetKey;
  SetValue(HKEY_LOCAL_MACHINE, line.tcpKey, "DefaultTTL", line.nineFive, 77);
  // A value beyond the signed 32-bit range still comes back.
  SetValue(HKEY_LOCAL_MACHINE, line.tcpKey, "KeepAliveTime", line.nineFive, 0xFFFFFFFF);
  // A value the apply creates goes again with the restore.
  RemoveValue(HKEY_LOCAL_MACHINE, line.tcpKey, "GlobalMaxTcpWindowSize");
  SetValue(HKEY_CURRENT_USER, line.internetKey, "MaxConnectionsPerServer", line.nineFive, 9);
  // Values both lines share get this line's type (an earlier run of the other line left its own).
  SetValue(HKEY_CURRENT_USER, line.internetKey, "MaxConnectionsPer1_0Server", line.nineFive, 6);
  SetValue(HKEY_LOCAL_MACHINE,
           "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize", "",
           line.nineFive, 0);

  Process quelvar;
  HWND main = StartQuelvar(quelvar);
  ASSERT_NE(main, nullptr);

  // Wizard mode: "Automatic-A" from the start, then "Windows default", applied twice.
  ASSERT_TRUE(ClickFace(main, "Wizard Mode"));
  HWND description = FindChildById(main, IDC_WIZARD_DESCRIPTION);
  ASSERT_NE(description, nullptr);
  EXPECT_EQ(SendWithTimeout(FindChildById(main, IDC_WIZARD_MODE0), BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(GetText(description).substr(0, 29), "MSS = 536\tMTU = 576\t\tICMP = F");
  ASSERT_TRUE(ClickAndWait(FindChildById(main, IDC_WIZARD_MODE0 + 7)));
  EXPECT_NE(GetText(description).find("MSCPS0 = 2\t\tMSCPS1 = 4\r\n"), std::string::npos);
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath(std::string("wizard-mode-") + line.wineVersion)));

  // The preview of "Windows default", before any apply: each row's value, now and after.
  HWND preview = FindChildById(main, IDC_WIZARD_PREVIEW);
  ASSERT_NE(preview, nullptr);
  const std::vector<std::string> previewNames = ListViewColumn(preview, quelvar.Handle(), 1);
  const std::vector<std::string> previewNow = ListViewColumn(preview, quelvar.Handle(), 2);
  const std::vector<std::string> previewAfter = ListViewColumn(preview, quelvar.Handle(), 3);
  ASSERT_GE(previewNames.size(), 12u);
  auto previewRow = [&](const std::string& name) {
    for (std::size_t i = 0; i < previewNames.size(); ++i) {
      if (previewNames[i] == name) return static_cast<int>(i);
    }
    return -1;
  };
  const int ttlRow = previewRow("DefaultTTL");
  const int connectionsRow = previewRow("MaxConnectionsPerServer");
  ASSERT_GE(ttlRow, 0);
  ASSERT_GE(connectionsRow, 0);
  EXPECT_EQ(previewNow[ttlRow], "77");
  EXPECT_EQ(previewAfter[ttlRow], "32");
  EXPECT_EQ(previewNow[connectionsRow], "9");
  EXPECT_EQ(previewAfter[connectionsRow], "4");
  ClickTabOf(FindChildById(main, IDC_WIZARD_VIEW_TABS), quelvar.Handle(), 1);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(preview) != FALSE; }));
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath(std::string("wizard-preview-") + line.wineVersion)));
  HWND optimize = FindChildById(main, IDC_WIZARD_OPTIMIZE);
  ASSERT_EQ(GetText(optimize), "Optimize &Now");
  ASSERT_TRUE(ClickAndWait(optimize));
  ASSERT_TRUE(ClickFace(main, "Wizard Mode"));
  ASSERT_TRUE(ClickAndWait(optimize));
  EXPECT_TRUE(FileExists(backups + "\\001.BCK"));
  EXPECT_TRUE(FileExists(backups + "\\002.BCK"));
  EXPECT_FALSE(FileExists(backups + "\\003.BCK"));
  EXPECT_EQ(RegQueryValue(hklmTcp, "DefaultTTL"), Expect(line, "DefaultTTL", 32));
  EXPECT_EQ(RegQueryValue(hkcuInternet, "MaxConnectionsPerServer"),
            Expect(line, "MaxConnectionsPerServer", 4));
  // After the apply the preview shows every value as it now is.
  EXPECT_EQ(ListViewColumn(preview, quelvar.Handle(), 2)[ttlRow], "32");

  // Files for the sort: an old one, an older one, one that is no backup, and one taken under
  // another Windows version (line 3 changed).
  const std::string first = ReadWholeFile(backups + "\\001.BCK");
  const std::size_t familyStart = first.find("\r\n", first.find("\r\n") + 2) + 2;
  const std::size_t familyEnd = first.find("\r\n", familyStart);
  const std::string family = first.substr(familyStart, familyEnd - familyStart);
  const std::string body = first.substr(familyStart);
  WriteWholeFile(backups + "\\003.BCK", "#2001-02-03#\r\n#23:59:59#\r\n" + body);
  WriteWholeFile(backups + "\\004.BCK", "#1999-12-31#\r\n#00:00:01#\r\n" + body);
  WriteWholeFile(backups + "\\005.BCK", "shopping list\r\n");
  WriteWholeFile(backups + "\\006.BCK", first.substr(0, familyStart) + (family == "6" ? "7" : "6") +
                                       first.substr(familyEnd));

  ASSERT_TRUE(ClickFace(main, "Backup"));
  HWND list = FindChildById(main, IDC_BACKUP_LIST);
  HWND restore = FindChildById(main, IDC_BACKUP_RESTORE);
  HWND remove = FindChildById(main, IDC_BACKUP_DELETE);
  ASSERT_TRUE(list && restore && remove);
  const HANDLE process = quelvar.Handle();
  ASSERT_EQ(SendWithTimeout(list, LVM_GETITEMCOUNT), 6);
  EXPECT_FALSE(::IsWindowEnabled(restore));
  EXPECT_FALSE(::IsWindowEnabled(remove));
  std::vector<std::string> names = ListViewColumn(list, process, 0);
  std::vector<std::string> dates = ListViewColumn(list, process, 1);
  std::vector<std::string> times = ListViewColumn(list, process, 2);
  for (int row = 0; row < 6; ++row) {
    SCOPED_TRACE(names[row]);
    EXPECT_EQ(dates[row].empty(), names[row] == "005.BCK");
    EXPECT_EQ(times[row].empty(), names[row] == "005.BCK");
  }
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath(std::string("backup-manager-") + line.wineVersion)));

  // Sorting: names both ways, dates both ways (no date first), times both ways.
  auto position = [&](const char* name) {
    const std::vector<std::string> now = ListViewColumn(list, process, 0);
    for (std::size_t i = 0; i < now.size(); ++i) {
      if (now[i] == name) return static_cast<int>(i);
    }
    return -1;
  };
  // A click reaches the list as real mouse input. Every click must change the order (the list
  // starts in name order, so names come last), so each check passes only once its click has
  // been handled. Under Wine the header sometimes never gets a click (the list then stays as it
  // was): a list still unchanged five seconds on is clicked again; a handled click always
  // changes the order within milliseconds, so this never counts one click twice.
  auto sortBy = [&](int column, const std::function<bool()>& expected) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      const std::vector<std::string> before = ListViewColumn(list, process, 0);
      ClickListViewHeader(list, process, column);
      if (WaitUntil(expected, Milliseconds{5000})) return true;
      if (ListViewColumn(list, process, 0) != before) return false;
    }
    return false;
  };
  const std::vector<std::string> ascending = {"001.BCK", "002.BCK", "003.BCK",
                                              "004.BCK", "005.BCK", "006.BCK"};
  const std::vector<std::string> descending(ascending.rbegin(), ascending.rend());
  EXPECT_TRUE(sortBy(1, [&] {
    return position("005.BCK") == 0 && position("004.BCK") == 1 && position("003.BCK") == 2;
  })) << "dates ascending, no date first";
  EXPECT_TRUE(sortBy(1, [&] {
    return position("003.BCK") == 3 && position("004.BCK") == 4 && position("005.BCK") == 5;
  })) << "dates descending";
  EXPECT_TRUE(sortBy(2, [&] {
    return position("005.BCK") == 0 && position("004.BCK") == 1 && position("003.BCK") == 5;
  })) << "times ascending";
  EXPECT_TRUE(sortBy(2, [&] { return position("003.BCK") == 0 && position("005.BCK") == 5; }))
      << "times descending";
  EXPECT_TRUE(sortBy(0, [&] { return ListViewColumn(list, process, 0) == ascending; })) << "names ascending";
  EXPECT_TRUE(sortBy(0, [&] { return ListViewColumn(list, process, 0) == descending; })) << "names descending";

  // Another Windows version: the preview says why, the restore gives the message, and nothing
  // is written.
  SetValue(HKEY_LOCAL_MACHINE, line.tcpKey, "DefaultTTL", line.nineFive, 55);
  HWND restorePreview = FindChildById(main, IDC_BACKUP_PREVIEW);
  HWND previewNote = FindChildById(main, IDC_BACKUP_PREVIEW_NOTE);
  ASSERT_TRUE(restorePreview && previewNote);
  SelectListViewRow(list, process, position("006.BCK"));
  EXPECT_TRUE(WaitUntil([&] {
    return GetText(previewNote).find("another operating system") != std::string::npos;
  })) << GetText(previewNote);
  EXPECT_FALSE(::IsWindowVisible(restorePreview));
  EXPECT_TRUE(::IsWindowEnabled(restore));
  EXPECT_TRUE(::IsWindowEnabled(remove));
  Click(restore);
  StandardBox question = WaitForStandardBox(quelvar.Id());
  EXPECT_EQ(question.text, "Do you want to restore this settings??");
  EXPECT_EQ(question.title, "");
  ASSERT_TRUE(AnswerStandardBox(question, IDYES));
  StandardBox refusal = WaitForStandardBox(quelvar.Id());
  EXPECT_EQ(refusal.text, "This backup file was taken from another operating system!!");
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath(std::string("backup-refusal-") + line.wineVersion)));
  ASSERT_TRUE(AnswerStandardBox(refusal, IDOK));
  EXPECT_EQ(RegQueryValue(hklmTcp, "DefaultTTL"), Expect(line, "DefaultTTL", 55));

  // The first backup restores what it recorded, as its preview said; nothing is shown.
  SelectListViewRow(list, process, position("001.BCK"));
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(restorePreview) != FALSE; }));
  {
    const std::vector<std::string> names = ListViewColumn(restorePreview, process, 1);
    const std::vector<std::string> fromBackup = ListViewColumn(restorePreview, process, 3);
    bool sawTtl = false, sawRemoval = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] == "DefaultTTL" && fromBackup[i] == "77") sawTtl = true;
      if (names[i] == "GlobalMaxTcpWindowSize" && fromBackup[i] == "(removed)") sawRemoval = true;
    }
    EXPECT_TRUE(sawTtl) << "the restore preview of 001.BCK shows DefaultTTL from the backup";
    EXPECT_TRUE(sawRemoval) << "the restore preview of 001.BCK removes GlobalMaxTcpWindowSize";
  }
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath(std::string("backup-preview-") + line.wineVersion)));
  Click(restore);
  question = WaitForStandardBox(quelvar.Id());
  ASSERT_TRUE(AnswerStandardBox(question, IDYES));
  EXPECT_EQ(WaitForStandardBox(quelvar.Id(), Milliseconds{1500}).box, nullptr);
  EXPECT_EQ(RegQueryValue(hklmTcp, "DefaultTTL"), Expect(line, "DefaultTTL", 77));
  EXPECT_EQ(RegQueryValue(hklmTcp, "KeepAliveTime"), Expect(line, "KeepAliveTime", 0xFFFFFFFF));
  EXPECT_EQ(RegQueryValue(hklmTcp, "GlobalMaxTcpWindowSize").rfind("(no value)", 0), 0u);
  EXPECT_EQ(RegQueryValue(hkcuInternet, "MaxConnectionsPerServer"),
            Expect(line, "MaxConnectionsPerServer", 9));

  // Delete after "Yes": the file goes, the list is refilled, both buttons are off again.
  SelectListViewRow(list, process, position("002.BCK"));
  Click(remove);
  question = WaitForStandardBox(quelvar.Id());
  EXPECT_EQ(question.text, "Do you want to delete this file??");
  ASSERT_TRUE(AnswerStandardBox(question, IDYES));
  WaitUntil([&] { return SendWithTimeout(list, LVM_GETITEMCOUNT) == 5; });
  EXPECT_FALSE(FileExists(backups + "\\002.BCK"));
  EXPECT_EQ(position("002.BCK"), -1);
  EXPECT_FALSE(::IsWindowEnabled(remove));

  ASSERT_TRUE(::PostMessageA(main, WM_CLOSE, 0, 0));
  EXPECT_TRUE(quelvar.WaitForExit());
  DeleteFilesIn(backups);
}

INSTANTIATE_TEST_SUITE_P(
    WindowsLines, WizardBackupRoundTrip,
    ::testing::Values(
        Line{"winxp", false, "System\\CurrentControlSet\\Services\\Tcpip\\Parameters",
             "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", ""},
        Line{"win98", true, "System\\CurrentControlSet\\Services\\VxD\\MSTCP",
             "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", "MoveFileExA,Token"}),
    [](const ::testing::TestParamInfo<Line>& info) { return std::string(info.param.wineVersion); });

}  // namespace
}  // namespace quelvar
