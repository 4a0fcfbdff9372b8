// The backup file's layout on both Windows lines; see backup_layout.h.
#include "tuning/backup_layout.h"

#include <cmath>
#include <string>

#include "base/program_folder.h"

namespace quelvar {

namespace {

constexpr LayoutValue kRead = LayoutValue::kRead;
constexpr LayoutValue kFixed = LayoutValue::kFixed;

// The 95 line keeps its tuned values as text. "DefaultRcvWindow" stands twice: a restore
// counts on ten pairs under the first key line. The two flags are recorded as they stand, like
// every value read (earlier versions recorded 1 for any text but "0", so a restore turned a
// flag of "2" into "1").
constexpr LayoutPair kMstcpPairs[] = {
    {"SackOpts", kFixed, 1},
    {"Tcp1323Opts", kFixed, 1},
    {"DefaultTTL", kRead},
    {"DefaultRcvWindow", kRead},
    {"GlobalMaxTcpWindowSize", kRead},
    {"PMTUBlackHoleDetect", kRead},
    {"DefaultRcvWindow", kRead},
    {"PMTUDiscovery", kRead},
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

std::optional<RegData> NumberItemValue(bool nineFiveLine, double number) {
  const double whole = std::nearbyint(number);  // halves to even
  if (!(whole >= -2147483648.0 && whole <= 4294967295.0)) return std::nullopt;
  const auto integer = static_cast<std::int64_t>(whole);
  RegData value;
  if (nineFiveLine) {
    const std::string text = std::to_string(integer);
    value.type = kRegSz;
    value.data.assign(text.begin(), text.end());
    value.data.push_back(0);
  } else {
    const auto bits = static_cast<std::uint32_t>(integer);
    value.type = kRegDword;
    value.data = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                  static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
  }
  return value;
}

std::string BackupFolder() { return ProgramPath("\\Backups"); }

std::string BackupFilePath(std::string_view fileName) {
  return BackupFolder() + "\\" + std::string(fileName);
}

}  // namespace quelvar
