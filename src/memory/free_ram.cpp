// FreeRAM; see free_ram.h.
#include "memory/free_ram.h"

#include <algorithm>
#include <cassert>
#include <cctype>

namespace quelvar {

namespace {

MemorySystem* g_memorySystem = nullptr;
bool g_freeing = false;

// Yields before and after the write, as many as the message loop needs to catch up.
constexpr int kYieldsAroundFree = 5;
// Characters written between two looks at the clock (1 MB).
constexpr std::int64_t kSliceCharacters = 512 * 1024;
// Characters given back at a time (32 MB).
constexpr std::int64_t kReleaseCharacters = 16 * 1024 * 1024;

std::int64_t Signed(std::uint64_t value) {
  return static_cast<std::int64_t>(std::min<std::uint64_t>(value, INT64_MAX));
}

// Half of a count, ties to the even neighbour (5 -> 2, 7 -> 4).
std::int64_t HalfToEven(std::int64_t count) {
  const std::int64_t half = count / 2;
  if (count % 2 == 0) return half;
  return half % 2 == 0 ? half : half + 1;
}

class FreeGuard {
 public:
  FreeGuard() { g_freeing = true; }
  ~FreeGuard() { g_freeing = false; }
  FreeGuard(const FreeGuard&) = delete;
  FreeGuard& operator=(const FreeGuard&) = delete;
};

}  // namespace

void SetMemorySystem(MemorySystem& system) { g_memorySystem = &system; }
MemorySystem& TheMemorySystem() {
  assert(g_memorySystem != nullptr);
  return *g_memorySystem;
}

std::int64_t FreeRAM::GetFreePhysical() { return Signed(Status().availablePhysical); }
std::int64_t FreeRAM::GetTotalPhysical() { return Signed(Status().totalPhysical); }
std::int32_t FreeRAM::GetMemoryLoad() { return static_cast<std::int32_t>(Status().memoryLoad); }
std::int64_t FreeRAM::GetFreeVirtual() { return Signed(Status().availableVirtual); }
std::int64_t FreeRAM::GetTotalVirtual() { return Signed(Status().totalVirtual); }

bool FreeRAM::FreeInProgress() { return g_freeing; }

FreeRAM::Fill FreeRAM::FillBlock(std::int64_t count, const std::function<bool()>& stop) {
  if (count <= 0) return Fill::Written;
  const auto bytes = static_cast<std::uint64_t>(count) * 2;
  if (bytes / 2 != static_cast<std::uint64_t>(count)) return Fill::Refused;
  void* block = m_system.Commit(bytes);
  if (block == nullptr) return Fill::Refused;
  // The write goes in slices; whenever a slice ends past the time budget the message loop
  // gets a turn, so timers and input wait at most about one budget. (A worker thread would
  // write no faster, and the callers' yields before and after stay on this thread anyway.)
  auto* characters = static_cast<char16_t*>(block);
  std::uint32_t lastTurn = m_system.Milliseconds();
  bool stopped = false;
  std::int64_t written = 0;
  while (written < count && !stopped) {
    const std::int64_t slice = std::min(kSliceCharacters, count - written);
    std::fill_n(characters + written, slice, u' ');
    written += slice;
    if (written < count && m_system.Milliseconds() - lastTurn >= kFreeSliceMilliseconds) {
      m_system.DoEvents();
      lastTurn = m_system.Milliseconds();
      stopped = stop && stop();
    }
  }
  // Giving a large written block back takes the system a while too: the written part goes
  // back in slices, with the same turns between them.
  for (std::int64_t done = 0; done < written;) {
    const std::int64_t slice = std::min(kReleaseCharacters, written - done);
    m_system.Decommit(characters + done, static_cast<std::uint64_t>(slice) * 2);
    done += slice;
    if (done < written && m_system.Milliseconds() - lastTurn >= kFreeSliceMilliseconds) {
      m_system.DoEvents();
      lastTurn = m_system.Milliseconds();
    }
  }
  m_system.Release(block, bytes);
  return stopped ? Fill::Stopped : Fill::Written;
}

std::int64_t FreeRAM::FreeUpMemory(std::int64_t dwBytes, const std::function<bool()>& stop) {
  if (g_freeing) return 0;
  FreeGuard guard;
  const std::int64_t count = std::max<std::int64_t>(dwBytes, 0);
  for (int i = 0; i < kYieldsAroundFree; ++i) m_system.DoEvents();
  if (stop && stop()) return 0;
  switch (FillBlock(count, stop)) {
    case Fill::Written:
      for (int i = 0; i < kYieldsAroundFree; ++i) m_system.DoEvents();
      return count;
    case Fill::Stopped: return 0;
    case Fill::Refused: break;
  }
  // Refused: one more try with half as much, without the yields around it.
  const std::int64_t half = HalfToEven(count);
  return FillBlock(half, stop) == Fill::Written ? half : 0;
}

long FreeRAM::ExitWindows(const std::string& action) {
  std::string word = action;
  std::transform(word.begin(), word.end(), word.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (word == "shutdown") return m_system.ExitWindowsEx(kExitShutdown);
  if (word == "reboot") return m_system.ExitWindowsEx(kExitReboot);
  if (word == "logoff") return m_system.ExitWindowsEx(kExitLogoff);
  return 0;
}

void FreeRAM::GoToURL(const std::string& address) {
  m_system.ShellOpen("open", address, 3);  // maximised
}

void FreeRAM::eMail(const std::string& emailID) {
  m_system.ShellOpen(nullptr, "mailto:" + emailID, 9);  // restored
}

}  // namespace quelvar
