// The smoke suite of the real 32-bit release, run by scripts/wine32 smoke in the 32-bit Wine
// session: this 64-bit driver starts the i686 Quelvar.exe (QUELVAR_SMOKE_EXE) at each Windows
// version (and at win95 once with every run-time entry hidden, and once as Windows 95 behaves:
// what it lacks hidden, its failing stubs there) and runs the checks of kChecks in order on one
// running program, then closes it with WM_CLOSE. A 32-bit probe (QUELVAR_LAYOUT_PROBE) checks
// the record sizes the 32-bit layout fixes; the lock probes beside the program check the
// runtime's locks under contention while CreateSemaphoreW fails as on 95.
//
// To add a check: write a function taking the Session (the running program, its main window and
// face, the Windows version) and add a line to kChecks. Checks run in that order; a check that
// needs another page opens it itself.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <utility>

#include "resource.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? ToWinePath(value) : std::string();
}

std::string SmokeExe() { return FromEnvironment("QUELVAR_SMOKE_EXE"); }

struct Version {
  const char* name;
  const char* wine;    // the version Wine reports
  bool nineFive;       // the 95 line stores numbers as text under VxD\MSTCP
  const char* hidden;  // QUELVAR_HIDE_API: functions the system is to lack
  const char* stubbed = "";  // QUELVAR_STUB_API: functions there but failing, as 95's stubs
};

void PrintTo(const Version& v, std::ostream* out) { *out << v.name; }

// Windows 95 as shipped: none of the functions the program looks up at run time.
constexpr const char* kNothingNewer =
    "TrackMouseEvent,_TrackMouseEvent,InitCommonControlsEx,GlobalMemoryStatusEx,MoveFileExA,"
    "NtQuerySystemInformation,Icmp,Token,ComctlDllGetVersion,ShellDllGetVersion";
// Windows 95 as it behaves: what it lacks is missing, and MoveFileExA and the token functions
// are its stubs, which do nothing and fail; the echo functions fail too.
constexpr const char* kLackingOn95 =
    "TrackMouseEvent,_TrackMouseEvent,InitCommonControlsEx,GlobalMemoryStatusEx,"
    "NtQuerySystemInformation,ComctlDllGetVersion,ShellDllGetVersion";
constexpr const char* kStubsOn95 = "MoveFileExA,Token,Icmp";

struct Session {
  const Version& version;
  Process& quelvar;
  HWND main = nullptr;
  HWND face = nullptr;
};

// One value as reg.exe prints it from the 32-bit view ("DefaultTTL REG_DWORD 0x20"), blanks
// collapsed; "(no value)" and the output otherwise. HKLM\SOFTWARE of a 32-bit program is
// HKLM\SOFTWARE\Wow6432Node here: /reg:32 reads what the program wrote.
std::string RegQuery32(const std::string& key, const std::string& name) {
  const std::string output = RunAndCapture("reg.exe query \"" + key + "\" /v " + name + " /reg:32");
  std::size_t at = output.find(" " + name + " ");
  if (at == std::string::npos) at = output.find(name + " ");
  if (at == std::string::npos) return "(no value) " + output;
  std::string line = output.substr(at, output.find('\n', at) - at);
  std::string collapsed;
  for (char c : line) {
    if (c == '\r') continue;
    if ((c == ' ' || c == '\t') && (collapsed.empty() || collapsed.back() == ' ')) continue;
    collapsed += c == '\t' ? ' ' : c;
  }
  while (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
  return collapsed;
}

std::string BackupFolder() {
  const std::string exe = SmokeExe();
  return exe.substr(0, exe.find_last_of('\\')) + "\\Backups";
}

void EmptyBackups() {
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA((BackupFolder() + "\\*.BCK").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    ::DeleteFileA((BackupFolder() + "\\" + found.cFileName).c_str());
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
}

// ---- The checks ----------------------------------------------------------------------------

void MainWindowAppears(Session& s) {
  ASSERT_NE(s.main, nullptr);
  EXPECT_TRUE(::IsWindowVisible(s.main));
  ASSERT_NE(s.face, nullptr);
  EXPECT_NE(FindChild(s.face, "Wizard Mode"), nullptr);
}

void TrayIconIsThere(Session& s) {
  HWND tray = FindChildById(s.main, IDC_TRAY1);
  ASSERT_NE(tray, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return ShellHasIcon(tray); }))
      << "the shell holds no icon of the tray control";
}

// "Windows default" applied from wizard mode: a backup file and the preset's TTL of 32.
void WizardApplyWritesBackupAndRegistry(Session& s) {
  ASSERT_TRUE(ClickAndWait(FindChild(s.face, "Wizard Mode")));
  HWND windowsDefault = FindChildById(s.main, IDC_WIZARD_MODE0 + 7);
  ASSERT_NE(windowsDefault, nullptr);
  ASSERT_TRUE(ClickAndWait(windowsDefault));
  ASSERT_TRUE(ClickAndWait(FindChildById(s.main, IDC_WIZARD_OPTIMIZE), Milliseconds{30000}));
  EXPECT_TRUE(WaitUntil([] {
    return ::GetFileAttributesA((BackupFolder() + "\\001.BCK").c_str()) != INVALID_FILE_ATTRIBUTES;
  })) << "no backup written";
  const std::string key = s.version.nineFive
                              ? "HKLM\\System\\CurrentControlSet\\Services\\VxD\\MSTCP"
                              : "HKLM\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
  EXPECT_EQ(RegQuery32(key, "DefaultTTL"),
            s.version.nineFive ? "DefaultTTL REG_SZ 32" : "DefaultTTL REG_DWORD 0x20");
  const std::string internet = s.version.nineFive
                                   ? "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"
                                   : "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  EXPECT_EQ(RegQuery32(internet, "MaxConnectionsPerServer"),
            s.version.nineFive ? "MaxConnectionsPerServer REG_SZ 4" : "MaxConnectionsPerServer REG_DWORD 0x4");
}

void BackupManagerListsTheFile(Session& s) {
  ASSERT_TRUE(ClickAndWait(FindChild(s.face, "Backup")));
  HWND list = FindChildById(s.main, IDC_BACKUP_LIST);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return SendWithTimeout(list, LVM_GETITEMCOUNT) == 1; }))
      << SendWithTimeout(list, LVM_GETITEMCOUNT) << " rows";
}

// Both graphs run in the 32-bit program: the captions carry plausible figures, which the
// 32-bit records (the basic-information record, the memory status) must be read right to give.
// Without the NT kernel's figures (the 95 line, or "as shipped") the processor reads what the
// 95 line's meter gives, or -1 where the NT call is missing.
void StatusCaptionsArePlausible(Session& s) {
  ASSERT_TRUE(ClickAndWait(FindChild(s.face, "System Status")));
  HWND cpu = FindChildById(s.main, IDC_STATUS_CPU_FRAME);
  HWND memory = FindChildById(s.main, IDC_STATUS_MEMORY_FRAME);
  ASSERT_TRUE(cpu && memory);
  auto percent = [](const std::string& text, const char* prefix) -> double {
    if (text.rfind(prefix, 0) != 0) return -1000;
    return std::atof(text.c_str() + std::strlen(prefix));
  };
  EXPECT_TRUE(WaitUntil([&] {
    const double value = percent(GetText(cpu), "Processor usage (");
    return value >= -1 && value <= 100;
  }, Milliseconds{20000})) << GetText(cpu);
  EXPECT_TRUE(WaitUntil([&] {
    const double value = percent(GetText(memory), "Memory Usage (");
    return value > 0 && value <= 100;
  }, Milliseconds{20000})) << GetText(memory);
}

struct Check {
  const char* name;
  void (*run)(Session&);
};

const Check kChecks[] = {
    {"main window appears", &MainWindowAppears},
    {"tray icon is there", &TrayIconIsThere},
    {"wizard apply writes backup and registry", &WizardApplyWritesBackupAndRegistry},
    {"backup manager lists the file", &BackupManagerListsTheFile},
    {"status captions are plausible", &StatusCaptionsArePlausible},
};

// ---- The run --------------------------------------------------------------------------------

class Smoke32 : public ::testing::TestWithParam<Version> {};

TEST_P(Smoke32, StartsPassesEveryCheckAndClosesWithZero) {
  const Version& version = GetParam();
  const std::string exe = SmokeExe();
  ASSERT_FALSE(exe.empty()) << "QUELVAR_SMOKE_EXE names no program";
  ASSERT_TRUE(WaitForNoProcess(FileNameOf(exe)));
  ScopedWineVersion wineVersion(FileNameOf(exe), version.wine);
  ASSERT_TRUE(wineVersion.Ok());
  ::CreateDirectoryA(BackupFolder().c_str(), nullptr);
  EmptyBackups();
  ScopedEnvironment hidden("QUELVAR_HIDE_API", version.hidden);
  ScopedEnvironment stubbed("QUELVAR_STUB_API", version.stubbed);

  const auto started = std::chrono::steady_clock::now();
  Process quelvar = Process::Start(exe);
  ASSERT_TRUE(quelvar.Started()) << "CreateProcess error " << quelvar.StartError();
  Session session{version, quelvar};
  // The splash shows first under the same title: the main window is the one with the face. The
  // emulated program starts in seconds on a quiet machine and in minutes on a loaded one.
  WaitUntil([&] {
    session.main = FindTopWindow("Quelvar", quelvar.Id());
    session.face = session.main ? FindChildById(session.main, IDC_FACE) : nullptr;
    return session.face != nullptr;
  }, Milliseconds{180000});
  std::printf("[ smoke    ] %s: main window after %.1f s\n", version.name,
              std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());

  for (const Check& check : kChecks) {
    SCOPED_TRACE(check.name);
    check.run(session);
    if (HasFatalFailure()) break;
  }
  WaitUntil([] { return false; }, Milliseconds{1000});  // the emulated program paints slowly
  SaveScreenshot(ScreenshotPath(std::string("smoke32-") + version.name));

  ASSERT_NE(session.main, nullptr);
  ASSERT_TRUE(::PostMessageA(session.main, WM_CLOSE, 0, 0));
  ASSERT_TRUE(quelvar.WaitForExit(Milliseconds{30000})) << "WM_CLOSE did not end the program";
  EXPECT_EQ(quelvar.ExitCode(), 0u);
  EmptyBackups();
}

INSTANTIATE_TEST_SUITE_P(Windows, Smoke32,
                         ::testing::Values(Version{"win95", "win95", true, ""},
                                           Version{"win95_as_shipped", "win95", true, kNothingNewer},
                                           Version{"win95_failing_stubs", "win95", true, kLackingOn95, kStubsOn95},
                                           Version{"win98", "win98", true, ""},
                                           Version{"nt40", "nt40", false, ""},
                                           Version{"winxp", "winxp", false, ""}),
                         [](const ::testing::TestParamInfo<Version>& info) {
                           return std::string(info.param.name);
                         });

// The 32-bit probe prints each record's size and "layout ok" when all are right.
TEST(Smoke32Layout, RecordSizesOfThe32BitLayout) {
  const std::string probe = FromEnvironment("QUELVAR_LAYOUT_PROBE");
  ASSERT_FALSE(probe.empty()) << "QUELVAR_LAYOUT_PROBE names no program";
  const std::string output = RunAndCapture("\"" + probe + "\"", Milliseconds{60000});
  std::printf("%s", output.c_str());
  EXPECT_NE(output.find("layout ok"), std::string::npos) << output;
}

// The runtime's locks of the 32-bit build under contention while CreateSemaphoreW fails as on 95:
// they hold with the program's routing of the call, and the control build without it fails.
TEST(Smoke32Locks, HoldUnderContentionOnlyWithTheRouting) {
  const std::string exe = SmokeExe();
  ASSERT_FALSE(exe.empty()) << "QUELVAR_SMOKE_EXE names no program";
  const std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
  ScopedEnvironment wideCallFails("QUELVAR_STUB_API", "CreateSemaphoreW");
  for (const auto& [probe, held] : {std::pair{"quelvar_lock_probe.exe", true},
                                    std::pair{"quelvar_unrouted_lock_probe.exe", false}}) {
    const std::string output = RunAndCapture('"' + folder + probe + '"', Milliseconds{300000});
    std::printf("%s:\n%s\n", probe, output.c_str());
    EXPECT_NE(output.find("contending the runtime's locks"), std::string::npos) << probe << " did not run";
    EXPECT_EQ(output.find("runtime locks held") != std::string::npos, held) << probe << ":\n" << output;
  }
}

// The 32-bit echo engine pings 127.0.0.1: its benchmark sends every echo through PingHost and a
// bare call, with the 32-bit reply record, and fails when one gets no answer.
TEST(Smoke32Ping, EchoEngineAnswersOnLoopback) {
  const std::string bench = FromEnvironment("QUELVAR_PING_BENCH");
  ASSERT_FALSE(bench.empty()) << "QUELVAR_PING_BENCH names no program";
  Process ping = Process::Start(bench);
  ASSERT_TRUE(ping.Started()) << "CreateProcess error " << ping.StartError();
  ASSERT_TRUE(ping.WaitForExit(Milliseconds{120000}));
  EXPECT_EQ(ping.ExitCode(), 0u) << "an echo to 127.0.0.1 got no reply";
}

}  // namespace
}  // namespace quelvar
