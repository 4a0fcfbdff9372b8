// The backup manager with a full folder: how long the list takes to fill with 999 backup
// files and each sort on it, against the floor of the fill: listing the folder and opening and
// reading the first 256 bytes of each file with the bare system calls, in the same run.
// Windows only; run under Wine: scripts/wine-run backup_list_bench.exe
#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "../res/resource.h"
#include "base/program_folder.h"
#include "base/win32/win32_file_system.h"
#include "tuning/win32/frm_back_up.h"

namespace {

using Clock = std::chrono::steady_clock;

class BenchHost : public quelvar::MainWindowHost {
 public:
  explicit BenchHost(HWND frame) : m_frame(frame) {}
  void Skin(const char*, HWND) override {}
  void applyAllControls(HWND) override {}
  void ShowHomeView() override {}
  void SetHomeVariable() override {}
  HWND ChildFrame() const override { return m_frame; }
  HWND MainHandle() const override { return m_frame; }

 private:
  HWND m_frame;
};

// What any list of the folder must do at least: find the files, open each and read the bytes
// that hold its date and time. Returns how many files it read.
int ReadHeadersAlone(const std::string& backups) {
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA((backups + "\\*.BCK").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int read = 0;
  do {
    HANDLE file = ::CreateFileA((backups + "\\" + found.cFileName).c_str(), GENERIC_READ,
                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    char header[256];
    DWORD got = 0;
    if (::ReadFile(file, header, sizeof header, &got, nullptr) && got > 0) ++read;
    ::CloseHandle(file);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return read;
}

double Milliseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void ClickColumn(HWND window, HWND list, int column) {
  NMLISTVIEW click{};
  click.hdr.hwndFrom = list;
  click.hdr.idFrom = IDC_BACKUP_LIST;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = column;
  ::SendMessageA(window, WM_NOTIFY, IDC_BACKUP_LIST, reinterpret_cast<LPARAM>(&click));
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "quelvar_backup_list_bench";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  ::CreateDirectoryA((folder + "\\Backups").c_str(), nullptr);
  quelvar::SetProgramFolder(folder);
  quelvar::Win32FileSystem files;
  quelvar::SetFileSystem(files);

  // 999 NT-line backups of a machine with three interfaces, dates and times spread out.
  for (int n = 1; n <= 999; ++n) {
    char name[32];
    std::snprintf(name, sizeof(name), "\\Backups\\%03d.BCK", n);
    char stamp[64];
    std::snprintf(stamp, sizeof(stamp), "#%04d-%02d-%02d#\r\n#%02d:%02d:%02d#\r\n", 1998 + n % 9,
                  1 + n * 7 % 12, 1 + n * 13 % 28, n * 5 % 24, n * 11 % 60, n * 17 % 60);
    std::ofstream file(folder + name, std::ios::binary | std::ios::trunc);
    file << stamp << "7\r\n\"System\\CurrentControlSet\\Services\\Tcpip\\Parameters\"\r\n";
    for (int pair = 0; pair < 13 + 2 + 1 + 12; ++pair) file << "\"DefaultTTL\"\r\n128\r\n";
  }

  HWND frame = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 360, 244, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
  BenchHost host(frame);
  quelvar::frmBackUp window(host);
  if (!window.Load()) {
    std::printf("the backup manager could not be created\n");
    return 1;
  }
  // The list is a control the window makes when first shown, as the program does before
  // filling it.
  window.CreateControlsNow();
  HWND list = ::GetDlgItem(window.hwnd(), IDC_BACKUP_LIST);

  for (int run = 1; run <= 7; ++run) {
    auto start = Clock::now();
    const int headers = ReadHeadersAlone(folder + "\\Backups");
    const double floor = Milliseconds(start);
    start = Clock::now();
    window.intializeList();
    const double fill = Milliseconds(start);
    const auto rows = ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    start = Clock::now();
    ClickColumn(window.hwnd(), list, 1);
    const double dateSort = Milliseconds(start);
    start = Clock::now();
    ClickColumn(window.hwnd(), list, 2);
    const double timeSort = Milliseconds(start);
    start = Clock::now();
    ClickColumn(window.hwnd(), list, 0);
    const double nameSort = Milliseconds(start);
    std::printf("run %d: %ld rows; headers alone %.1f ms (%d files); fill %.1f ms (%.2f times "
                "the headers), date sort %.1f ms, time sort %.1f ms, name sort %.1f ms\n",
                run, static_cast<long>(rows), floor, headers, fill, fill / floor, dateSort,
                timeSort, nameSort);
  }

  window.Unload();
  ::DestroyWindow(frame);
  for (int n = 1; n <= 999; ++n) {
    char name[32];
    std::snprintf(name, sizeof(name), "\\Backups\\%03d.BCK", n);
    ::DeleteFileA((folder + name).c_str());
  }
  ::RemoveDirectoryA((folder + "\\Backups").c_str());
  ::RemoveDirectoryA(folder.c_str());
  return 0;
}
#else
#include <cstdio>
int main() {
  std::printf("backup_list_bench measures the Win32 backup manager; build it for Windows\n");
  return 0;
}
#endif
