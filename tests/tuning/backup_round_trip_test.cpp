// A backup restores exactly what it was taken from, on both Windows lines: the backup is written
// from a prepared registry, an apply then changes it, the restore puts the backup back, and
// every value the backup holds is compared, type and bytes, with what was prepared. Each row
// puts one value of the kind a machine may hold where the layout reads it.
#include <gtest/gtest.h>

#include "backup_test_support.h"
#include "tuning/apply_profile.h"
#include "tuning/backup_layout.h"
#include "tuning/backup_restore.h"
#include "tuning/backup_writer.h"

namespace quelvar {
namespace {

RegData Dword(std::uint32_t n) {
  return {kRegDword, {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                      static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)}};
}
RegData Text(std::string_view text, std::uint32_t type = kRegSz) {
  RegData value{type, std::vector<std::uint8_t>(text.begin(), text.end())};
  value.data.push_back(0);
  return value;
}

// Where a row's value lives: the line's first group, Internet Settings, the NDI cache size,
// the first adapter's key (NetTrans or Interfaces) or, on the NT line, its service's key.
enum class At { kTcp, kWeb, kCache, kAdapter, kService };

struct Row {
  int family;
  At at;
  const char* name;
  RegData stored;
};

struct Place {
  RegKey hive;
  std::string key;
  std::string name;
};

// Every value a backup of `layout` reads or fixes, for the one adapter "{A1}".
std::vector<std::pair<Place, RegData>> Prepared(const LineLayout& layout, bool nineFive) {
  std::vector<std::pair<Place, RegData>> values;
  std::uint32_t next = 100;
  for (const LayoutGroup& group : layout.groups) {
    for (const LayoutPair& pair : group.pairs) {
      bool twice = false;  // the 95 line reads "DefaultRcvWindow" twice
      for (const auto& [at, value] : values) twice = twice || at.name == pair.name;
      if (twice) continue;
      const double number = pair.value == LayoutValue::kFixed ? pair.fixed : next++;
      values.push_back({{group.hive, std::string(group.readKey), std::string(pair.name)},
                        *NumberItemValue(nineFive, number)});
    }
  }
  for (const AdapterKeyForm& form : layout.adapterGroups) {
    for (std::string_view name : form.names) {
      values.push_back({{kHkeyLocalMachine, form.KeyFor("{A1}"), std::string(name)},
                        *NumberItemValue(nineFive, next++)});
    }
  }
  return values;
}

Place PlaceOf(const Row& row, const LineLayout& layout) {
  switch (row.at) {
    case At::kTcp: return {layout.groups[0].hive, std::string(layout.groups[0].readKey), row.name};
    case At::kWeb: return {kHkeyCurrentUser, std::string(layout.groups[1].key), row.name};
    case At::kCache: return {kHkeyLocalMachine, std::string(layout.groups[2].key), row.name};
    case At::kAdapter: return {kHkeyLocalMachine, layout.adapterGroups[0].KeyFor("{A1}"), row.name};
    case At::kService: return {kHkeyLocalMachine, layout.adapterGroups[1].KeyFor("{A1}"), row.name};
  }
  return {};
}

class BackupRoundTrip : public testing::BackupApplyTest {};

TEST_F(BackupRoundTrip, EveryValueComesBackWithItsTypeAndBytes) {
  const RegData binary{kRegBinary, {0, 0, 0, 0, 0, 0, 0x80, 0x43}};
  const RegData qword{11, {1, 2, 3, 4, 5, 6, 7, 8}};
  const Row rows[] = {
      // The NT line: DWORDs over the whole 32-bit range, and values of other types.
      {5, At::kTcp, "GlobalMaxTcpWindowSize", Dword(0)},
      {6, At::kTcp, "GlobalMaxTcpWindowSize", Dword(1)},
      {7, At::kTcp, "TcpWindowSize", Dword(0x7FFFFFFF)},
      {6, At::kTcp, "GlobalMaxTcpWindowSize", Dword(0x80000000)},
      {7, At::kTcp, "KeepAliveTime", Dword(0xFFFFFFFF)},
      {6, At::kAdapter, "MTU", Dword(0xFFFFFFFF)},
      {5, At::kTcp, "SYNAttackProtect", Text("1")},
      {6, At::kTcp, "DefaultTTL", Text("64", kRegExpandSz)},
      {7, At::kWeb, "MaxConnectionsPerServer", binary},
      {6, At::kCache, "", qword},
      {5, At::kService, "MSS", {kRegDword, {0x10, 0x27}}},
      {7, At::kTcp, "KeepAliveInterval", Text("")},
      // The 95 line: texts across the 32-bit range, numbers another program stored, flags and
      // texts that are no plain number.
      {2, At::kTcp, "DefaultTTL", Text("0")},
      {3, At::kTcp, "DefaultRcvWindow", Text("2147483647")},
      {4, At::kTcp, "GlobalMaxTcpWindowSize", Text("2147483648")},
      {2, At::kTcp, "KeepAliveTime", Text("4294967295")},
      {3, At::kTcp, "KeepAliveTime", Text("4294967296")},
      {1, At::kTcp, "KeepAliveInterval", Dword(1000)},
      {4, At::kTcp, "GlobalMaxTcpWindowSize", Dword(0xFFFFFFFF)},
      {4, At::kTcp, "PMTUDiscovery", Text("2")},
      {2, At::kTcp, "PMTUBlackHoleDetect", Dword(1)},
      {3, At::kWeb, "MaxConnectionsPerServer", Text("7200000 ms")},
      {4, At::kAdapter, "MaxMTU", Text("-1")},
      {1, At::kAdapter, "MaxMSS", Text("0576")},
      {2, At::kCache, "", Text("")},
  };
  for (const Row& row : rows) {
    const bool nineFive = IsNineFiveLine(row.family);
    const LineLayout& layout = nineFive ? NineFiveLayout() : NtLayout();
    const Place place = PlaceOf(row, layout);
    SCOPED_TRACE("family " + std::to_string(row.family) + ", " + place.key + "\\" + place.name);
    MemoryRegistry machine;
    MemoryFileSystem disk;
    disk.AddFolder(testing::kProgramFolder);
    SetRegistryBackend(machine);
    SetFileSystem(disk);
    OsFamily = static_cast<std::int16_t>(row.family);

    std::vector<std::pair<Place, RegData>> prepared = Prepared(layout, nineFive);
    for (auto& [at, value] : prepared) {
      if (RegistryNamesEqual(at.key, place.key) && at.name == place.name) value = row.stored;
      machine.Put(at.hive, at.key, at.name, value);
    }
    const BackupResult backup = WriteTuningBackup();
    ASSERT_TRUE(backup.written) << backup.problem;

    LoadPreset(2);  // removes the window values, the MTU and the MSS, writes the rest
    ASSERT_TRUE(ApplyTuningProfile());
    machine.PutText(place.hive, place.key, place.name, "changed");

    const RestoreResult restored = RestoreBackupFile(backup.path, row.family);
    ASSERT_EQ(restored.outcome, RestoreOutcome::kRestored) << restored.message;
    for (const auto& [at, value] : prepared) {
      EXPECT_EQ(machine.Get(at.hive, at.key, at.name), value) << at.key << "\\" << at.name;
    }
  }
  SetRegistryBackend(registry);
  SetFileSystem(files);
}

}  // namespace
}  // namespace quelvar
