// The backup file's layout after its three header lines: on each Windows line, the fixed groups
// in file order (hive, key line as written, value names in order and how each value is taken),
// then the groups written for every adapter subkey. The backup writer lays a file out by it,
// the restore checks a file against it, and the apply takes the key paths it shares from here.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "registry/registry_backend.h"

namespace quelvar {

// Where the backups live: the program folder + "\Backups", the one spelling of it.
std::string BackupFolder();
// A backup file's full path in that folder ("007.BCK" -> "<program folder>\Backups\007.BCK").
std::string BackupFilePath(std::string_view fileName);

// Key paths (without their hive), letter case exactly as the file and the apply use them.
inline constexpr std::string_view kMstcpKey = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
inline constexpr std::string_view kInternetSettings95Key =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
inline constexpr std::string_view kNdiCacheSizeKey =
    "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
inline constexpr std::string_view kNetTransKey =
    "System\\CurrentControlSet\\Services\\Class\\NetTrans";
// The NT line's TCP/IP parameters: the key line of the file (where the apply writes the four
// fixed values), and the same key in the letter case the tuned values are read and written in.
inline constexpr std::string_view kTcpipParametersKey =
    "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
inline constexpr std::string_view kTcpipParametersTunedKey =
    "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";
inline constexpr std::string_view kInternetSettingsNtKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
inline constexpr std::string_view kInterfacesKey =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
inline constexpr std::string_view kServicesKey = "SYSTEM\\CurrentControlSet\\Services";

// How the writer takes a pair's value.
enum class LayoutValue {
  kRead,   // the value read from the registry (see NumberItemValue for how it is recorded)
  kFixed,  // always `fixed`, as an integer item; nothing is read
};

struct LayoutPair {
  std::string_view name;  // "" is the key's default value
  LayoutValue value = LayoutValue::kRead;
  std::int32_t fixed = 0;
};

// A key line and the pairs under it.
struct LayoutGroup {
  RegKey hive;
  std::string_view key;      // the key line as written
  std::string_view readKey;  // where the writer reads the values (the same key)
  std::span<const LayoutPair> pairs;
};

// A per-adapter group under HKEY_LOCAL_MACHINE: its key is parent, "\", the adapter's subkey
// name, suffix; its pairs are the two names, both read.
struct AdapterKeyForm {
  std::string_view parent;
  std::string_view suffix;
  std::string_view names[2];

  std::string Prefix() const { return std::string(parent) + "\\"; }
  std::string KeyFor(std::string_view adapter) const {
    return Prefix() + std::string(adapter) + std::string(suffix);
  }
};

struct LineLayout {
  std::span<const LayoutGroup> groups;
  // The groups written for each adapter, in file order; the adapters are the subkeys of the
  // first form's parent, in enumeration order.
  std::span<const AdapterKeyForm> adapterGroups;

  std::string_view AdapterParent() const { return adapterGroups.front().parent; }
};

// The 95 line (OsFamily 1 to 4) and the NT line (5 to 7).
const LineLayout& NineFiveLayout();
const LineLayout& NtLayout();

// The registry value a number item stands for, once rounded to a whole number (halves to
// even): on the 95 line its decimal text (REG_SZ with one terminating zero), on the NT line a
// REG_DWORD of its 32 bits. Numbers from -2147483648 to 4294967295 stand for a value, the
// negative ones on the NT line for the DWORD of the same bits; larger or smaller ones for none.
// A restore writes exactly this; the writer records a value as a number only when this gives
// the value back unchanged.
std::optional<RegData> NumberItemValue(bool nineFiveLine, double number);

}  // namespace quelvar
