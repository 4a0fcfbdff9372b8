// Samples a running Quelvar from outside for the soak run: its GDI objects, its windows and,
// where the system counts them, its USER objects. Prints one line:
//   gdi=N windows=N user=N
// (user=-1 where GetGuiResources is not implemented). With --close, sends WM_CLOSE instead.
// GDI objects are counted in the process's GDI handle table, which the process environment
// block points at; Wine does not implement GetGuiResources, so this is the count both give.
#ifdef _WIN32
#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// One entry of the GDI handle table as 64-bit processes lay it out.
struct GdiHandleEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint16_t unique;
  std::uint8_t type;  // 0: free slot
  std::uint8_t flags;
  std::uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kGdiHandleCount = 0x10000;
constexpr std::size_t kPebGdiTableOffset = 0xF8;  // 64-bit PEB

long CountGdiObjects(HANDLE process) {
  PROCESS_BASIC_INFORMATION info{};
  ULONG length = 0;
  if (::NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof info, &length) != 0) {
    return -1;
  }
  void* table = nullptr;
  SIZE_T read = 0;
  if (!::ReadProcessMemory(process, reinterpret_cast<const char*>(info.PebBaseAddress) + kPebGdiTableOffset,
                           &table, sizeof table, &read) || table == nullptr) {
    return -1;
  }
  std::vector<GdiHandleEntry> entries(kGdiHandleCount);
  if (!::ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiHandleEntry), &read)) {
    return -1;
  }
  long count = 0;
  for (const GdiHandleEntry& entry : entries) count += entry.type != 0 ? 1 : 0;
  return count;
}

struct WindowCount {
  DWORD pid;
  long windows = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
  ++reinterpret_cast<WindowCount*>(param)->windows;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
  auto* count = reinterpret_cast<WindowCount*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  if (pid == count->pid) {
    ++count->windows;
    ::EnumChildWindows(window, CountChild, param);
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  HWND main = ::FindWindowA(nullptr, "Quelvar");
  if (main == nullptr) {
    std::printf("no Quelvar window\n");
    return 1;
  }
  if (argc > 1 && std::strcmp(argv[1], "--close") == 0) {
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    return 0;
  }
  WindowCount count{};
  ::GetWindowThreadProcessId(main, &count.pid);
  HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, count.pid);
  if (process == nullptr) {
    std::printf("cannot open the process\n");
    return 1;
  }
  ::EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
  const DWORD user = ::GetGuiResources(process, GR_USEROBJECTS);
  std::printf("gdi=%ld windows=%ld user=%ld\n", CountGdiObjects(process), count.windows,
              user == 0 ? -1L : static_cast<long>(user));
  ::CloseHandle(process);
  return 0;
}
#else
#include <cstdio>
int main() {
  std::printf("soak_probe samples a running Quelvar under Windows or Wine; build it for Windows\n");
  return 0;
}
#endif
