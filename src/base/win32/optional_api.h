// Functions that only some of the Windows versions Quelvar runs on export. Each is looked up
// once, at first use, and returned as a pointer that is null where the system lacks it; the
// caller owns the fallback. Nothing here is imported, so the program loads on Windows 95 and
// NT 4 whatever their DLLs offer.
//
// For tests, two comma-separated lists of the entry names below (for example
// "TrackMouseEvent,InitCommonControlsEx") in the environment:
//   QUELVAR_HIDE_API  those entries report "missing", as on a system that lacks them;
//   QUELVAR_STUB_API  those entries are there but every call fails, as the 95 line's stubs do
//                     (FALSE, a null or invalid handle, E_NOTIMPL or STATUS_NOT_IMPLEMENTED, with
//                     ERROR_CALL_NOT_IMPLEMENTED; MoveFileExA moves nothing and reports no error
//                     code in particular, since the 95 line's own answer is not on record).
// A name in both lists is hidden. So the fallbacks, and the handling of failures, can be
// exercised on a system that has everything.
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

// kernel32: the NT line. The 95 line exports it too, as a stub that moves nothing: only the
// NT line may call it.
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

// The versions of comctl32 and shell32 as major * 100 + minor (470, 580, 600), from their
// DllGetVersion (comctl32 4.70 and shell32 4.71 on). Without it, or when it fails, 4.00: the
// original common controls and shell of Windows 95 and NT 4 (a comctl32 4.00 that already
// exports InitCommonControlsEx still reads 4.00). Hidden or stubbed as "ComctlDllGetVersion" and
// "ShellDllGetVersion".
unsigned CommonControlsVersion();
unsigned ShellVersion();

// True when QUELVAR_HIDE_API, or QUELVAR_STUB_API, names this entry. They read the environment
// at every call and take no lock, so the runtime's own start-up may ask them too.
bool IsHidden(const char* name);
bool IsStubbed(const char* name);

}  // namespace quelvar::optional_api
