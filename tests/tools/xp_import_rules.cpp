// The table of functions newer than Windows XP, from their documented minimum supported
// client. Grouped by DLL; add a line when the program starts importing something new.
#include "tools/xp_import_rules.h"

#include <algorithm>
#include <cctype>

namespace quelvar::tools {

namespace {

struct Rule {
  const char* dll;
  const char* function;
  const char* firstWindows;
};

constexpr Rule kRules[] = {
    // kernel32: timing, synchronisation and one-time initialisation
    {"kernel32.dll", "GetTickCount64", "Vista"},
    {"kernel32.dll", "GetSystemTimePreciseAsFileTime", "8"},
    {"kernel32.dll", "InitializeConditionVariable", "Vista"},
    {"kernel32.dll", "SleepConditionVariableCS", "Vista"},
    {"kernel32.dll", "SleepConditionVariableSRW", "Vista"},
    {"kernel32.dll", "WakeConditionVariable", "Vista"},
    {"kernel32.dll", "WakeAllConditionVariable", "Vista"},
    {"kernel32.dll", "InitializeSRWLock", "Vista"},
    {"kernel32.dll", "AcquireSRWLockExclusive", "Vista"},
    {"kernel32.dll", "AcquireSRWLockShared", "Vista"},
    {"kernel32.dll", "ReleaseSRWLockExclusive", "Vista"},
    {"kernel32.dll", "ReleaseSRWLockShared", "Vista"},
    {"kernel32.dll", "TryAcquireSRWLockExclusive", "7"},
    {"kernel32.dll", "TryAcquireSRWLockShared", "7"},
    {"kernel32.dll", "InitOnceInitialize", "Vista"},
    {"kernel32.dll", "InitOnceExecuteOnce", "Vista"},
    {"kernel32.dll", "InitOnceBeginInitialize", "Vista"},
    {"kernel32.dll", "InitOnceComplete", "Vista"},
    {"kernel32.dll", "InitializeCriticalSectionEx", "Vista"},
    {"kernel32.dll", "CreateEventExA", "Vista"},
    {"kernel32.dll", "CreateEventExW", "Vista"},
    {"kernel32.dll", "CreateMutexExA", "Vista"},
    {"kernel32.dll", "CreateMutexExW", "Vista"},
    {"kernel32.dll", "CreateSemaphoreExW", "Vista"},
    {"kernel32.dll", "CreateWaitableTimerExW", "Vista"},
    {"kernel32.dll", "InterlockedCompareExchange64", "Vista"},
    {"kernel32.dll", "FlushProcessWriteBuffers", "Vista"},
    {"kernel32.dll", "WaitOnAddress", "8"},
    {"kernel32.dll", "WakeByAddressSingle", "8"},
    {"kernel32.dll", "WakeByAddressAll", "8"},
    // kernel32: fiber-local storage (Server 2003 and Vista, not XP)
    {"kernel32.dll", "FlsAlloc", "Vista"},
    {"kernel32.dll", "FlsFree", "Vista"},
    {"kernel32.dll", "FlsGetValue", "Vista"},
    {"kernel32.dll", "FlsSetValue", "Vista"},
    // kernel32: files, processes, locales, errors
    {"kernel32.dll", "GetFileInformationByHandleEx", "Vista"},
    {"kernel32.dll", "SetFileInformationByHandle", "Vista"},
    {"kernel32.dll", "CreateSymbolicLinkA", "Vista"},
    {"kernel32.dll", "CreateSymbolicLinkW", "Vista"},
    {"kernel32.dll", "GetFinalPathNameByHandleA", "Vista"},
    {"kernel32.dll", "GetFinalPathNameByHandleW", "Vista"},
    {"kernel32.dll", "CancelIoEx", "Vista"},
    {"kernel32.dll", "GetQueuedCompletionStatusEx", "Vista"},
    {"kernel32.dll", "QueryFullProcessImageNameA", "Vista"},
    {"kernel32.dll", "QueryFullProcessImageNameW", "Vista"},
    {"kernel32.dll", "GetCurrentProcessorNumber", "Vista"},
    {"kernel32.dll", "GetErrorMode", "Vista"},
    {"kernel32.dll", "SetThreadErrorMode", "7"},
    {"kernel32.dll", "GetThreadErrorMode", "7"},
    {"kernel32.dll", "RaiseFailFastException", "7"},
    {"kernel32.dll", "GetLocaleInfoEx", "Vista"},
    {"kernel32.dll", "LCMapStringEx", "Vista"},
    {"kernel32.dll", "CompareStringEx", "Vista"},
    {"kernel32.dll", "GetUserDefaultLocaleName", "Vista"},
    {"kernel32.dll", "LocaleNameToLCID", "Vista"},
    {"kernel32.dll", "GetCurrentThreadStackLimits", "8"},
    {"kernel32.dll", "SetDefaultDllDirectories", "8"},
    {"kernel32.dll", "AddDllDirectory", "8"},
    {"kernel32.dll", "K32GetProcessMemoryInfo", "7"},
    {"kernel32.dll", "K32EmptyWorkingSet", "7"},
    {"kernel32.dll", "K32EnumProcesses", "7"},
    {"kernel32.dll", "CreateThreadpoolWork", "Vista"},
    {"kernel32.dll", "CreateThreadpoolTimer", "Vista"},
    // advapi32: registry helpers newer than XP's registry API
    {"advapi32.dll", "RegGetValueA", "Vista"},
    {"advapi32.dll", "RegGetValueW", "Vista"},
    {"advapi32.dll", "RegDeleteKeyExA", "Vista"},
    {"advapi32.dll", "RegDeleteKeyExW", "Vista"},
    {"advapi32.dll", "RegDeleteTreeA", "Vista"},
    {"advapi32.dll", "RegDeleteTreeW", "Vista"},
    {"advapi32.dll", "RegSetKeyValueA", "Vista"},
    {"advapi32.dll", "RegSetKeyValueW", "Vista"},
    {"advapi32.dll", "RegDeleteKeyValueA", "Vista"},
    {"advapi32.dll", "RegDeleteKeyValueW", "Vista"},
    {"advapi32.dll", "RegCopyTreeA", "Vista"},
    {"advapi32.dll", "RegCopyTreeW", "Vista"},
    {"advapi32.dll", "RegLoadMUIStringA", "Vista"},
    {"advapi32.dll", "RegLoadMUIStringW", "Vista"},
    // user32: DPI awareness and message filters
    {"user32.dll", "SetProcessDPIAware", "Vista"},
    {"user32.dll", "IsProcessDPIAware", "Vista"},
    {"user32.dll", "SetProcessDpiAwarenessContext", "10"},
    {"user32.dll", "GetDpiForWindow", "10"},
    {"user32.dll", "GetDpiForSystem", "10"},
    {"user32.dll", "ChangeWindowMessageFilter", "Vista"},
    {"user32.dll", "ChangeWindowMessageFilterEx", "7"},
    {"user32.dll", "AddClipboardFormatListener", "Vista"},
    {"user32.dll", "RegisterPowerSettingNotification", "Vista"},
    {"user32.dll", "ShutdownBlockReasonCreate", "Vista"},
    // shell32 and comctl32
    {"shell32.dll", "SHGetKnownFolderPath", "Vista"},
    {"shell32.dll", "Shell_NotifyIconGetRect", "7"},
    {"comctl32.dll", "TaskDialog", "Vista"},
    {"comctl32.dll", "TaskDialogIndirect", "Vista"},
    {"comctl32.dll", "LoadIconMetric", "Vista"},
    // ws2_32
    {"ws2_32.dll", "inet_pton", "Vista"},
    {"ws2_32.dll", "inet_ntop", "Vista"},
    {"ws2_32.dll", "InetPtonW", "Vista"},
    {"ws2_32.dll", "InetNtopW", "Vista"},
    {"ws2_32.dll", "WSAPoll", "Vista"},
    // dwmapi and uxtheme's newer entry points: DLLs or functions XP does not have
    {"dwmapi.dll", "DwmIsCompositionEnabled", "Vista"},
    {"dwmapi.dll", "DwmExtendFrameIntoClientArea", "Vista"},
    {"uxtheme.dll", "BufferedPaintInit", "Vista"},
    {"uxtheme.dll", "BeginBufferedPaint", "Vista"},
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::vector<TooNewImport> FindImportsXpLacks(const PeImports& imports) {
  std::vector<TooNewImport> found;
  for (const ImportedDll& dll : imports.dlls) {
    const std::string dllName = Lower(dll.name);
    for (const std::string& function : dll.functions) {
      for (const Rule& rule : kRules) {
        if (dllName == rule.dll && function == rule.function) found.push_back({dll.name, function, rule.firstWindows});
      }
    }
  }
  return found;
}

std::size_t XpRuleCount() { return std::size(kRules); }

}  // namespace quelvar::tools
