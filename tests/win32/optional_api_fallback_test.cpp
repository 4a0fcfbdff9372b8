// Quelvar.exe at win95 and nt40 with the functions those systems may lack hidden from it
// (QUELVAR_HIDE_API), or there but failing as the 95 line's stubs do (QUELVAR_STUB_API): it starts, its tray icon appears, the face's buttons light up under the
// mouse and go dark when it leaves (through TrackMouseEvent, comctl32's _TrackMouseEvent or the
// cursor timer), and in the full runs the backup list sorts by each column, selects full rows
// only with common controls that report 4.70 or later, and the still-running notice is the
// notice box wherever the shell shows no balloons. (Wine's own button class asks
// for mouse-leave messages too, so which fallback ends the hover is checked in
// mouse_leave_test.cpp.)
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "resource.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

// The face's navigation colours (face_paint.cpp): a button at rest and under the mouse.
constexpr COLORREF kNav = RGB(0x1D, 0x2B, 0x3A);
constexpr COLORREF kNavHot = RGB(0x27, 0x3A, 0x4F);

constexpr const char* kEveryEntry =
    "TrackMouseEvent,_TrackMouseEvent,InitCommonControlsEx,GlobalMemoryStatusEx,MoveFileExA,"
    "NtQuerySystemInformation,Icmp,Token,ComctlDllGetVersion,ShellDllGetVersion";
// Windows 95 as it behaves: the functions it lacks hidden, its stubs (and failing echoes) there.
constexpr const char* kLackingOn95 =
    "TrackMouseEvent,_TrackMouseEvent,InitCommonControlsEx,GlobalMemoryStatusEx,"
    "NtQuerySystemInformation,ComctlDllGetVersion,ShellDllGetVersion";
constexpr const char* kStubsOn95 = "MoveFileExA,Token,Icmp";

struct Fallback {
  const char* name;
  const char* version;  // the Windows version Wine reports
  const char* hidden;   // QUELVAR_HIDE_API
  bool full;            // also sort the backup list and hide to the tray
  bool noticeBox;       // the still-running notice is the box (else a balloon)
  bool fullRow = true;  // the backup list selects full rows (full runs)
  const char* stubbed = "";  // QUELVAR_STUB_API
};

void PrintTo(const Fallback& c, std::ostream* out) {
  *out << "hidden: " << c.hidden << "; failing: " << c.stubbed << "; at " << c.version;
}

std::string BackupFolder() { return ExeFolder() + "\\Backups"; }

void WriteBackup(const std::string& path, const char* stamp) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ::WriteFile(file, stamp, static_cast<DWORD>(std::strlen(stamp)), &written, nullptr);
  ::CloseHandle(file);
}

// Three backups whose name, date and time orders all differ, so every sort changes the list.
const std::vector<std::pair<const char*, const char*>> kBackups = {
    {"A.BCK", "#2001-01-01#\r\n#23:00:00#\r\n7\r\n"},
    {"B.BCK", "#1999-06-06#\r\n#01:00:00#\r\n7\r\n"},
    {"C.BCK", "#2002-02-02#\r\n#12:00:00#\r\n7\r\n"}};

void RemoveBackups() {
  for (const auto& backup : kBackups) ::DeleteFileA((BackupFolder() + "\\" + backup.first).c_str());
}

// A screen point outside the main window, so the mouse leaves the face entirely (moving onto
// another face button would end the hover by itself).
POINT OutsideOf(HWND main) {
  RECT window{};
  ::GetWindowRect(main, &window);
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  if (window.right + 20 < width) return {window.right + 10, (window.top + window.bottom) / 2};
  if (window.bottom + 20 < height) return {(window.left + window.right) / 2, window.bottom + 10};
  if (window.left > 20) return {window.left - 10, (window.top + window.bottom) / 2};
  return {(window.left + window.right) / 2, window.top - 10};
}

void CheckHover(HWND main, HWND face) {
  HWND button = FindChild(face, "Wizard Mode");
  ASSERT_NE(button, nullptr);
  RECT rect{};
  ::GetWindowRect(button, &rect);
  const int x = rect.left + 2, y = rect.top + 2;
  const POINT away = OutsideOf(main);
  MoveMouseTo(away.x, away.y);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(x, y) == kNav; }, Milliseconds{5000}))
      << "at rest the button is " << std::hex << ScreenPixel(x, y);
  // The pointer moves about inside the button until it lights up: under Wine the first move
  // onto a window that has just appeared is sometimes not delivered.
  int step = 0;
  EXPECT_TRUE(WaitUntil(
      [&] {
        MoveMouseTo((rect.left + rect.right) / 2 + (step++ % 2), (rect.top + rect.bottom) / 2);
        return ScreenPixel(x, y) == kNavHot;
      },
      Milliseconds{5000}))
      << "no hover look: " << std::hex << ScreenPixel(x, y);
  MoveMouseTo(away.x, away.y);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(x, y) == kNav; }, Milliseconds{5000}))
      << "the hover look stayed after the mouse left: " << std::hex << ScreenPixel(x, y);
}

void CheckSorts(HWND main, const Process& quelvar, bool fullRow) {
  HWND face = FindChildById(main, IDC_FACE);
  ASSERT_TRUE(ClickAndWait(FindChild(face, "Backup")));
  HWND list = FindChildById(main, IDC_BACKUP_LIST);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return SendWithTimeout(list, LVM_GETITEMCOUNT) == 3; }));
  EXPECT_EQ((SendWithTimeout(list, LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_FULLROWSELECT) != 0, fullRow);
  using Names = std::vector<std::string>;
  struct Step {
    int column;
    Names order;
  };
  for (const Step& step : {Step{1, {"B.BCK", "A.BCK", "C.BCK"}}, Step{1, {"C.BCK", "A.BCK", "B.BCK"}},
                           Step{2, {"B.BCK", "C.BCK", "A.BCK"}}, Step{2, {"A.BCK", "C.BCK", "B.BCK"}},
                           Step{0, {"A.BCK", "B.BCK", "C.BCK"}}, Step{0, {"C.BCK", "B.BCK", "A.BCK"}}}) {
    EXPECT_TRUE(SortListViewBy(list, quelvar.Handle(), step.column,
                               [&] { return ListViewColumn(list, quelvar.Handle(), 0) == step.order; }))
        << "column " << step.column << " should give " << step.order[0] << " first";
  }
  EXPECT_EQ(ListViewColumn(list, quelvar.Handle(), 1).size(), 3u);
}

class OptionalApiFallback : public ::testing::TestWithParam<Fallback> {};

TEST_P(OptionalApiFallback, StartsHoversShowsTheTrayIconAndDegradesAsDesigned) {
  const Fallback c = GetParam();
  ASSERT_TRUE(WaitForNoProcess("Quelvar.exe")) << "a Quelvar.exe of an earlier test still runs";
  ScopedWineVersion version(FileNameOf(QuelvarExePath()), c.version);
  ASSERT_TRUE(version.Ok());
  ScopedEnvironment hidden("QUELVAR_HIDE_API", c.hidden);
  ScopedEnvironment stubbed("QUELVAR_STUB_API", c.stubbed);
  if (c.full) {
    ::CreateDirectoryA(BackupFolder().c_str(), nullptr);
    for (const auto& backup : kBackups) WriteBackup(BackupFolder() + "\\" + backup.first, backup.second);
  }

  Process quelvar;
  HWND main = StartQuelvar(quelvar);
  ASSERT_NE(main, nullptr) << "no main window with " << c.hidden << " hidden";
  HWND face = FindChildById(main, IDC_FACE);
  ASSERT_NE(face, nullptr);
  HWND tray = FindChildById(main, IDC_TRAY1);
  ASSERT_NE(tray, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return ShellHasIcon(tray); })) << "no tray icon";
  ::SetForegroundWindow(main);
  CheckHover(main, face);

  if (c.full) {
    CheckSorts(main, quelvar, c.fullRow);
    RemoveBackups();
    ASSERT_TRUE(ClickAndWait(FindChild(face, "Hide to tray")));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(main); }));
    HWND notice = nullptr;
    const bool boxShown = WaitUntil(
        [&] {
          notice = ::FindWindowA("msgFrm", "Program notification");
          return notice && ::IsWindowVisible(notice);
        },
        Milliseconds{c.noticeBox ? 10000 : 2000});
    EXPECT_EQ(boxShown, c.noticeBox) << (c.noticeBox ? "no notice box" : "a notice box beside the balloon");
    if (boxShown) {
      EXPECT_EQ(GetText(FindChildById(notice, IDC_MSGBOX_PROMPT)), "The Program Still Running Here");
      SaveScreenshot(ScreenshotPath(std::string("fallback-notice-") + c.name + "-" + c.version));
    }
  }
  ASSERT_TRUE(::PostMessageA(main, WM_CLOSE, 0, 0));
  EXPECT_TRUE(quelvar.WaitForExit());
}

std::vector<Fallback> Cases() {
  std::vector<Fallback> cases = {
      {"all", "win95", kEveryEntry, true, true, false},
      {"all", "nt40", kEveryEntry, true, true, false},
      {"old_shell", "nt40", "ShellDllGetVersion", true, true},
      // Common controls without DllGetVersion are 4.00, though they export InitCommonControlsEx.
      {"old_comctl", "nt40", "ComctlDllGetVersion", true, false, false},
      {"none", "nt40", "", true, false},
      {"stubs_of_95", "win95", kLackingOn95, true, true, false, kStubsOn95},
      {"every_stub", "nt40", "", true, true, false, kEveryEntry},
  };
  // Each entry alone, at both versions.
  static const char* const kEntries[] = {"TrackMouseEvent", "_TrackMouseEvent", "InitCommonControlsEx",
                                         "GlobalMemoryStatusEx", "MoveFileExA", "NtQuerySystemInformation",
                                         "Icmp", "Token", "ComctlDllGetVersion", "ShellDllGetVersion"};
  for (const char* version : {"win95", "nt40"}) {
    for (const char* entry : kEntries) {
      const bool oldShell = std::string(entry) == "ShellDllGetVersion";
      cases.push_back({entry, version, entry, false, oldShell || std::string(version) == "win95"});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(HiddenEntries, OptionalApiFallback, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Fallback>& info) {
                           std::string name = std::string(info.param.name) + "_" + info.param.version;
                           if (name[0] == '_') name = "comctl" + name;
                           return name;
                         });

}  // namespace
}  // namespace quelvar
