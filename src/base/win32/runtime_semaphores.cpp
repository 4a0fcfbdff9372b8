// The C++ runtime's locks on the 95 line. The runtime that MinGW links in (libgcc's mutexes,
// which guard the exception tables, static initialisation and thread-local storage) creates
// each lock's semaphore with CreateSemaphoreW, which the 95 line exports only as a stub that
// fails: the lock would have no semaphore, and the first time two threads met on it the
// runtime would throw. This file gives the program its own CreateSemaphoreW, and the import
// the runtime calls through, so that the linker resolves the runtime's calls here before it
// looks in kernel32; the build names the import as undefined from the start (cmake/windows.cmake)
// so this file is always linked. Here the call goes to CreateSemaphoreA, which every Windows
// implements.
//
// Built with QUELVAR_ROUTE_WIDE_SEMAPHORES=0 (only the contention probe's control build), the
// call goes on to kernel32's wide function instead, and QUELVAR_STUB_API naming
// "CreateSemaphoreW" makes that wide call fail as the 95 line's stub does: the proof that the
// contention test catches a program without the routing.
#include <windows.h>

#ifndef QUELVAR_ROUTE_WIDE_SEMAPHORES
#define QUELVAR_ROUTE_WIDE_SEMAPHORES 1
#endif

#if !QUELVAR_ROUTE_WIDE_SEMAPHORES
#include "base/win32/optional_api.h"
#endif

#if defined(__MINGW32__)

// The linker's names: the 32-bit ones carry stdcall's decoration.
#if defined(__i386__)
#define QUELVAR_WIN32_SYMBOL(name, argumentBytes) "_" #name "@" #argumentBytes
#define QUELVAR_WIN32_IMPORT(name, argumentBytes) "__imp__" #name "@" #argumentBytes
#else
#define QUELVAR_WIN32_SYMBOL(name, argumentBytes) #name
#define QUELVAR_WIN32_IMPORT(name, argumentBytes) "__imp_" #name
#endif

extern "C" HANDLE WINAPI QuelvarCreateSemaphoreW(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                                 LONG maximumCount, LPCWSTR name)
    __asm__(QUELVAR_WIN32_SYMBOL(CreateSemaphoreW, 16));

extern "C" HANDLE WINAPI QuelvarCreateSemaphoreW(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                                 LONG maximumCount, LPCWSTR name) {
#if QUELVAR_ROUTE_WIDE_SEMAPHORES
  // The runtime's locks have no name; a named one is narrowed to the system's code page.
  if (name == nullptr) return ::CreateSemaphoreA(attributes, initialCount, maximumCount, nullptr);
  char narrow[MAX_PATH];
  if (!::WideCharToMultiByte(CP_ACP, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr)) return nullptr;
  return ::CreateSemaphoreA(attributes, initialCount, maximumCount, narrow);
#else
  if (quelvar::optional_api::IsStubbed("CreateSemaphoreW")) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return nullptr;
  }
  using CreateSemaphoreWFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR);
  const auto wide = reinterpret_cast<CreateSemaphoreWFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "CreateSemaphoreW")));
  return wide(attributes, initialCount, maximumCount, name);
#endif
}

// The import slot that the runtime's dllimport calls read the function's address from.
extern "C" __attribute__((used)) void* const QuelvarCreateSemaphoreWImport
    __asm__(QUELVAR_WIN32_IMPORT(CreateSemaphoreW, 16)) = reinterpret_cast<void*>(&QuelvarCreateSemaphoreW);

#endif  // __MINGW32__
