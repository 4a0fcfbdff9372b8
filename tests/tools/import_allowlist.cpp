// The allow-list of the 32-bit release's imports. Each entry is a function that the Win32 SDK's
// requirements give for both Windows 95 and Windows NT 4.0 (or earlier), in the DLL named, and
// that the release imports: the list is the program's needs, and an entry the release no longer
// imports fails the check until it is taken out. The common controls are those of comctl32 4.00
// (the 95 and NT 4 release, no Internet Explorer update) and the C runtime is the first
// msvcrt.dll, 4.20 (NT 4.0 ships it; the first Windows 95 does not). Functions first exported
// later (TrackMouseEvent, InitCommonControlsEx, _TrackMouseEvent, DllGetVersion,
// GlobalMemoryStatusEx, NtQuerySystemInformation, the ICMP functions) and those the 95 line
// exports only as failing stubs that the program calls (MoveFileExA, the token functions) are
// loaded at run time and must never appear here.
//
// To add a function: confirm that Windows 95 and NT 4.0 export it, then add it to its DLL's
// list in alphabetical order. If the 95 line exports it only as a stub (IsStubOnWindows95), it
// also needs a note in kStubNotes naming its caller and why that caller is safe.
#include "tools/import_allowlist.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string_view>

namespace quelvar::tools {

namespace {

// kernel32. GetModuleHandleW and LoadLibraryW are stubs on the 95 line: see kStubNotes.
constexpr std::string_view kKernel32[] = {
    "CloseHandle", "CreateDirectoryA", "CreateFileA", "CreateProcessA", "CreateSemaphoreA",
    "CreateThread", "DeleteCriticalSection", "DeleteFileA", "EnterCriticalSection", "ExitProcess",
    "FileTimeToSystemTime", "FindClose", "FindFirstFileA", "FindNextFileA", "FlushFileBuffers",
    "FormatMessageA", "FreeLibrary", "GetComputerNameA", "GetCurrentProcess", "GetCurrentProcessId",
    "GetCurrentThreadId", "GetDateFormatA", "GetEnvironmentVariableA", "GetFileAttributesA",
    "GetLastError", "GetLocaleInfoA", "GetLocalTime", "GetModuleFileNameA", "GetModuleHandleA",
    "GetModuleHandleW", "GetProcAddress", "GetStartupInfoA", "GetTempFileNameA", "GetTickCount",
    "GetTimeFormatA", "GetVersionExA", "GlobalAddAtomA", "GlobalDeleteAtom", "GlobalGetAtomNameA",
    "GlobalMemoryStatus", "InitializeCriticalSection", "IsDBCSLeadByteEx", "LeaveCriticalSection",
    "LoadLibraryA", "LoadLibraryW", "LocalFree", "lstrcmpiA", "lstrcpynA", "MoveFileA", "MulDiv",
    "MultiByteToWideChar", "ReadFile", "ReleaseSemaphore", "SetFilePointer", "SetLastError",
    "SetUnhandledExceptionFilter", "Sleep", "SystemTimeToFileTime", "TlsAlloc", "TlsFree",
    "TlsGetValue", "TlsSetValue", "VirtualAlloc", "VirtualFree", "VirtualProtect", "VirtualQuery",
    "WaitForSingleObject", "WideCharToMultiByte", "WriteFile",
};

constexpr std::string_view kUser32[] = {
    "AppendMenuA", "BeginPaint", "CallWindowProcA", "CharUpperBuffA", "CreateIconIndirect",
    "CreatePopupMenu", "CreateWindowExA", "DefWindowProcA", "DestroyIcon", "DestroyMenu",
    "DestroyWindow", "DispatchMessageA", "DrawEdge", "DrawIconEx", "DrawTextA", "EnableWindow",
    "EndPaint", "EnumChildWindows", "ExitWindowsEx", "FillRect", "FindWindowExA", "GetActiveWindow",
    "GetClassInfoExA", "GetClassNameA", "GetClientRect", "GetCursorPos", "GetDC", "GetDlgCtrlID",
    "GetFocus", "GetIconInfo", "GetMessageA", "GetNextDlgTabItem", "GetParent", "GetPropA",
    "GetSysColor", "GetSysColorBrush", "GetSystemMetrics", "GetWindow", "GetWindowLongA",
    "GetWindowRect", "GetWindowTextA", "GetWindowTextLengthA", "GetWindowThreadProcessId",
    "InflateRect", "InvalidateRect", "IsChild", "IsDialogMessageA", "IsIconic", "IsWindow",
    "IsWindowEnabled", "IsWindowVisible", "KillTimer", "LoadCursorA", "LoadIconA", "LoadImageA",
    "MapWindowPoints", "MessageBoxA", "MoveWindow", "MsgWaitForMultipleObjects", "PeekMessageA", "PostMessageA",
    "PostQuitMessage", "PtInRect", "RedrawWindow", "RegisterClassExA", "RegisterWindowMessageA",
    "ReleaseCapture", "ReleaseDC", "RemovePropA", "SendMessageA", "SetCursor", "SetFocus",
    "SetForegroundWindow", "SetParent", "SetPropA", "SetTimer", "SetWindowLongA", "SetWindowPos",
    "SetWindowRgn", "SetWindowTextA", "ShowScrollBar", "ShowWindow", "SystemParametersInfoA",
    "TabbedTextOutA", "TrackPopupMenu", "TranslateMessage", "UpdateWindow", "WindowFromPoint",
};

constexpr std::string_view kGdi32[] = {
    "Arc", "BitBlt", "CombineRgn", "CreateBitmap", "CreateCompatibleBitmap", "CreateCompatibleDC",
    "CreateDIBSection", "CreateFontIndirectA", "CreatePen", "CreatePolygonRgn",
    "CreateRoundRectRgn", "CreateSolidBrush", "DeleteDC", "DeleteObject", "ExcludeClipRect",
    "FillRgn", "FrameRgn", "GdiFlush", "GetDeviceCaps", "GetDIBits", "GetObjectA",
    "GetStockObject", "GetTextExtentPoint32A", "GetTextMetricsA", "LineTo", "MoveToEx", "Polyline",
    "PtInRegion", "RoundRect", "SelectObject", "SetBkColor", "SetBkMode", "SetBrushOrgEx",
    "SetStretchBltMode", "SetTextColor", "SetWindowOrgEx", "StretchBlt",
};

constexpr std::string_view kAdvapi32[] = {
    "RegCloseKey", "RegCreateKeyExA", "RegDeleteKeyA", "RegDeleteValueA", "RegEnumKeyA",
    "RegEnumKeyExA", "RegOpenKeyA", "RegOpenKeyExA", "RegQueryValueExA", "RegSetValueExA",
};

constexpr std::string_view kShell32[] = {
    "Shell_NotifyIconA", "ShellExecuteA",
};

// comctl32 4.00: the image lists, the up-down control and the class registration of 95/NT 4.
constexpr std::string_view kComctl32[] = {
    "ImageList_Add", "ImageList_Create", "ImageList_Destroy", "ImageList_GetIcon",
    "ImageList_Remove", "ImageList_ReplaceIcon", "ImageList_SetIconSize", "InitCommonControls",
};

// The common dialogs of 95 and NT 4: the Save As dialog.
constexpr std::string_view kComdlg32[] = {"GetSaveFileNameA"};

constexpr std::string_view kWinmm[] = {
    "PlaySoundA", "timeGetTime",
};

constexpr std::string_view kWsock32[] = {
    "gethostbyname", "WSACleanup", "WSAStartup",
};

// msvcrt.dll 4.20 and later: the start-up code of the MinGW runtime and the C library functions
// the C++ library reaches, all in the first msvcrt.dll. The C++ file streams are not used: they
// bring _fstat64 (XP's runtime).
constexpr std::string_view kMsvcrt[] = {
    "abort", "_amsg_exit", "atoi", "calloc", "_cexit", "_close", "_errno", "exit", "fprintf",
    "fputc", "fputs", "free", "fwrite", "__getmainargs", "__initenv", "_initterm", "_iob",
    "isalpha", "localeconv", "malloc", "__mb_cur_max", "memchr", "memcmp", "memcpy", "memmove",
    "memset", "_onexit", "__p__acmdln", "__p__commode", "__p__fmode", "_read", "realloc",
    "__set_app_type", "setlocale", "__setusermatherr", "signal", "strchr", "strcmp", "strerror",
    "strlen", "strncmp", "tolower", "vfprintf", "wcslen",
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
    "WritePrivateProfileStringA", "lstrcatA", "lstrcmpA", "lstrcpyA", "lstrlenA",
};
constexpr std::string_view kSetupUser32[] = {
    "CharNextA", "CharPrevA", "CheckDlgButton", "CloseClipboard", "CreateDialogParamA",
    "DialogBoxParamA", "EmptyClipboard", "EnableMenuItem", "EndDialog",
    "GetClassInfoA", "GetDlgItem", "GetDlgItemTextA", "GetMessagePos", "GetSystemMenu",
    "MessageBoxIndirectA", "OpenClipboard", "RegisterClassA", "ScreenToClient",
    "SendMessageTimeoutA", "SetClassLongA", "SetClipboardData", "SetDlgItemTextA", "wsprintfA",
};
constexpr std::string_view kSetupGdi32[] = {"CreateBrushIndirect"};
constexpr std::string_view kSetupComctl32[] = {"ImageList_AddMasked"};
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

// Why the program is safe with the stubs it imports. Both come from the MinGW C runtime's
// stand-ins (libmsvcrt.a), which ask msvcrt.dll by its wide name whether it has a function.
const std::vector<StubNote> kStubNotes = {
    {"kernel32.dll", "GetModuleHandleW", StubSafety::kFailureHandled,
     "the C runtime's stand-ins for ___lc_codepage_func (reached from wcrtomb) and rand_s",
     "on a null module the code-page query takes the code page setlocale names, which is "
     "msvcrt.dll's own answer, and rand_s reports its failure"},
    {"kernel32.dll", "LoadLibraryW", StubSafety::kNeverReached,
     "the C runtime's stand-in for rand_s, linked in for libstdc++'s std::random_device",
     "the program makes no std::random_device"},
};

// The wide-character functions that the 95 line implements; its other "...W" exports are stubs.
constexpr std::string_view kWideOn95[] = {
    "EnumResourceLanguagesW", "EnumResourceNamesW", "EnumResourceTypesW", "ExtTextOutW",
    "FindResourceExW", "FindResourceW", "GetCharWidthW", "GetCommandLineW",
    "GetTextExtentPoint32W", "GetTextExtentPointW", "lstrlenW", "MessageBoxExW", "MessageBoxW",
    "TextOutW",
};

// The DLLs of the system whose wide functions the rule covers (the C runtime's wide functions
// are plain C, and work everywhere).
constexpr std::string_view kSystemDlls[] = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                                            "shell32.dll", "comctl32.dll", "winmm.dll"};

// Stubs on the 95 line that are not wide functions: the program reaches them at run time only.
struct DllFunction {
  std::string_view dll, function;
};
constexpr DllFunction kOtherStubsOn95[] = {
    {"kernel32.dll", "MoveFileExA"},
    {"advapi32.dll", "OpenProcessToken"},
    {"advapi32.dll", "LookupPrivilegeValueA"},
    {"advapi32.dll", "AdjustTokenPrivileges"},
};

template <typename List, typename Item>
bool Holds(const List& list, const Item& item) {
  return std::find(std::begin(list), std::end(list), item) != std::end(list);
}

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
    QUELVAR_DLL("winmm.dll", kWinmm),       QUELVAR_DLL("wsock32.dll", kWsock32),
    QUELVAR_DLL("msvcrt.dll", kMsvcrt),     QUELVAR_DLL("comdlg32.dll", kComdlg32),
};
constexpr DllList kSetupAllowed[] = {
    QUELVAR_DLL("kernel32.dll", kSetupKernel32), QUELVAR_DLL("user32.dll", kSetupUser32),
    QUELVAR_DLL("gdi32.dll", kSetupGdi32),       QUELVAR_DLL("advapi32.dll", kSetupAdvapi32),
    QUELVAR_DLL("shell32.dll", kSetupShell32),   QUELVAR_DLL("ole32.dll", kSetupOle32),
    QUELVAR_DLL("comctl32.dll", kSetupComctl32),
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

bool IsStubOnWindows95(std::string_view dll, std::string_view function) {
  const std::string lower = Lower(std::string(dll));
  for (const DllFunction& stub : kOtherStubsOn95) {
    if (stub.dll == lower && stub.function == function) return true;
  }
  // "CreateSemaphoreW", "GetTextExtentPoint32W": a final W after a lower-case letter or digit.
  const bool wide = function.size() >= 2 && function.back() == 'W' &&
                    (std::islower(static_cast<unsigned char>(function[function.size() - 2])) ||
                     std::isdigit(static_cast<unsigned char>(function[function.size() - 2])));
  return wide && Holds(kSystemDlls, std::string_view(lower)) && !Holds(kWideOn95, function);
}

std::vector<ImportProblem> FindUnexplainedStubs(const PeImports& imports, const std::vector<StubNote>& notes) {
  std::vector<ImportProblem> found;
  for (const ImportedDll& dll : imports.dlls) {
    const std::string lower = Lower(dll.name);
    for (const std::string& function : dll.functions) {
      if (!IsStubOnWindows95(lower, function)) continue;
      const bool explained = std::any_of(notes.begin(), notes.end(), [&](const StubNote& note) {
        return note.dll == lower && note.function == function && note.safety != StubSafety::kNone &&
               !note.caller.empty() && !note.why.empty();
      });
      if (!explained) {
        found.push_back({dll.name, function,
                         "a failing stub on Windows 95, with no note of its caller and why it is safe"});
      }
    }
  }
  return found;
}

std::vector<ImportProblem> FindImportsNotAllowed(const PeImports& imports, AllowList allowList) {
  const bool setup = allowList == AllowList::kSetupProgram;
  std::vector<ImportProblem> found;
  for (const ImportedDll& dll : imports.dlls) {
    const DllList* list = FindDll(kAllowed, dll.name);
    const DllList* extra = setup ? FindDll(kSetupAllowed, dll.name) : nullptr;
    if (list == nullptr && extra == nullptr) {
      found.push_back({dll.name, {}, "a DLL not on the list"});
      continue;
    }
    for (const std::string& function : dll.functions) {
      if (!Listed(list, function) && !Listed(extra, function)) {
        found.push_back({dll.name, function, "not on the allow-list"});
      }
    }
  }
  // The setup program's stub is not ours: its list's note says how it treats the 95 line.
  if (!setup) {
    for (ImportProblem& stub : FindUnexplainedStubs(imports, kStubNotes)) found.push_back(std::move(stub));
  }
  return found;
}

std::vector<ImportProblem> FindListedButNotImported(const PeImports& imports) {
  std::vector<ImportProblem> found;
  for (const DllList& list : kAllowed) {
    const auto dll = std::find_if(imports.dlls.begin(), imports.dlls.end(),
                                  [&](const ImportedDll& d) { return Lower(d.name) == list.dll; });
    for (std::size_t i = 0; i < list.count; ++i) {
      const std::string function(list.first[i]);
      if (dll == imports.dlls.end() || !Holds(dll->functions, function)) {
        found.push_back({std::string(list.dll), function, "on the list but not imported"});
      }
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
