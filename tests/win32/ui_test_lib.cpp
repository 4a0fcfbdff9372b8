// The UI test library's Win32 side: processes through CreateProcessA and the tool help
// snapshot, windows through EnumWindows/EnumChildWindows, screenshots through GDI and a
// minimal PNG writer (stored deflate blocks, so no compression library is needed).
#include "win32/ui_test_lib.h"

#include "resource.h"

#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <utility>

namespace quelvar::uitest {

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// "Optimize &Now" -> "Optimize Now"; "&&" stays a single '&'.
std::string WithoutMnemonics(const std::string& caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

void PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

DWORD ToDword(Milliseconds timeout) {
  return static_cast<DWORD>(std::max<long long>(0, timeout.count()));
}

void CreateFolders(const std::string& folder) {
  for (std::size_t i = 3; i <= folder.size(); ++i) {
    if (i == folder.size() || folder[i] == '\\') ::CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
  }
}

}  // namespace

// ---- Paths -----------------------------------------------------------------------------

std::string ToWinePath(const std::string& path) {
  std::string out = path;
  std::replace(out.begin(), out.end(), '/', '\\');
  if (!path.empty() && path[0] == '/') out = "Z:" + out;
  return out;
}

std::string QuelvarExePath() {
#ifdef QUELVAR_EXE_PATH
  return ToWinePath(QUELVAR_EXE_PATH);
#else
  return {};
#endif
}

std::string BuildDir() {
#ifdef QUELVAR_BUILD_DIR
  return ToWinePath(QUELVAR_BUILD_DIR);
#else
  char folder[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, folder);
  return folder;
#endif
}

std::string ScreenshotPath(const std::string& name) {
  const std::string folder = BuildDir() + "\\screenshots";
  CreateFolders(folder);
  return folder + "\\" + name + ".png";
}

std::string FileNameOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ---- Processes -------------------------------------------------------------------------

Process::Process(Process&& other) noexcept
    : m_process(std::exchange(other.m_process, nullptr)),
      m_id(std::exchange(other.m_id, 0)),
      m_startError(other.m_startError) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Terminate();
    if (m_process) ::CloseHandle(m_process);
    m_process = std::exchange(other.m_process, nullptr);
    m_id = std::exchange(other.m_id, 0);
    m_startError = other.m_startError;
  }
  return *this;
}

Process::~Process() {
  Terminate();
  if (m_process) ::CloseHandle(m_process);
}

Process Process::Start(const std::string& exePath, const std::string& arguments,
                       const std::string& workingFolder) {
  Process started;
  const std::string exe = ToWinePath(exePath);
  const auto slash = exe.find_last_of('\\');
  const std::string folder = !workingFolder.empty()      ? ToWinePath(workingFolder)
                             : slash != std::string::npos ? exe.substr(0, slash)
                                                          : std::string();
  std::string commandLine = "\"" + exe + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    started.m_startError = ::GetLastError();
    return started;
  }
  ::CloseHandle(info.hThread);
  started.m_process = info.hProcess;
  started.m_id = info.dwProcessId;
  // Lets the program reach its message loop before the test talks to its windows.
  ::WaitForInputIdle(info.hProcess, 5000);
  return started;
}

bool Process::IsRunning() const {
  return m_process && ::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(Milliseconds timeout) const {
  return !m_process || ::WaitForSingleObject(m_process, ToDword(timeout)) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (m_process) ::GetExitCodeProcess(m_process, &code);
  return code;
}

bool Process::Close(Milliseconds timeout) {
  if (!IsRunning()) return true;
  for (HWND window : TopWindowsOf(m_id)) ::PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForExit(timeout)) return true;
  Terminate();
  return false;
}

void Process::Terminate() {
  if (!IsRunning()) return;
  ::TerminateProcess(m_process, 255);
  ::WaitForSingleObject(m_process, 5000);
}

std::vector<DWORD> ProcessesNamed(const std::string& exeName) {
  std::vector<DWORD> ids;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  const std::string wanted = Lower(exeName);
  for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
    if (Lower(FileNameOf(entry.szExeFile)) == wanted) ids.push_back(entry.th32ProcessID);
  }
  ::CloseHandle(snapshot);
  return ids;
}

bool WaitForNoProcess(const std::string& exeName, Milliseconds timeout) {
  return WaitUntil([&] { return ProcessesNamed(exeName).empty(); }, timeout);
}

std::string ExeFolder() {
  const std::string exe = QuelvarExePath();
  return exe.substr(0, exe.find_last_of('\\'));
}

HWND StartQuelvar(Process& process, const std::string& arguments) {
  process = Process::Start(QuelvarExePath(), arguments);
  if (!process.Started()) return nullptr;
  return WaitForWindow("Quelvar", Milliseconds{15000}, process.Id());
}

bool ClickFace(HWND main, const std::string& caption) {
  HWND face = FindChildById(main, IDC_FACE);
  HWND button = face ? FindChild(face, caption) : nullptr;
  return button && ClickAndWait(button);
}

bool ShellHasIcon(HWND trayWindow) {
  NOTIFYICONDATAA probe{};
  probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
  probe.hWnd = trayWindow;
  probe.uID = 1;
  return ::Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

// ---- Windows and controls --------------------------------------------------------------

StandardBox WaitForStandardBox(DWORD processId, Milliseconds timeout) {
  StandardBox seen;
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

bool AnswerStandardBox(const StandardBox& box, int buttonId) {
  HWND button = box.box ? ::GetDlgItem(box.box, buttonId) : nullptr;
  if (!button) return false;
  Click(button);
  return WaitUntil([&] { return !::IsWindow(box.box); }, Milliseconds{5000});
}

bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    PumpMessages();
    std::this_thread::sleep_for(Milliseconds{50});
  }
}

namespace {

struct TopSearch {
  const std::string* caption;
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<TopSearch*>(param);
  if (!::IsWindowVisible(window)) return TRUE;
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (search.processId != 0 && owner != search.processId) return TRUE;
  if (search.caption && GetText(window) != *search.caption) return TRUE;
  search.found.push_back(window);
  return TRUE;
}

struct ChildSearch {
  std::string caption;
  int controlId;
  bool byId;
  HWND found;
};

// EnumChildWindows already walks every descendant, at any depth.
BOOL CALLBACK MatchChild(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<ChildSearch*>(param);
  const bool match = search.byId ? ::GetDlgCtrlID(window) == search.controlId
                                 : WithoutMnemonics(GetText(window)) == search.caption;
  if (!match) return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

HWND FindTopWindow(const std::string& caption, DWORD processId) {
  TopSearch search{&caption, processId, {}};
  ::EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found.empty() ? nullptr : search.found.front();
}

HWND WaitForWindow(const std::string& caption, Milliseconds timeout, DWORD processId) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindTopWindow(caption, processId)) != nullptr; }, timeout);
  return window;
}

std::vector<HWND> TopWindowsOf(DWORD processId) {
  TopSearch search{nullptr, processId, {}};
  ::EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindChild(HWND parent, const std::string& caption) {
  ChildSearch search{WithoutMnemonics(caption), 0, false, nullptr};
  ::EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindChildById(HWND parent, int controlId) {
  ChildSearch search{{}, controlId, true, nullptr};
  ::EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForChild(HWND parent, const std::string& caption, Milliseconds timeout) {
  HWND child = nullptr;
  WaitUntil([&] { return (child = FindChild(parent, caption)) != nullptr; }, timeout);
  return child;
}

std::string ClassNameOf(HWND window) {
  char name[256] = {};
  ::GetClassNameA(window, name, static_cast<int>(sizeof(name)));
  return name;
}

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Milliseconds timeout) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, ToDword(timeout), &result)) return 0;
  return static_cast<LRESULT>(result);
}

bool Click(HWND control) {
  return control && ::PostMessageA(control, BM_CLICK, 0, 0) != FALSE;
}

bool ClickAndWait(HWND control, Milliseconds timeout) {
  DWORD_PTR result = 0;
  return control && ::SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, ToDword(timeout), &result) != 0;
}

std::string GetText(HWND window) {
  if (!window) return {};
  const auto length = SendWithTimeout(window, WM_GETTEXTLENGTH);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const auto copied = SendWithTimeout(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, copied)));
  return text;
}

bool SetText(HWND window, const std::string& text) {
  return window && SendWithTimeout(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

// ---- Wine settings ---------------------------------------------------------------------

bool SetWineVersion(const std::string& exeName, const std::string& version) {
  const std::string keyPath = "Software\\Wine\\AppDefaults\\" + exeName;
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG status;
  if (version.empty()) {
    status = ::RegDeleteValueA(key, "Version");
    if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
  } else {
    status = ::RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                              static_cast<DWORD>(version.size() + 1));
  }
  ::RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

ScopedWineVersion::ScopedWineVersion(std::string exeName, const std::string& version)
    : m_exeName(std::move(exeName)), m_ok(SetWineVersion(m_exeName, version)) {}

ScopedWineVersion::~ScopedWineVersion() { SetWineVersion(m_exeName, ""); }

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : m_name(name) {
  ::SetEnvironmentVariableA(name, value);
}
ScopedEnvironment::~ScopedEnvironment() { ::SetEnvironmentVariableA(m_name, nullptr); }

// ---- Screenshots -----------------------------------------------------------------------

namespace {

std::uint32_t Crc32(const unsigned char* data, std::size_t size, std::uint32_t crc = 0) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBigEndian(std::vector<unsigned char>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

void PutChunk(std::vector<unsigned char>& out, const char type[4], const std::vector<unsigned char>& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBigEndian(out, Crc32(out.data() + typeAt, data.size() + 4));
}

}  // namespace

bool WritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb) {
  if (width <= 0 || height <= 0) return false;
  const std::size_t stride = static_cast<std::size_t>(width) * 3;
  if (rgb.size() != stride * static_cast<std::size_t>(height)) return false;

  // Raw scan lines, each led by filter type 0.
  std::vector<unsigned char> raw;
  raw.reserve((stride + 1) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgb.begin() + static_cast<std::ptrdiff_t>(stride * y),
               rgb.begin() + static_cast<std::ptrdiff_t>(stride * (y + 1)));
  }

  // zlib stream of stored blocks (at most 65535 bytes each) and its Adler-32.
  std::vector<unsigned char> zlib{0x78, 0x01};
  for (std::size_t at = 0; at < raw.size() || at == 0;) {
    const std::size_t size = std::min<std::size_t>(65535, raw.size() - at);
    const bool last = at + size == raw.size();
    zlib.push_back(last ? 1 : 0);
    zlib.push_back(static_cast<unsigned char>(size & 0xFF));
    zlib.push_back(static_cast<unsigned char>(size >> 8));
    zlib.push_back(static_cast<unsigned char>(~size & 0xFF));
    zlib.push_back(static_cast<unsigned char>((~size >> 8) & 0xFF));
    zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                raw.begin() + static_cast<std::ptrdiff_t>(at + size));
    at += size;
    if (last) break;
  }
  std::uint32_t a = 1, b = 0;
  for (unsigned char byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian(zlib, (b << 16) | a);

  std::vector<unsigned char> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<unsigned char> header;
  PutBigEndian(header, static_cast<std::uint32_t>(width));
  PutBigEndian(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", zlib);
  PutChunk(png, "IEND", {});

  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

bool SaveScreenshot(const std::string& pngPath) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  if (width <= 0 || height <= 0) return false;

  HDC screen = ::GetDC(nullptr);
  if (!screen) return false;
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (memory && bitmap) {
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    copied = ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
    ::GdiFlush();
    ::SelectObject(memory, previous);
  }
  std::vector<unsigned char> rgb;
  if (copied) {
    const auto* pixels = static_cast<const unsigned char*>(bits);  // B, G, R, unused
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    rgb.resize(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
      rgb[i * 3] = pixels[i * 4 + 2];
      rgb[i * 3 + 1] = pixels[i * 4 + 1];
      rgb[i * 3 + 2] = pixels[i * 4];
    }
  }
  if (bitmap) ::DeleteObject(bitmap);
  if (memory) ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return copied && WritePng(pngPath, width, height, rgb);
}

std::string RunAndCapture(std::string commandLine, Milliseconds timeout) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {};
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process{};
  const BOOL started = ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  ::CloseHandle(writeEnd);
  std::string output;
  if (started) {
    char buffer[512];
    DWORD read = 0;
    while (::ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
      output.append(buffer, read);
    }
    ::WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeout.count()));
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
  }
  ::CloseHandle(readEnd);
  return output;
}

bool StoreMachineText(const std::string& key, const std::string& name, const std::string& text) {
  HKEY handle = nullptr;
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG result = ::RegSetValueExA(handle, name.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>(text.size() + 1));
  ::RegCloseKey(handle);
  return result == ERROR_SUCCESS;
}

std::string RegQueryValue(const std::string& key, const std::string& name) {
  const std::string output = RunAndCapture("reg.exe query \"" + key + "\" " +
                                           (name == "(Default)" ? "/ve" : "/v \"" + name + "\""));
  for (std::size_t start = 0; start < output.size();) {
    std::size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    const std::size_t first = line.find_first_not_of(' ');
    if (first != std::string::npos && line.compare(first, name.size() + 1, name + " ") == 0) {
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

bool SetKeyWritable(HKEY root, const std::string& path, bool writable) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return false;
  SECURITY_DESCRIPTOR descriptor;
  ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  alignas(DWORD) BYTE aclBuffer[256];
  auto* acl = reinterpret_cast<PACL>(aclBuffer);
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  ::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  if (writable) {
    // No list at all: nothing is refused.
    ::SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
  } else {
    ::InitializeAcl(acl, sizeof(aclBuffer), ACL_REVISION);
    ::AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | DELETE | WRITE_DAC, everyone);
    ::SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
  }
  const bool set =
      ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
  ::FreeSid(everyone);
  ::RegCloseKey(key);
  return set;
}

UsedMemory::UsedMemory(SIZE_T bytes)
    : m_block(::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)) {
  if (m_block) std::memset(m_block, 1, bytes);
}

UsedMemory::~UsedMemory() {
  if (m_block) ::VirtualFree(m_block, 0, MEM_RELEASE);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& contents) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << contents;
}

bool FileExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DeleteFilesIn(const std::string& folder) {
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

// ---- List views and the mouse -------------------------------------------------------------


std::vector<std::string> ListViewColumn(HWND list, HANDLE process, int column) {
  std::vector<std::string> cells;
  RemoteMemory remote(process, 2048);
  const int count = static_cast<int>(SendWithTimeout(list, LVM_GETITEMCOUNT));
  for (int row = 0; row < count; ++row) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iSubItem = column;
    item.pszText = remote.At(1024);
    item.cchTextMax = 256;
    remote.Write(&item, sizeof(item));
    const auto length = SendWithTimeout(list, LVM_GETITEMTEXTA, row, remote.Param());
    char text[256] = {};
    remote.Read(text, sizeof(text) - 1, 1024);
    cells.emplace_back(text, static_cast<std::size_t>(length > 0 ? length : 0));
  }
  return cells;
}

void MoveMouseTo(int x, int y) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input.mi.dx = static_cast<LONG>((x * 65536LL + 32768) / ::GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = static_cast<LONG>((y * 65536LL + 32768) / ::GetSystemMetrics(SM_CYSCREEN));
  ::SendInput(1, &input, sizeof(INPUT));
}

void ClickListViewHeader(HWND list, HANDLE process, int column) {
  HWND header = reinterpret_cast<HWND>(SendWithTimeout(list, LVM_GETHEADER));
  if (header == nullptr) return;
  RemoteMemory remote(process, sizeof(RECT));
  SendWithTimeout(header, HDM_GETITEMRECT, column, remote.Param());
  RECT rect{};
  remote.Read(&rect, sizeof(rect));
  POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ::ClientToScreen(header, &point);
  ::SetForegroundWindow(::GetAncestor(list, GA_ROOT));
  WaitUntil([] { return false; }, Milliseconds{::GetDoubleClickTime() + 100});
  ClickScreenPoint(point);
}

void ClickScreenPoint(POINT point) {
  // Each event carries the position itself, so the press never lands where the pointer was.
  INPUT input[3] = {};
  const DWORD flags[3] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 3; ++i) {
    input[i].type = INPUT_MOUSE;
    input[i].mi.dx = static_cast<LONG>((point.x * 65536LL + 32768) / ::GetSystemMetrics(SM_CXSCREEN));
    input[i].mi.dy = static_cast<LONG>((point.y * 65536LL + 32768) / ::GetSystemMetrics(SM_CYSCREEN));
    input[i].mi.dwFlags = flags[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  }
  ::SendInput(3, input, sizeof(INPUT));
}

void SelectListViewRow(HWND list, HANDLE process, int row) {
  RemoteMemory remote(process, sizeof(LVITEMA));
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  remote.Write(&item, sizeof(item));
  SendWithTimeout(list, LVM_SETITEMSTATE, row, remote.Param());
}

void ClickTabOf(HWND tabs, HANDLE process, int index) {
  RemoteMemory remote(process, sizeof(RECT));
  SendWithTimeout(tabs, TCM_GETITEMRECT, index, remote.Param());
  RECT rect{};
  remote.Read(&rect, sizeof(rect));
  POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ::ClientToScreen(tabs, &point);
  ::SetForegroundWindow(::GetAncestor(tabs, GA_ROOT));
  ClickScreenPoint(point);
}

bool SortListViewBy(HWND list, HANDLE process, int column, const std::function<bool()>& sorted) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::vector<std::string> before = ListViewColumn(list, process, 0);
    ClickListViewHeader(list, process, column);
    if (WaitUntil(sorted, Milliseconds{5000})) return true;
    if (ListViewColumn(list, process, 0) != before) return false;
  }
  return false;
}

AnswerProbe::AnswerProbe(HWND window) : m_window(window) {
  m_thread = ::CreateThread(nullptr, 0, &AnswerProbe::Run, this, 0, nullptr);
}

AnswerProbe::~AnswerProbe() { Stop(); }

long long AnswerProbe::Stop() {
  if (m_thread) {
    ::InterlockedExchange(&m_done, 1);
    ::WaitForSingleObject(m_thread, INFINITE);
    ::CloseHandle(m_thread);
    m_thread = nullptr;
  }
  return m_longest;
}

DWORD WINAPI AnswerProbe::Run(void* self) {
  auto* probe = static_cast<AnswerProbe*>(self);
  while (!probe->m_done) {
    const auto start = std::chrono::steady_clock::now();
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(probe->m_window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
    const long long waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start).count();
    if (waited > probe->m_longest) probe->m_longest = waited;
    ::Sleep(5);
  }
  return 0;
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = ::GetDC(nullptr);
  if (screen == nullptr) return CLR_INVALID;
  const COLORREF color = ::GetPixel(screen, x, y);
  ::ReleaseDC(nullptr, screen);
  return color;
}

}  // namespace quelvar::uitest
