// The memory system on Windows: the extended memory status where the system has it (the old
// call on Windows 95 and NT 4), blocks from VirtualAlloc, a turn of this thread's message
// loop, the multimedia millisecond counter, and the shell calls. Also IsWindowsNT and the
// NT line's system information records.
#pragma once
#include "memory/memory_system.h"
#include "memory/processor_meter.h"

namespace quelvar {

class Win32MemorySystem : public MemorySystem {
 public:
  MemoryFigures QueryMemoryStatus() override;
  void* Commit(std::uint64_t bytes) override;
  void Decommit(void* part, std::uint64_t bytes) override;
  void Release(void* block, std::uint64_t bytes) override;
  void DoEvents() override;
  std::uint32_t Milliseconds() override;
  long ExitWindowsEx(unsigned flags) override;
  void ShellOpen(const char* verb, const std::string& file, int showCommand) override;
};

// NtQuerySystemInformation (loaded at run time from ntdll) with each record at the build
// target's own size: the basic record is 44 bytes on 32-bit Windows and 64 on x64.
class NtSystemInformation final : public SystemInformation {
 public:
  bool NumberOfProcessors(std::uint8_t* processors) override;
  bool IdleTime(std::int64_t* idle) override;
  bool SystemTime(std::int64_t* time) override;

  // The size of the basic-information record this build asks for.
  static unsigned BasicInformationSize();
};

// modFreeRam: true when the running Windows is of the NT platform.
bool IsWindowsNT();

}  // namespace quelvar
