// FreeRAM: the memory figures of the machine and the freeing of physical memory (the process
// commits and writes a large block, then gives it back, so the system pages others out).
// Instances are cheap: every figure is read afresh from the memory system.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "memory/memory_system.h"

namespace quelvar {

// ExitWindowsEx flags selected by FreeRAM::ExitWindows.
inline constexpr unsigned kExitLogoff = 0;
inline constexpr unsigned kExitShutdown = 1;
inline constexpr unsigned kExitReboot = 2;

class FreeRAM {
 public:
  FreeRAM() : m_system(TheMemorySystem()) {}
  explicit FreeRAM(MemorySystem& system) : m_system(system) {}

  // Bytes (64 bits wide: never negative, never capped) and percent.
  std::int64_t GetFreePhysical();
  std::int64_t GetTotalPhysical();
  std::int32_t GetMemoryLoad();
  std::int64_t GetFreeVirtual();
  std::int64_t GetTotalVirtual();

  // Commits and writes 2 x dwBytes bytes (dwBytes two-byte spaces), then releases them.
  // Five message-loop turns come before and five after; the write itself is done in slices
  // with the pending messages processed between them, so the window never waits long. When
  // the block is refused, one retry with half the count (ties to even) follows and its count
  // is returned; when that is refused too, 0. A call made while a free is running (from
  // inside its own message processing) does nothing and returns 0.
  // `stop`, when given, is asked after every turn of the message loop: once it answers true
  // the free ends there (the part written goes back, no retry follows) and 0 is returned.
  std::int64_t FreeUpMemory(std::int64_t dwBytes, const std::function<bool()>& stop = nullptr);

  // "shutdown", "reboot" or "logoff" in any case: ExitWindowsEx's result; any other word: 0.
  // (The name stands in parentheses: <windows.h> defines a macro of the same name.)
  long(ExitWindows)(const std::string& action);
  void GoToURL(const std::string& address);
  void eMail(const std::string& emailID);

  // True while FreeUpMemory runs anywhere in the process.
  static bool FreeInProgress();

 private:
  MemoryFigures Status() { return m_system.QueryMemoryStatus(); }
  enum class Fill { Written, Refused, Stopped };
  // Commits 2 x count bytes and writes every character, unless `stop` ends it part way.
  Fill FillBlock(std::int64_t count, const std::function<bool()>& stop);

  MemorySystem& m_system;
};

// The longest the write of a block goes on without turning the message loop, in ms.
inline constexpr std::uint32_t kFreeSliceMilliseconds = 20;

}  // namespace quelvar
