// Functions that only some of the Windows versions Quelvar runs on export. Each is looked up
// once, at first use, and returned as a pointer that is null where the system lacks it; the
// caller owns the fallback. Nothing here is imported, so the program loads on Windows 95 and
// NT 4 whatever their DLLs offer.
//
// For tests: the environment variable QUELVAR_HIDE_API, a comma-separated list of the names
// below (for example "TrackMouseEvent,InitCommonControlsEx"), makes those entries report
// "missing" so the fallbacks can be exercised on a system that has everything.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace quelvar::optional_api {

// user32 (Windows 98, NT 4); comctl32's _TrackMouseEvent (4.70) is a separate entry.
using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
TrackMouseEventFn TrackMouseEvent();
TrackMouseEventFn ComctlTrackMouseEvent();

// comctl32 4.70 and later.
using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
InitCommonControlsExFn InitCommonControlsEx();

// kernel32: Windows 2000 and later.
using GlobalMemoryStatusExFn = BOOL(WINAPI*)(LPMEMORYSTATUSEX);
GlobalMemoryStatusExFn GlobalMemoryStatusEx();

// kernel32: the NT line (the 95 line's stub answers ERROR_CALL_NOT_IMPLEMENTED).
using MoveFileExAFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
MoveFileExAFn MoveFileExA();

// ntdll: the NT line only.
using NtQuerySystemInformationFn = LONG(WINAPI*)(ULONG informationClass, PVOID information,
                                                 ULONG length, PULONG returnLength);
NtQuerySystemInformationFn NtQuerySystemInformation();

// The ICMP echo service: icmp.dll on the 95 line and NT 4/2000, iphlpapi.dll from XP on.
using IcmpCreateFileFn = HANDLE(WINAPI*)();
using IcmpCloseHandleFn = BOOL(WINAPI*)(HANDLE);
using IcmpSendEchoFn = DWORD(WINAPI*)(HANDLE icmp, ULONG destination, LPVOID requestData,
                                      WORD requestSize, LPVOID requestOptions, LPVOID replyBuffer,
                                      DWORD replySize, DWORD timeout);
struct IcmpFunctions {
  IcmpCreateFileFn create = nullptr;
  IcmpCloseHandleFn close = nullptr;
  IcmpSendEchoFn sendEcho = nullptr;
  explicit operator bool() const { return create && close && sendEcho; }
};
// All three from one library, or none.
const IcmpFunctions& Icmp();

// advapi32: the NT line's security functions (the 95 line has no tokens or privileges).
using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE process, DWORD access, PHANDLE token);
using LookupPrivilegeValueAFn = BOOL(WINAPI*)(LPCSTR system, LPCSTR name, PLUID luid);
using AdjustTokenPrivilegesFn = BOOL(WINAPI*)(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES state,
                                             DWORD length, PTOKEN_PRIVILEGES previous,
                                             PDWORD returnLength);
struct TokenFunctions {
  OpenProcessTokenFn openProcessToken = nullptr;
  LookupPrivilegeValueAFn lookupPrivilegeValue = nullptr;
  AdjustTokenPrivilegesFn adjustTokenPrivileges = nullptr;
  explicit operator bool() const { return openProcessToken && lookupPrivilegeValue && adjustTokenPrivileges; }
};
// All three, or none (hidden together as "Token").
const TokenFunctions& Token();

// The versions of comctl32 and shell32 as major * 100 + minor (471, 580, 600), from their
// DllGetVersion (4.71 and later). Without it: comctl32 is 4.70 when it exports
// InitCommonControlsEx, else 4.00; shell32 is 4.00 (Windows 95 and NT 4 without the desktop
// update). Hidden as "ComctlDllGetVersion" and "ShellDllGetVersion".
unsigned CommonControlsVersion();
unsigned ShellVersion();

// True when QUELVAR_HIDE_API names this entry (exposed for the loader's own tests).
bool IsHidden(const char* name);

}  // namespace quelvar::optional_api
