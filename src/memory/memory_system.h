// What the memory booster asks of the operating system: the memory figures, a block of
// committed memory, one turn of the message loop, a millisecond counter, and the shell calls
// of FreeRAM. The Win32 implementation lives in win32/; tests install a fake.
#pragma once
#include <cstdint>
#include <string>

namespace quelvar {

// One memory-status record, every byte figure 64 bits wide so machines beyond 4 GB read
// right on every target.
struct MemoryFigures {
  std::uint32_t memoryLoad = 0;  // percent of physical memory in use
  std::uint64_t totalPhysical = 0;
  std::uint64_t availablePhysical = 0;
  std::uint64_t totalPageFile = 0;
  std::uint64_t availablePageFile = 0;
  std::uint64_t totalVirtual = 0;
  std::uint64_t availableVirtual = 0;
};

class MemorySystem {
 public:
  virtual ~MemorySystem() = default;
  virtual MemoryFigures QueryMemoryStatus() = 0;
  // Commits `bytes` bytes of fresh memory; null when the system refuses.
  virtual void* Commit(std::uint64_t bytes) = 0;
  // Gives part of a committed block back to the system (the range stays reserved).
  virtual void Decommit(void* part, std::uint64_t bytes) = 0;
  // Gives a committed block back.
  virtual void Release(void* block, std::uint64_t bytes) = 0;
  // Processes the pending window messages once.
  virtual void DoEvents() = 0;
  // A millisecond counter (it wraps after 49 days: compare differences, not values).
  virtual std::uint32_t Milliseconds() = 0;
  // ExitWindowsEx with these flags and a reserved 0; the system's result.
  virtual long ExitWindowsEx(unsigned flags) = 0;
  // ShellExecuteA with no owner, the verb (null for the default action), the file, no
  // parameters, no folder and the show command.
  virtual void ShellOpen(const char* verb, const std::string& file, int showCommand) = 0;
};

// The process-wide memory system, set once at start-up by WinMain or by a test.
void SetMemorySystem(MemorySystem& system);
MemorySystem& TheMemorySystem();

}  // namespace quelvar
