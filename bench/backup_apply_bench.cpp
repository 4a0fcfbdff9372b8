// Wall time of one backup + apply (NT line, preset Automatic-A, three interfaces): median of
// several runs on the in-memory store, and, built for Windows, on the real registry and disk.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/memory_file_system.h"
#include "base/message_box.h"
#include "base/os_family.h"
#include "base/program_folder.h"
#include "registry/memory_registry.h"
#include "tuning/apply_profile.h"
#include "tuning/tuning_profile.h"

#ifdef _WIN32
#include <windows.h>
#include <shlwapi.h>

#include "base/win32/win32_file_system.h"
#include "registry/win32/win32_registry.h"
#endif

namespace {

using namespace quelvar;

constexpr int kRuns = 41;
const char* const kInterfaces =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
const char* const kNames[] = {"{BENCH-1}", "{BENCH-2}", "{BENCH-3}"};

class SilentBoxes final : public MessageBoxService {
 public:
  int Show(const std::string&, const std::string&, unsigned) override { return kIdOk; }
};

// Median microseconds of `runs` calls of `once`; `between` runs untimed after each.
double MedianMicroseconds(const std::function<bool()>& once, const std::function<void()>& between) {
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const bool ran = once();
    const auto stop = std::chrono::steady_clock::now();
    if (!ran) {
      std::fprintf(stderr, "the apply did not run\n");
      return -1;
    }
    times.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    between();
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

double InMemory() {
  MemoryRegistry registry;
  MemoryFileSystem files;
  files.AddFolder("C:\\Bench");
  SetProgramFolder("C:\\Bench");
  for (const char* n : kNames)
    registry.CreatePath(kHkeyLocalMachine, std::string(kInterfaces) + "\\" + n);
  SetRegistryBackend(registry);
  SetFileSystem(files);
  return MedianMicroseconds(ApplyTuningProfile, [&] {
    for (const std::string& path : files.AllFiles()) files.RemoveFile(path);
  });
}

#ifdef _WIN32
void DeleteTree(HKEY root, const std::string& path) { ::SHDeleteKeyA(root, path.c_str()); }

double RealRegistry() {
  Win32Registry registry;
  Win32FileSystem files;
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "quelvar-bench";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  SetProgramFolder(folder);
  const std::string backups = folder + "\\Backups";
  for (const char* n : kNames) {
    HKEY key = nullptr;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kInterfaces) + "\\" + n).c_str(), 0, nullptr,
                      0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (key) ::RegCloseKey(key);
  }
  SetRegistryBackend(registry);
  SetFileSystem(files);
  const auto clear = [&] {
    for (const std::string& name : files.ListFiles(backups, "*"))
      files.RemoveFile(backups + "\\" + name);
  };
  const double median = MedianMicroseconds(ApplyTuningProfile, clear);
  clear();
  ::RemoveDirectoryA(backups.c_str());
  ::RemoveDirectoryA(folder.c_str());
  for (const char* n : kNames) {
    DeleteTree(HKEY_LOCAL_MACHINE, std::string(kInterfaces) + "\\" + n);
    DeleteTree(HKEY_LOCAL_MACHINE, std::string("SYSTEM\\CurrentControlSet\\Services\\") + n);
  }
  return median;
}
#endif

}  // namespace

int main() {
  SilentBoxes boxes;
  FixedClock clock({2004, 1, 2, 3, 4, 5});
  SetMessageBoxService(boxes);
  SetClock(clock);
  OsFamily = 6;
  LoadTuningPresets();
  LoadPreset(0);
  std::printf("backup + apply, NT line, three interfaces, median of %d runs\n", kRuns);
  std::printf("  in-memory store:  %10.1f us\n", InMemory());
#ifdef _WIN32
  std::printf("  real registry:    %10.1f us\n", RealRegistry());
#endif
  return 0;
}
