// A small library for the Wine suite's UI tests: start a program, find its windows and
// controls, click them, read their text, set the Windows version Wine reports to a program,
// take screenshots, and end the program leaving no process behind.
// Everything works across processes (the tested program is never linked into the test).
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace quelvar::uitest {

using Milliseconds = std::chrono::milliseconds;
constexpr Milliseconds kDefaultTimeout{10000};

// ---- Paths -----------------------------------------------------------------------------

// A Unix path ("/work/x/Quelvar.exe") as Wine sees it ("Z:\work\x\Quelvar.exe"); a path that
// already is a Windows path is returned with its slashes turned into backslashes.
std::string ToWinePath(const std::string& path);

// Quelvar.exe and the build folder of this suite, as Windows paths.
std::string QuelvarExePath();
std::string BuildDir();

// BuildDir() + "\screenshots\" + name + ".png" (the folder is created).
std::string ScreenshotPath(const std::string& name);

// The file name of a path ("Z:\a\Quelvar.exe" -> "Quelvar.exe").
std::string FileNameOf(const std::string& path);

// The folder Quelvar.exe lies in (where it keeps its Backups folder).
std::string ExeFolder();

// ---- Processes -------------------------------------------------------------------------

// A started program. Move-only; the destructor terminates the program if it still runs, so a
// failing test never leaves it behind.
class Process {
 public:
  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  // Starts exePath (a Windows or Unix path) with arguments; the working folder is the
  // program's own folder unless given. Check Started() afterwards.
  static Process Start(const std::string& exePath, const std::string& arguments = "",
                       const std::string& workingFolder = "");

  bool Started() const { return m_process != nullptr; }
  DWORD Id() const { return m_id; }
  HANDLE Handle() const { return m_process; }
  // Win32 error of a failed start (0 when it started).
  DWORD StartError() const { return m_startError; }

  bool IsRunning() const;
  // True when the program ended within the time-out.
  bool WaitForExit(Milliseconds timeout = kDefaultTimeout) const;
  // The exit code once it ended; STILL_ACTIVE while it runs.
  DWORD ExitCode() const;

  // Posts WM_CLOSE to every visible top-level window of the program and waits for it to end.
  // True when it ended by itself; otherwise it is terminated and false is returned.
  bool Close(Milliseconds timeout = Milliseconds{5000});
  // Last resort: ends the program with exit code 255 and waits for it.
  void Terminate();

 private:
  HANDLE m_process = nullptr;
  DWORD m_id = 0;
  DWORD m_startError = 0;
};

// Ids of the running processes whose executable file name is exeName (case-insensitive).
std::vector<DWORD> ProcessesNamed(const std::string& exeName);

// Waits until no process named exeName is left; true when none is left within the time-out.
bool WaitForNoProcess(const std::string& exeName, Milliseconds timeout = Milliseconds{5000});

// Starts Quelvar.exe (into `process`) and waits up to 15 s for its main window; null when none
// appeared.
HWND StartQuelvar(Process& process, const std::string& arguments = "");

// Clicks a button of the main window's face ("Wizard Mode") and waits for its handler.
bool ClickFace(HWND main, const std::string& caption);

// ---- Windows and controls --------------------------------------------------------------

// Polls condition every 50 ms (pumping this thread's messages) until it holds or time runs out.
bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout = kDefaultTimeout);

// A visible top-level window with exactly this caption; processId 0 means any process.
HWND FindTopWindow(const std::string& caption, DWORD processId = 0);
// The same, waiting up to the time-out; nullptr when none appeared.
HWND WaitForWindow(const std::string& caption, Milliseconds timeout = kDefaultTimeout,
                   DWORD processId = 0);

// Every visible top-level window of a process.
std::vector<HWND> TopWindowsOf(DWORD processId);

// A descendant (any depth) with exactly this caption, or with this control ID; nullptr if none.
// The caption match ignores '&' mnemonics, so "Optimize Now" finds "Optimize &Now".
HWND FindChild(HWND parent, const std::string& caption);
HWND FindChildById(HWND parent, int controlId);
// The same, waiting up to the time-out (controls may be created after the window).
HWND WaitForChild(HWND parent, const std::string& caption, Milliseconds timeout = kDefaultTimeout);

// The window's class name ("Button", "Edit", ...).
std::string ClassNameOf(HWND window);

// Clicks a button by posting BM_CLICK, so a handler that opens a modal box does not block
// the test. ClickAndWait sends it and returns once the handler has run (or after the time-out).
bool Click(HWND control);
bool ClickAndWait(HWND control, Milliseconds timeout = kDefaultTimeout);

// WM_GETTEXT / WM_SETTEXT across processes (with a time-out, so a hung program fails the test).
std::string GetText(HWND window);
bool SetText(HWND window, const std::string& text);

// Asks a window for an answer (WM_NULL) every 5 ms from a thread of its own, from construction
// until Stop(), which returns the longest wait in milliseconds.
class AnswerProbe {
 public:
  explicit AnswerProbe(HWND window);
  ~AnswerProbe();
  AnswerProbe(const AnswerProbe&) = delete;
  AnswerProbe& operator=(const AnswerProbe&) = delete;
  long long Stop();

 private:
  static DWORD WINAPI Run(void* self);
  HWND m_window;
  volatile LONG m_done = 0;
  volatile LONGLONG m_longest = 0;
  HANDLE m_thread = nullptr;
};

// Sends a message with a time-out; the result, or 0 on time-out.
LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                        Milliseconds timeout = Milliseconds{5000});

// ---- Message boxes ---------------------------------------------------------------------

// A standard message box (dialog class "#32770") with its title and text.
struct StandardBox {
  HWND box = nullptr;
  std::string title;
  std::string text;
};
// The first message box among the process's top-level windows within the time-out (box null
// when none appeared). Works from any thread, also for boxes of the calling process.
StandardBox WaitForStandardBox(DWORD processId, Milliseconds timeout = Milliseconds{5000});
// Presses one of the box's buttons (IDOK, IDYES, IDNO) and waits for it to close; false when it
// has no such button or stays open.
bool AnswerStandardBox(const StandardBox& box, int buttonId);

// ---- The notification area -------------------------------------------------------------

// Whether the shell holds the icon (window, 1): modifying succeeds only for an icon it has.
bool ShellHasIcon(HWND trayWindow);

// ---- List views and the mouse (64-bit programs only: records cross in this build's layout) -

// Memory inside another process, for requests whose parameter points at a record.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, std::size_t size) : m_process(process) {
    m_address = static_cast<char*>(
        ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~RemoteMemory() {
    if (m_address) ::VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  char* At(std::size_t offset) const { return m_address + offset; }
  LPARAM Param() const { return reinterpret_cast<LPARAM>(m_address); }
  void Write(const void* data, std::size_t size, std::size_t offset = 0) {
    ::WriteProcessMemory(m_process, At(offset), data, size, nullptr);
  }
  void Read(void* data, std::size_t size, std::size_t offset = 0) {
    ::ReadProcessMemory(m_process, At(offset), data, size, nullptr);
  }

 private:
  HANDLE m_process;
  char* m_address = nullptr;
};

// The texts of one column of a report list view in another process, top row first.
std::vector<std::string> ListViewColumn(HWND list, HANDLE process, int column);
// A real mouse click on a column header. It first waits past the double-click time, so two
// clicks on one header never read as a double click.
void ClickListViewHeader(HWND list, HANDLE process, int column);
// Clicks a column header until `sorted` holds: Wine sometimes never delivers a click, so a list
// whose first column is still unchanged five seconds after a click is clicked again (a handled
// click changes the order at once, so none counts twice). False when `sorted` never held.
bool SortListViewBy(HWND list, HANDLE process, int column, const std::function<bool()>& sorted);
// A real left click at a screen point, the press carrying its own position.
void ClickScreenPoint(POINT point);
// Selects and focuses one row of a list view in another process.
void SelectListViewRow(HWND list, HANDLE process, int row);
// A real mouse click on one tab of a tab control.
void ClickTabOf(HWND tabs, HANDLE process, int index);
// Moves the mouse pointer to a screen point as real input.
void MoveMouseTo(int x, int y);
// The colour of one screen pixel; CLR_INVALID when it cannot be read.
COLORREF ScreenPixel(int x, int y);

// ---- Other programs ---------------------------------------------------------------------

// Runs a command line (reg.exe, for instance: a client we did not write) and gives back what it
// wrote to its standard output and error; empty when it cannot be started.
std::string RunAndCapture(std::string commandLine, Milliseconds timeout = Milliseconds{30000});

// The line reg.exe prints for one registry value, trimmed and with runs of blanks made one
// ("DefaultTTL REG_DWORD 0x40"); the name "(Default)" reads the key's default value;
// "(no value) " and reg.exe's output when it has none.
std::string RegQueryValue(const std::string& key, const std::string& name);

// Makes a key read-only for everyone (they may still read it, delete it and change its
// permissions back), as for a user without administrator rights; `writable` gives everyone
// every right again. False when the permissions could not be set.
bool SetKeyWritable(HKEY root, const std::string& path, bool writable);

// Writes a text value (REG_SZ) under HKEY_LOCAL_MACHINE, creating the key; false on failure.
bool StoreMachineText(const std::string& key, const std::string& name, const std::string& text);

// A block of this process's memory, written so that it counts as used, until destroyed (to move
// the free memory a program shows).
class UsedMemory {
 public:
  explicit UsedMemory(SIZE_T bytes);
  ~UsedMemory();
  UsedMemory(const UsedMemory&) = delete;
  UsedMemory& operator=(const UsedMemory&) = delete;
  bool Held() const { return m_block != nullptr; }

 private:
  void* m_block;
};

// ---- Files -----------------------------------------------------------------------------

bool FileExists(const std::string& path);
// A whole file's bytes (empty when it cannot be read), and a file written anew.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& contents);
// Deletes the files (not the folders) of a folder.
void DeleteFilesIn(const std::string& folder);

// ---- Wine settings ---------------------------------------------------------------------

// The Windows version Wine reports to programs with this file name ("Quelvar.exe"):
// "win95", "win98", "winme", "nt40", "win2k", "winxp"; an empty version restores the default.
// Takes effect for programs started afterwards.
bool SetWineVersion(const std::string& exeName, const std::string& version);

// Sets a version for the lifetime of the object and restores the default afterwards.
class ScopedWineVersion {
 public:
  ScopedWineVersion(std::string exeName, const std::string& version);
  ~ScopedWineVersion();
  ScopedWineVersion(const ScopedWineVersion&) = delete;
  ScopedWineVersion& operator=(const ScopedWineVersion&) = delete;
  bool Ok() const { return m_ok; }

 private:
  std::string m_exeName;
  bool m_ok = false;
};

// An environment variable of this process, and so of the programs it starts, for the lifetime
// of the object (QUELVAR_HIDE_API, QUELVAR_STUB_API); removed afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* m_name;
};

// ---- Screenshots -----------------------------------------------------------------------

// Captures the whole screen (Wine's virtual desktop) into a PNG file; false on failure.
bool SaveScreenshot(const std::string& pngPath);

// Writes 24-bit RGB rows (top row first, 3 bytes a pixel, no padding) as a PNG file.
bool WritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb);

}  // namespace quelvar::uitest
