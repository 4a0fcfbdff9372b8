// Win32MemorySystem and NtSystemInformation; see win32_memory_system.h.
#include "memory/win32/win32_memory_system.h"

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <winternl.h>

#include <cstddef>
#include <cstring>

#include "base/win32/optional_api.h"
#include "base/win32/windows_version.h"

namespace quelvar {

namespace {

constexpr ULONG kSystemBasicInformation = 0;
constexpr ULONG kSystemPerformanceInformation = 2;
constexpr ULONG kSystemTimeOfDayInformation = 3;
// The performance and time-of-day records as the NT line has always laid them out.
constexpr ULONG kPerformanceInformationSize = 312;
constexpr ULONG kTimeOfDayInformationSize = 32;
constexpr std::size_t kIdleTimeOffset = 0;
constexpr std::size_t kCurrentTimeOffset = 8;

static_assert(sizeof(void*) != 4 || sizeof(SYSTEM_BASIC_INFORMATION) == 44,
              "the basic-information record is 44 bytes on 32-bit Windows");
static_assert(sizeof(void*) != 4 || offsetof(SYSTEM_BASIC_INFORMATION, NumberOfProcessors) == 40,
              "the processor count stands at byte 40 on 32-bit Windows");

// One record of `size` bytes, zero-filled, from the system; false when it refuses.
bool QueryRecord(ULONG informationClass, void* record, ULONG size) {
  const auto query = optional_api::NtQuerySystemInformation();
  if (query == nullptr) return false;
  std::memset(record, 0, size);
  return query(informationClass, record, size, nullptr) == 0;
}

std::int64_t ReadCounter(const unsigned char* record, std::size_t offset) {
  std::int64_t value = 0;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}

}  // namespace

MemoryFigures Win32MemorySystem::QueryMemoryStatus() {
  MemoryFigures figures;
  if (const auto statusEx = optional_api::GlobalMemoryStatusEx()) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    // A record that contradicts itself (more free than there is, a load above 100 %) is not
    // used: some emulated 32-bit systems answer with one, and the old call's figures, capped as
    // they are, are at least true.
    if (statusEx(&status) && status.ullAvailPhys <= status.ullTotalPhys &&
        status.dwMemoryLoad <= 100) {
      figures.memoryLoad = status.dwMemoryLoad;
      figures.totalPhysical = status.ullTotalPhys;
      figures.availablePhysical = status.ullAvailPhys;
      figures.totalPageFile = status.ullTotalPageFile;
      figures.availablePageFile = status.ullAvailPageFile;
      figures.totalVirtual = status.ullTotalVirtual;
      figures.availableVirtual = status.ullAvailVirtual;
      return figures;
    }
  }
  MEMORYSTATUS status{};
  status.dwLength = sizeof(status);
  ::GlobalMemoryStatus(&status);
  figures.memoryLoad = status.dwMemoryLoad;
  figures.totalPhysical = status.dwTotalPhys;
  figures.availablePhysical = status.dwAvailPhys;
  figures.totalPageFile = status.dwTotalPageFile;
  figures.availablePageFile = status.dwAvailPageFile;
  figures.totalVirtual = status.dwTotalVirtual;
  figures.availableVirtual = status.dwAvailVirtual;
  return figures;
}

void* Win32MemorySystem::Commit(std::uint64_t bytes) {
  if (bytes == 0 || bytes > static_cast<SIZE_T>(-1)) return nullptr;
  return ::VirtualAlloc(nullptr, static_cast<SIZE_T>(bytes), MEM_RESERVE | MEM_COMMIT,
                        PAGE_READWRITE);
}

void Win32MemorySystem::Decommit(void* part, std::uint64_t bytes) {
  ::VirtualFree(part, static_cast<SIZE_T>(bytes), MEM_DECOMMIT);
}

void Win32MemorySystem::Release(void* block, std::uint64_t) {
  if (block) ::VirtualFree(block, 0, MEM_RELEASE);
}

void Win32MemorySystem::DoEvents() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The main loop ends the program; leave the request for it.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

std::uint32_t Win32MemorySystem::Milliseconds() { return ::timeGetTime(); }

long Win32MemorySystem::ExitWindowsEx(unsigned flags) { return ::ExitWindowsEx(flags, 0); }

void Win32MemorySystem::ShellOpen(const char* verb, const std::string& file, int showCommand) {
  ::ShellExecuteA(nullptr, verb, file.c_str(), nullptr, nullptr, showCommand);
}

unsigned NtSystemInformation::BasicInformationSize() { return sizeof(SYSTEM_BASIC_INFORMATION); }

bool NtSystemInformation::NumberOfProcessors(std::uint8_t* processors) {
  SYSTEM_BASIC_INFORMATION basic;
  if (!QueryRecord(kSystemBasicInformation, &basic, sizeof(basic))) return false;
  *processors = static_cast<std::uint8_t>(basic.NumberOfProcessors);
  return true;
}

bool NtSystemInformation::IdleTime(std::int64_t* idle) {
  unsigned char record[kPerformanceInformationSize];
  if (!QueryRecord(kSystemPerformanceInformation, record, sizeof(record))) return false;
  *idle = ReadCounter(record, kIdleTimeOffset);
  return true;
}

bool NtSystemInformation::SystemTime(std::int64_t* time) {
  unsigned char record[kTimeOfDayInformationSize];
  if (!QueryRecord(kSystemTimeOfDayInformation, record, sizeof(record))) return false;
  *time = ReadCounter(record, kCurrentTimeOffset);
  return true;
}

bool IsWindowsNT() { return IsWindowsNT(QueryWindowsVersion()); }

}  // namespace quelvar
