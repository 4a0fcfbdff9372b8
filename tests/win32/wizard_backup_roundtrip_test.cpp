// Quelvar.exe driven end to end at winxp and at win98: "Windows default" applied twice from
// wizard mode, as its preview foretold, leaves two backups and the preset in the registry
// (read with reg.exe); the
// backup manager lists them with date and time, sorts by each column both ways, restores the
// first (the registry goes back to what it recorded), refuses a file of another Windows
// version with nothing written, and deletes a file after "Yes".
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resource.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

// The line reg.exe prints for one value ("    DefaultTTL    REG_DWORD    0x20"), trimmed.
std::string RegQuery(const std::string& key, const std::string& name) {
  const std::string output = RunAndCapture("reg.exe query \"" + key + "\" /v " + name);
  for (std::size_t start = 0; start < output.size();) {
    std::size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    const std::size_t first = line.find_first_not_of(' ');
    if (first != std::string::npos && line.compare(first, name.size() + 1, name + " ") == 0) {
      // Collapse runs of blanks so the comparison does not depend on column widths.
      std::string collapsed;
      for (char c : line.substr(first)) {
        if ((c == ' ' || c == '\t') && !collapsed.empty() && collapsed.back() == ' ') continue;
        collapsed += c == '\t' ? ' ' : c;
      }
      return collapsed;
    }
    start = end + 1;
  }
  return "(no value) " + output;
}

void SelectRow(HWND list, HANDLE process, int row) {
  RemoteBuffer remote(process, sizeof(LVITEMA));
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  remote.Write(&item, sizeof(item));
  SendWithTimeout(list, LVM_SETITEMSTATE, row, remote.param());
}

// A real mouse click on a column header, so the list reports the click as a user's.
void ClickHeader(HWND list, HANDLE process, int column) {
  HWND header = reinterpret_cast<HWND>(SendWithTimeout(list, LVM_GETHEADER));
  ASSERT_NE(header, nullptr);
  RemoteBuffer remote(process, sizeof(RECT));
  SendWithTimeout(header, HDM_GETITEMRECT, column, remote.param());
  RECT rect{};
  remote.Read(&rect, sizeof(rect));
  POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ::ClientToScreen(header, &point);
  ::SetForegroundWindow(::GetAncestor(list, GA_ROOT));
  // Two clicks on one header within the double-click time would read as a double click.
  WaitUntil([] { return false; }, Milliseconds{::GetDoubleClickTime() + 100});
  ::SetCursorPos(point.x, point.y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, input, sizeof(INPUT));
  WaitUntil([] { return false; }, Milliseconds{400});
}

// A real mouse click on a tab of a tab control.
void ClickTab(HWND tabs, HANDLE process, int index) {
  ASSERT_NE(tabs, nullptr);
  RemoteBuffer remote(process, sizeof(RECT));
  SendWithTimeout(tabs, TCM_GETITEMRECT, index, remote.param());
  RECT rect{};
  remote.Read(&rect, sizeof(rect));
  POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ::ClientToScreen(tabs, &point);
  ::SetForegroundWindow(::GetAncestor(tabs, GA_ROOT));
  ::SetCursorPos(point.x, point.y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, input, sizeof(INPUT));
}

struct MessageBoxSeen {
  HWND box = nullptr;
  std::string title;
  std::string text;
};

MessageBoxSeen WaitForMessageBox(DWORD processId, Milliseconds timeout = Milliseconds{5000}) {
  MessageBoxSeen seen;
  WaitUntil(
      [&] {
        for (HWND window : TopWindowsOf(processId)) {
          if (ClassNameOf(window) == "#32770") {
            seen.box = window;
            return true;
          }
        }
        return false;
      },
      timeout);
  if (seen.box) {
    seen.title = GetText(seen.box);
    seen.text = GetText(::GetDlgItem(seen.box, 0xFFFF));
  }
  return seen;
}

// Answers a standard message box with one of its buttons (IDOK, IDYES, IDNO).
void Answer(const MessageBoxSeen& seen, int buttonId) {
  ASSERT_NE(seen.box, nullptr);
  HWND button = ::GetDlgItem(seen.box, buttonId);
  ASSERT_NE(button, nullptr) << "no button " << buttonId;
  Click(button);
  WaitUntil([&] { return !::IsWindow(seen.box); }, Milliseconds{5000});
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& contents) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << contents;
}

bool FileExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ExeFolder() {
  const std::string exe = QuelvarExePath();
  return exe.substr(0, exe.find_last_of('\\'));
}

void EmptyBackups(const std::string& folder) {
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      ::DeleteFileA((folder + "\\" + found.cFileName).c_str());
    }
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
}

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

struct Line {
  const char* wineVersion;
  bool nineFive;
  const char* tcpKey;      // where DefaultTTL lives
  const char* internetKey;  // where MaxConnectionsPerServer lives
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
  const std::string backups = ExeFolder() + "\\Backups";
  EmptyBackups(backups);
  const std::string hklmTcp = std::string("HKLM\\") + line.tcpKey;
  const std::string hkcuInternet = std::string("HKCU\\") + line.internetKey;
  SetValue(HKEY_LOCAL_MACHINE, line.tcpKey, "DefaultTTL", line.nineFive, 77);
  SetValue(HKEY_CURRENT_USER, line.internetKey, "MaxConnectionsPerServer", line.nineFive, 9);
  // Values both lines share get this line's type (an earlier run of the other line left its own).
  SetValue(HKEY_CURRENT_USER, line.internetKey, "MaxConnectionsPer1_0Server", line.nineFive, 6);
  SetValue(HKEY_LOCAL_MACHINE,
           "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize", "",
           line.nineFive, 0);

  Process quelvar = Process::Start(QuelvarExePath());
  ASSERT_TRUE(quelvar.Started());
  HWND main = WaitForWindow("Quelvar", Milliseconds{15000}, quelvar.Id());
  ASSERT_NE(main, nullptr);
  HWND face = FindChildById(main, IDC_FACE);
  ASSERT_NE(face, nullptr);

  // Wizard mode: "Automatic-A" from the start, then "Windows default", applied twice.
  ASSERT_TRUE(ClickAndWait(FindChild(face, "Wizard Mode")));
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
  ClickTab(FindChildById(main, IDC_WIZARD_VIEW_TABS), quelvar.Handle(), 1);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(preview) != FALSE; }));
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath(std::string("wizard-preview-") + line.wineVersion)));
  HWND optimize = FindChildById(main, IDC_WIZARD_OPTIMIZE);
  ASSERT_EQ(GetText(optimize), "Optimize &Now");
  ASSERT_TRUE(ClickAndWait(optimize));
  ASSERT_TRUE(ClickAndWait(FindChild(face, "Wizard Mode")));
  ASSERT_TRUE(ClickAndWait(optimize));
  EXPECT_TRUE(FileExists(backups + "\\001.BCK"));
  EXPECT_TRUE(FileExists(backups + "\\002.BCK"));
  EXPECT_FALSE(FileExists(backups + "\\003.BCK"));
  EXPECT_EQ(RegQuery(hklmTcp, "DefaultTTL"), Expect(line, "DefaultTTL", 32));
  EXPECT_EQ(RegQuery(hkcuInternet, "MaxConnectionsPerServer"),
            Expect(line, "MaxConnectionsPerServer", 4));
  // After the apply the preview shows every value as it now is.
  EXPECT_EQ(ListViewColumn(preview, quelvar.Handle(), 2)[ttlRow], "32");

  // Files for the sort: an old one, an older one, one that is no backup, and one taken under
  // another Windows version (line 3 changed).
  const std::string first = ReadFile(backups + "\\001.BCK");
  const std::size_t familyStart = first.find("\r\n", first.find("\r\n") + 2) + 2;
  const std::size_t familyEnd = first.find("\r\n", familyStart);
  const std::string family = first.substr(familyStart, familyEnd - familyStart);
  const std::string body = first.substr(familyStart);
  WriteFile(backups + "\\003.BCK", "#2001-02-03#\r\n#23:59:59#\r\n" + body);
  WriteFile(backups + "\\004.BCK", "#1999-12-31#\r\n#00:00:01#\r\n" + body);
  WriteFile(backups + "\\005.BCK", "shopping list\r\n");
  WriteFile(backups + "\\006.BCK", first.substr(0, familyStart) + (family == "6" ? "7" : "6") +
                                       first.substr(familyEnd));

  ASSERT_TRUE(ClickAndWait(FindChild(face, "Backup")));
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
  // A click reaches the list as real mouse input; each check waits until the list shows the
  // order it expects, so a slow machine only makes the test slower.
  const std::vector<std::string> ascending = {"001.BCK", "002.BCK", "003.BCK",
                                              "004.BCK", "005.BCK", "006.BCK"};
  const std::vector<std::string> descending(ascending.rbegin(), ascending.rend());
  ClickHeader(list, process, 0);
  EXPECT_TRUE(WaitUntil([&] { return ListViewColumn(list, process, 0) == ascending; }))
      << "names ascending";
  ClickHeader(list, process, 0);
  EXPECT_TRUE(WaitUntil([&] { return ListViewColumn(list, process, 0) == descending; }))
      << "names descending";
  ClickHeader(list, process, 1);
  EXPECT_TRUE(WaitUntil([&] {
    return position("005.BCK") == 0 && position("004.BCK") == 1 && position("003.BCK") == 2;
  })) << "dates ascending, no date first";
  ClickHeader(list, process, 1);
  EXPECT_TRUE(WaitUntil([&] {
    return position("003.BCK") == 3 && position("004.BCK") == 4 && position("005.BCK") == 5;
  })) << "dates descending";
  ClickHeader(list, process, 2);
  EXPECT_TRUE(WaitUntil([&] {
    return position("005.BCK") == 0 && position("004.BCK") == 1 && position("003.BCK") == 5;
  })) << "times ascending";
  ClickHeader(list, process, 2);
  EXPECT_TRUE(WaitUntil([&] { return position("003.BCK") == 0 && position("005.BCK") == 5; }))
      << "times descending";

  // Another Windows version: the preview says why, the restore gives the message, and nothing
  // is written.
  SetValue(HKEY_LOCAL_MACHINE, line.tcpKey, "DefaultTTL", line.nineFive, 55);
  HWND restorePreview = FindChildById(main, IDC_BACKUP_PREVIEW);
  HWND previewNote = FindChildById(main, IDC_BACKUP_PREVIEW_NOTE);
  ASSERT_TRUE(restorePreview && previewNote);
  SelectRow(list, process, position("006.BCK"));
  EXPECT_TRUE(WaitUntil([&] {
    return GetText(previewNote).find("another operating system") != std::string::npos;
  })) << GetText(previewNote);
  EXPECT_FALSE(::IsWindowVisible(restorePreview));
  EXPECT_TRUE(::IsWindowEnabled(restore));
  EXPECT_TRUE(::IsWindowEnabled(remove));
  Click(restore);
  MessageBoxSeen question = WaitForMessageBox(quelvar.Id());
  EXPECT_EQ(question.text, "Do you want to restore this settings??");
  EXPECT_EQ(question.title, "");
  Answer(question, IDYES);
  MessageBoxSeen refusal = WaitForMessageBox(quelvar.Id());
  EXPECT_EQ(refusal.text, "This backup file was taken from another operating system!!");
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath(std::string("backup-refusal-") + line.wineVersion)));
  Answer(refusal, IDOK);
  EXPECT_EQ(RegQuery(hklmTcp, "DefaultTTL"), Expect(line, "DefaultTTL", 55));

  // The first backup restores what it recorded, as its preview said; nothing is shown.
  SelectRow(list, process, position("001.BCK"));
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(restorePreview) != FALSE; }));
  {
    const std::vector<std::string> names = ListViewColumn(restorePreview, process, 1);
    const std::vector<std::string> fromBackup = ListViewColumn(restorePreview, process, 3);
    bool sawTtl = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] == "DefaultTTL" && fromBackup[i] == "77") sawTtl = true;
    }
    EXPECT_TRUE(sawTtl) << "the restore preview of 001.BCK shows DefaultTTL from the backup";
  }
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath(std::string("backup-preview-") + line.wineVersion)));
  Click(restore);
  question = WaitForMessageBox(quelvar.Id());
  Answer(question, IDYES);
  EXPECT_EQ(WaitForMessageBox(quelvar.Id(), Milliseconds{1500}).box, nullptr);
  EXPECT_EQ(RegQuery(hklmTcp, "DefaultTTL"), Expect(line, "DefaultTTL", 77));
  EXPECT_EQ(RegQuery(hkcuInternet, "MaxConnectionsPerServer"),
            Expect(line, "MaxConnectionsPerServer", 9));

  // Delete after "Yes": the file goes, the list is refilled, both buttons are off again.
  SelectRow(list, process, position("002.BCK"));
  Click(remove);
  question = WaitForMessageBox(quelvar.Id());
  EXPECT_EQ(question.text, "Do you want to delete this file??");
  Answer(question, IDYES);
  WaitUntil([&] { return SendWithTimeout(list, LVM_GETITEMCOUNT) == 5; });
  EXPECT_FALSE(FileExists(backups + "\\002.BCK"));
  EXPECT_EQ(position("002.BCK"), -1);
  EXPECT_FALSE(::IsWindowEnabled(remove));

  ASSERT_TRUE(::PostMessageA(main, WM_CLOSE, 0, 0));
  EXPECT_TRUE(quelvar.WaitForExit());
  EmptyBackups(backups);
}

INSTANTIATE_TEST_SUITE_P(
    WindowsLines, WizardBackupRoundTrip,
    ::testing::Values(
        Line{"winxp", false, "System\\CurrentControlSet\\Services\\Tcpip\\Parameters",
             "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"},
        Line{"win98", true, "System\\CurrentControlSet\\Services\\VxD\\MSTCP",
             "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"}),
    [](const ::testing::TestParamInfo<Line>& info) { return std::string(info.param.wineVersion); });

}  // namespace
}  // namespace quelvar
