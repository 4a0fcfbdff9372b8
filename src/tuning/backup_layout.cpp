// The backup file's layout on both Windows lines; see backup_layout.h.
#include "tuning/backup_layout.h"

#include "base/program_folder.h"

namespace quelvar {

namespace {

constexpr LayoutValue kRead = LayoutValue::kRead;
constexpr LayoutValue kFlag = LayoutValue::kFlag;
constexpr LayoutValue kFixed = LayoutValue::kFixed;

// The 95 line keeps its tuned values as text. "DefaultRcvWindow" stands twice: a restore
// counts on ten pairs under the first key line.
constexpr LayoutPair kMstcpPairs[] = {
    {"SackOpts", kFixed, 1},
    {"Tcp1323Opts", kFixed, 1},
    {"DefaultTTL", kRead},
    {"DefaultRcvWindow", kRead},
    {"GlobalMaxTcpWindowSize", kRead},
    {"PMTUBlackHoleDetect", kFlag},
    {"DefaultRcvWindow", kRead},
    {"PMTUDiscovery", kFlag},
    {"KeepAliveTime", kRead},
    {"KeepAliveInterval", kRead},
};

constexpr LayoutPair kTcpipPairs[] = {
    {"SackOpts", kFixed, 1},
    {"Tcp1323Opts", kFixed, 1},
    {"TcpMaxDupAcks", kFixed, 2},
    {"DefaultReceiveWindow", kFixed, 8192},
    {"DefaultTTL", kRead},
    {"GlobalMaxTcpWindowSize", kRead},
    {"TcpWindowSize", kRead},
    {"EnablePMTUBHDetect", kRead},
    {"EnablePMTUDiscovery", kRead},
    {"KeepAliveTime", kRead},
    {"KeepAliveInterval", kRead},
    {"SYNAttackProtect", kRead},
    {"EnableICMPRedirects", kRead},
};

constexpr LayoutPair kConnectionPairs[] = {
    {"MaxConnectionsPer1_0Server", kRead},
    {"MaxConnectionsPerServer", kRead},
};

constexpr LayoutPair kCacheSizePairs[] = {{"", kRead}};

constexpr LayoutGroup kNineFiveGroups[] = {
    {kHkeyLocalMachine, kMstcpKey, kMstcpKey, kMstcpPairs},
    {kHkeyCurrentUser, kInternetSettings95Key, kInternetSettings95Key, kConnectionPairs},
    {kHkeyLocalMachine, kNdiCacheSizeKey, kNdiCacheSizeKey, kCacheSizePairs},
};

// The file carries one key line for the thirteen TCP/IP pairs; the values are read from the
// same key spelt in another letter case.
constexpr LayoutGroup kNtGroups[] = {
    {kHkeyLocalMachine, kTcpipParametersKey, kTcpipParametersTunedKey, kTcpipPairs},
    {kHkeyCurrentUser, kInternetSettingsNtKey, kInternetSettingsNtKey, kConnectionPairs},
    {kHkeyLocalMachine, kNdiCacheSizeKey, kNdiCacheSizeKey, kCacheSizePairs},
};

constexpr AdapterKeyForm kNetTransAdapter[] = {{kNetTransKey, "", {"MaxMTU", "MaxMSS"}}};

// Two groups per interface: the interface's own key, then its service's TCP/IP key.
constexpr AdapterKeyForm kNtAdapter[] = {
    {kInterfacesKey, "", {"MTU", "MSS"}},
    {kServicesKey, "\\Parameters\\Tcpip", {"MTU", "MSS"}},
};

}  // namespace

const LineLayout& NineFiveLayout() {
  static const LineLayout layout{kNineFiveGroups, kNetTransAdapter};
  return layout;
}

const LineLayout& NtLayout() {
  static const LineLayout layout{kNtGroups, kNtAdapter};
  return layout;
}

std::string BackupFolder() { return ProgramPath("\\Backups"); }

std::string BackupFilePath(std::string_view fileName) {
  return BackupFolder() + "\\" + std::string(fileName);
}

}  // namespace quelvar
