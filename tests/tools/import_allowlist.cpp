// The allow-list of the 32-bit release's imports. Each entry is a function that the Win32 SDK's
// requirements give for both Windows 95 and Windows NT 4.0 (or earlier), in the DLL named; the
// common controls are those of comctl32 4.00 (the 95 and NT 4 release, no Internet Explorer
// update) and the C runtime is msvcrt.dll version 6 (Windows 98 and 2000 ship it; 95 and NT 4 get
// it with their updates). Functions first exported later (TrackMouseEvent, InitCommonControlsEx,
// _TrackMouseEvent, DllGetVersion, GlobalMemoryStatusEx, InterlockedCompareExchange,
// NtQuerySystemInformation, the ICMP functions, the token functions the 95 line lacks) are
// loaded at run time and must never appear here.
//
// To add a function: confirm that Windows 95 and NT 4.0 export it, then add it to its DLL's
// list in alphabetical order.
#include "tools/import_allowlist.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string_view>

namespace quelvar::tools {

namespace {

// kernel32. The "W" entries are exported on the 95 line as stubs answering
// ERROR_CALL_NOT_IMPLEMENTED; the runtime code that calls them (module look-ups by wide name,
// the exception tables' lock) treats the failure as "not there" and falls back.
constexpr std::string_view kKernel32[] = {
    "CloseHandle", "CreateDirectoryA", "CreateEventA", "CreateFileA", "CreateProcessA",
    "CreateSemaphoreW", "CreateThread", "DeleteCriticalSection", "DeleteFileA",
    "EnterCriticalSection", "ExitProcess", "FileTimeToSystemTime", "FindClose", "FindFirstFileA",
    "FindNextFileA", "FlushFileBuffers", "FormatMessageA", "FreeLibrary", "GetComputerNameA",
    "GetCurrentProcess",
    "GetCurrentProcessId",
    "GetCurrentThreadId", "GetDateFormatA", "GetEnvironmentVariableA", "GetFileAttributesA",
    "GetLastError", "GetLocalTime", "GetLocaleInfoA", "GetModuleFileNameA",
    "GetModuleHandleA", "GetModuleHandleW", "GetProcAddress", "GetStartupInfoA",
    "GetTempFileNameA", "GetTickCount", "GetTimeFormatA", "GetVersionExA", "GlobalAddAtomA",
    "GlobalDeleteAtom", "GlobalGetAtomNameA", "GlobalMemoryStatus", "InitializeCriticalSection",
    "InterlockedDecrement", "InterlockedExchange", "InterlockedIncrement", "IsDBCSLeadByteEx",
    "LeaveCriticalSection", "LoadLibraryA", "LoadLibraryW", "LocalFree", "MoveFileA", "MulDiv",
    "MultiByteToWideChar", "ReadFile", "ReleaseSemaphore", "ResetEvent", "SetEvent",
    "SetFilePointer", "SetLastError", "SetUnhandledExceptionFilter", "Sleep", "SystemTimeToFileTime", "TlsAlloc", "TlsFree", "TlsGetValue",
    "TlsSetValue", "VirtualAlloc", "VirtualFree", "VirtualProtect", "VirtualQuery",
    "WaitForSingleObject", "WideCharToMultiByte", "WriteFile", "lstrcmpiA", "lstrcpynA",
    "lstrlenA",
};

constexpr std::string_view kUser32[] = {
    "AppendMenuA", "BeginPaint", "CallWindowProcA", "CharUpperBuffA", "CreateIconIndirect",
    "CreatePopupMenu",
    "CreateWindowExA", "DefWindowProcA", "DestroyIcon", "DestroyMenu", "DestroyWindow",
    "DispatchMessageA", "DrawEdge", "DrawIconEx", "DrawTextA", "EnableWindow", "EndPaint",
    "EnumChildWindows", "ExitWindowsEx", "FillRect", "FindWindowExA", "GetActiveWindow", "GetClassInfoExA",
    "GetClassNameA", "GetClientRect", "GetCursorPos", "GetDC", "GetDlgCtrlID",
    "GetFocus", "GetIconInfo", "GetMessageA", "GetNextDlgTabItem", "GetParent", "GetPropA",
    "GetSysColor", "GetSysColorBrush", "GetSystemMetrics", "GetWindow", "GetWindowLongA",
    "GetWindowRect", "GetWindowTextA", "GetWindowTextLengthA", "GetWindowThreadProcessId", "InflateRect", "InvalidateRect",
    "IsChild", "IsDialogMessageA", "IsIconic", "IsWindow", "IsWindowEnabled", "IsWindowVisible",
    "KillTimer", "LoadCursorA", "LoadIconA", "LoadImageA", "MapWindowPoints", "MessageBoxA",
    "MoveWindow", "MsgWaitForMultipleObjects", "PeekMessageA", "PostMessageA", "PostQuitMessage",
    "PtInRect", "RedrawWindow", "RegisterClassExA", "RegisterWindowMessageA", "ReleaseCapture",
    "ReleaseDC", "RemovePropA", "SendMessageA", "SetCursor", "SetFocus",
    "SetForegroundWindow", "SetParent", "SetPropA", "SetTimer", "SetWindowLongA", "SetWindowPos",
    "SetWindowRgn", "SetWindowTextA", "ShowScrollBar", "ShowWindow", "SystemParametersInfoA", "TabbedTextOutA",
    "TrackPopupMenu", "TranslateMessage", "UpdateWindow", "WindowFromPoint",
};

constexpr std::string_view kGdi32[] = {
    "Arc", "BitBlt", "CombineRgn", "CreateBitmap", "CreateCompatibleBitmap", "CreateCompatibleDC",
    "CreateDIBSection", "CreateFontA", "CreateFontIndirectA", "CreatePen", "CreatePolygonRgn",
    "CreateRectRgn", "CreateRoundRectRgn", "CreateSolidBrush", "DeleteDC", "DeleteObject",
    "Ellipse", "ExcludeClipRect", "FillRgn", "FrameRgn", "GdiFlush", "GetDIBits", "GetDeviceCaps",
    "GetObjectA", "GetStockObject", "GetTextExtentPoint32A", "GetTextMetricsA", "IntersectClipRect",
    "LineTo", "MoveToEx", "PatBlt", "Polygon", "Polyline", "PtInRegion", "Rectangle",
    "RestoreDC", "RoundRect", "SaveDC", "SelectObject", "SetBkColor", "SetBkMode",
    "SetBrushOrgEx", "SetPixel", "SetStretchBltMode", "SetTextColor", "SetWindowOrgEx", "StretchBlt", "TextOutA",
};

constexpr std::string_view kAdvapi32[] = {
    "RegCloseKey", "RegCreateKeyExA", "RegDeleteKeyA", "RegDeleteValueA", "RegEnumKeyA",
    "RegEnumKeyExA", "RegOpenKeyA", "RegOpenKeyExA", "RegQueryValueExA",
    "RegSetValueExA",
};

constexpr std::string_view kShell32[] = {"ShellExecuteA", "Shell_NotifyIconA"};

// comctl32 4.00: the image lists, the up-down control and the class registration of 95/NT 4.
constexpr std::string_view kComctl32[] = {
    "CreateUpDownControl", "ImageList_Add", "ImageList_AddMasked", "ImageList_Create",
    "ImageList_Destroy", "ImageList_Draw", "ImageList_DrawEx", "ImageList_GetIcon",
    "ImageList_GetIconSize", "ImageList_GetImageCount", "ImageList_GetImageInfo", "ImageList_Remove", "ImageList_ReplaceIcon",
    "ImageList_SetBkColor", "ImageList_SetIconSize", "InitCommonControls",
};

// The common dialogs of 95 and NT 4: the Save As dialog (with the record of their size).
constexpr std::string_view kComdlg32[] = {"GetSaveFileNameA"};

constexpr std::string_view kWinmm[] = {"PlaySoundA", "timeGetTime"};

constexpr std::string_view kWsock32[] = {
    "WSACleanup", "WSAGetLastError", "WSAStartup", "closesocket", "gethostbyname", "htonl",
    "htons", "inet_addr", "inet_ntoa", "ntohl", "ntohs",
};

// msvcrt.dll version 6: the start-up code of the MinGW runtime and the C library functions the
// C++ library reaches. The C++ file streams are not used: they bring _fstat64 (XP's runtime).
constexpr std::string_view kMsvcrt[] = {
    "__getmainargs", "__initenv", "__mb_cur_max", "__p__acmdln", "__p__commode", "__p__fmode",
    "__set_app_type", "__setusermatherr", "_amsg_exit", "_cexit", "_close", "_errno", "_initterm",
    "_iob", "_onexit", "_read", "abort", "atoi", "calloc", "exit", "fprintf", "fputc", "fputs",
    "free", "fwrite", "isalpha", "localeconv", "malloc", "memchr", "memcmp", "memcpy", "memmove",
    "memset", "realloc", "setlocale", "signal", "strchr", "strcmp", "strerror", "strlen",
    "strncmp", "tolower", "vfprintf", "wcslen",
};

// What the setup program and its uninstaller (the ANSI stub of NSIS 3.08) import beyond the
// lists above, each exported by Windows 95 and NT 4.0 alike. Some are answered on the 95 line
// with ERROR_CALL_NOT_IMPLEMENTED (the token functions, MoveFileExA, RegEnumValueA's security
// cousins are not used): the stub calls them only on the NT line or treats the failure as "not
// there". Newer functions (GetDiskFreeSpaceExA, SHGetFolderPathA, ...) the stub looks up itself.
constexpr std::string_view kSetupKernel32[] = {
    "CompareFileTime", "CopyFileA", "ExpandEnvironmentStringsA", "GetCommandLineA",
    "GetDiskFreeSpaceA", "GetExitCodeProcess", "GetFileSize", "GetFullPathNameA",
    "GetPrivateProfileStringA", "GetShortPathNameA", "GetSystemDirectoryA", "GetTempPathA",
    "GetWindowsDirectoryA", "GlobalAlloc", "GlobalFree", "GlobalLock", "GlobalUnlock",
    "LoadLibraryExA", "MoveFileExA", "RemoveDirectoryA", "SearchPathA", "SetCurrentDirectoryA",
    "SetEnvironmentVariableA", "SetErrorMode", "SetFileAttributesA", "SetFileTime",
    "WritePrivateProfileStringA", "lstrcatA", "lstrcmpA", "lstrcpyA",
};
constexpr std::string_view kSetupUser32[] = {
    "CharNextA", "CharPrevA", "CheckDlgButton", "CloseClipboard", "CreateDialogParamA",
    "DialogBoxParamA", "EmptyClipboard", "EnableMenuItem", "EndDialog",
    "GetClassInfoA", "GetDlgItem", "GetDlgItemTextA", "GetMessagePos", "GetSystemMenu",
    "MessageBoxIndirectA", "OpenClipboard", "RegisterClassA", "ScreenToClient",
    "SendMessageTimeoutA", "SetClassLongA", "SetClipboardData", "SetDlgItemTextA", "wsprintfA",
};
constexpr std::string_view kSetupGdi32[] = {"CreateBrushIndirect"};
constexpr std::string_view kSetupAdvapi32[] = {
    "AdjustTokenPrivileges", "LookupPrivilegeValueA", "OpenProcessToken", "RegEnumValueA",
};
constexpr std::string_view kSetupShell32[] = {
    "SHBrowseForFolderA", "SHFileOperationA", "SHGetFileInfoA", "SHGetPathFromIDListA",
    "SHGetSpecialFolderLocation", "ShellExecuteExA",
};
constexpr std::string_view kSetupOle32[] = {
    "CoCreateInstance", "CoTaskMemFree", "IIDFromString", "OleInitialize", "OleUninitialize",
};

struct DllList {
  std::string_view dll;
  const std::string_view* first;
  std::size_t count;
};

#define QUELVAR_DLL(name, list) DllList{name, std::data(list), std::size(list)}
constexpr DllList kAllowed[] = {
    QUELVAR_DLL("kernel32.dll", kKernel32), QUELVAR_DLL("user32.dll", kUser32),
    QUELVAR_DLL("gdi32.dll", kGdi32),       QUELVAR_DLL("advapi32.dll", kAdvapi32),
    QUELVAR_DLL("shell32.dll", kShell32),   QUELVAR_DLL("comctl32.dll", kComctl32),
    QUELVAR_DLL("comdlg32.dll", kComdlg32),
    QUELVAR_DLL("winmm.dll", kWinmm),       QUELVAR_DLL("wsock32.dll", kWsock32),
    QUELVAR_DLL("msvcrt.dll", kMsvcrt),
};
constexpr DllList kSetupAllowed[] = {
    QUELVAR_DLL("kernel32.dll", kSetupKernel32), QUELVAR_DLL("user32.dll", kSetupUser32),
    QUELVAR_DLL("gdi32.dll", kSetupGdi32),       QUELVAR_DLL("advapi32.dll", kSetupAdvapi32),
    QUELVAR_DLL("shell32.dll", kSetupShell32),   QUELVAR_DLL("ole32.dll", kSetupOle32),
};
#undef QUELVAR_DLL

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

template <std::size_t N>
const DllList* FindDll(const DllList (&lists)[N], const std::string& name) {
  const std::string lower = Lower(name);
  for (const DllList& list : lists) {
    if (list.dll == lower) return &list;
  }
  return nullptr;
}

bool Listed(const DllList* list, const std::string& function) {
  return list != nullptr &&
         std::find(list->first, list->first + list->count, function) != list->first + list->count;
}

}  // namespace

std::vector<ImportProblem> FindImportsNotAllowed(const PeImports& imports, AllowList allowList) {
  const bool setup = allowList == AllowList::kSetupProgram;
  std::vector<ImportProblem> found;
  for (const ImportedDll& dll : imports.dlls) {
    const DllList* list = FindDll(kAllowed, dll.name);
    const DllList* extra = setup ? FindDll(kSetupAllowed, dll.name) : nullptr;
    if (list == nullptr && extra == nullptr) {
      found.push_back({dll.name, {}});
      continue;
    }
    for (const std::string& function : dll.functions) {
      if (!Listed(list, function) && !Listed(extra, function)) found.push_back({dll.name, function});
    }
  }
  return found;
}

std::vector<std::string> FindHeaderProblems(const PeImports& imports) {
  std::vector<std::string> problems;
  if (imports.is64Bit) problems.push_back("the image is PE32+ (64-bit), not a 32-bit release");
  if (imports.subsystemVersionMajor > 4 ||
      (imports.subsystemVersionMajor == 4 && imports.subsystemVersionMinor > 0)) {
    problems.push_back("subsystem version " + std::to_string(imports.subsystemVersionMajor) + "." +
                       std::to_string(imports.subsystemVersionMinor) +
                       " is above 4.0: Windows 95 and NT 4.0 refuse to load it");
  }
  return problems;
}

std::size_t AllowedImportCount() {
  std::size_t count = 0;
  for (const DllList& list : kAllowed) count += list.count;
  return count;
}

}  // namespace quelvar::tools
