// Applying every preset on both Windows lines: the whole registry afterwards, the order of the
// writes, the backup taken first, and what the user is told when something cannot be done.
#include "tuning/apply_profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "backup_test_support.h"
#include "tuning/backup_writer.h"

namespace quelvar {
namespace {

using testing::BackupApplyTest;
using testing::kBackups;

const char* const kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const char* const kParams = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const char* const kInterfaces =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
const char* const kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans";
const char* const kInternet = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char* const kCacheSize =
    "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Every value of a hive as "key\name" (lower case) -> "sz:text" or "dword:n".
using Dump = std::map<std::string, std::string>;

void DumpKey(const MemoryRegistry& store, RegKey hive, const std::string& path, Dump* dump) {
  for (const std::string& name : store.ValueNames(hive, path)) {
    const auto value = store.Get(hive, path, name);
    std::string shown;
    if (value->type == kRegDword) {
      shown = "dword:" + std::to_string(*store.GetDword(hive, path, name));
    } else {
      shown = "sz:" + store.GetText(hive, path, name).value_or("?");
    }
    (*dump)[Lower(testing::HiveTag(hive) + "\\" + path + "\\" + name)] = shown;
  }
  for (const std::string& sub : store.SubkeyNames(hive, path)) {
    DumpKey(store, hive, path.empty() ? sub : path + "\\" + sub, dump);
  }
}

Dump DumpAll(const MemoryRegistry& store) {
  Dump dump;
  DumpKey(store, kHkeyLocalMachine, "", &dump);
  DumpKey(store, kHkeyCurrentUser, "", &dump);
  return dump;
}

void Expect(Dump& dump, const std::string& hive, const std::string& key, const std::string& name,
            std::optional<std::string> value) {
  const std::string path = Lower(hive + "\\" + key + "\\" + name);
  if (value) {
    dump[path] = *value;
  } else {
    dump.erase(path);
  }
}

// The registry the 95 line should hold after applying `p` over `before`.
Dump Expected95(Dump dump, const TuningProfile& p, const std::vector<std::string>& adapters) {
  const auto sz = [](std::int32_t n) {
    return std::optional<std::string>("sz:" + std::to_string(n));
  };
  const std::optional<std::string> removed;
  const bool noRwin = p.RWIN == -1, noMtu = p.MTU == -1;
  Expect(dump, "HKLM", kMstcp, "SackOpts", sz(1));
  Expect(dump, "HKLM", kMstcp, "Tcp1323Opts", sz(1));
  Expect(dump, "HKLM", kMstcp, "DefaultTTL", sz(p.TTL));
  Expect(dump, "HKLM", kMstcp, "DefaultRcvWindow", noRwin ? removed : sz(p.RWIN));
  Expect(dump, "HKLM", kMstcp, "GlobalMaxTcpWindowSize", noRwin ? removed : sz(p.RWIN));
  Expect(dump, "HKLM", kMstcp, "PMTUBlackHoleDetect", sz(p.BlackHoleDetect));
  Expect(dump, "HKLM", kMstcp, "PMTUDiscovery", sz(p.MTUDiscovery));
  Expect(dump, "HKLM", kMstcp, "KeepAliveTime", sz(p.KeepAliveTime));
  Expect(dump, "HKLM", kMstcp, "KeepAliveInterval", sz(p.KeepAliveInterval));
  Expect(dump, "HKCU", kInternet, "MaxConnectionsPer1_0Server", sz(p.HTTP10Connections));
  Expect(dump, "HKCU", kInternet, "MaxConnectionsPerServer", sz(p.HTTP11Connections));
  Expect(dump, "HKLM", kCacheSize, "", sz(p.NDICacheSize));
  for (const std::string& a : adapters) {
    Expect(dump, "HKLM", std::string(kNetTrans) + "\\" + a, "MaxMTU", noMtu ? removed : sz(p.MTU));
    Expect(dump, "HKLM", std::string(kNetTrans) + "\\" + a, "MaxMSS", noMtu ? removed : sz(p.MSS));
  }
  return dump;
}

// The registry the NT line should hold after applying `p` over `before`.
Dump ExpectedNt(Dump dump, const TuningProfile& p, const std::vector<std::string>& interfaces) {
  const auto dw = [](std::int64_t n) {
    return std::optional<std::string>("dword:" + std::to_string(static_cast<std::uint32_t>(n)));
  };
  const std::optional<std::string> removed;
  const bool noRwin = p.RWIN == -1, noMtu = p.MTU == -1;
  Expect(dump, "HKLM", kParams, "SackOpts", dw(1));
  Expect(dump, "HKLM", kParams, "Tcp1323Opts", dw(1));
  Expect(dump, "HKLM", kParams, "TcpMaxDupAcks", dw(2));
  Expect(dump, "HKLM", kParams, "DefaultReceiveWindow", dw(8192));
  Expect(dump, "HKLM", kParams, "DefaultTTL", dw(p.TTL));
  Expect(dump, "HKLM", kParams, "GlobalMaxTcpWindowSize", noRwin ? removed : dw(p.RWIN));
  Expect(dump, "HKLM", kParams, "TcpWindowSize", noRwin ? removed : dw(p.RWIN));
  Expect(dump, "HKLM", kParams, "EnablePMTUBHDetect", dw(p.BlackHoleDetect));
  Expect(dump, "HKLM", kParams, "EnablePMTUDiscovery", dw(p.MTUDiscovery));
  Expect(dump, "HKLM", kParams, "KeepAliveTime", dw(p.KeepAliveTime));
  Expect(dump, "HKLM", kParams, "KeepAliveInterval", dw(p.KeepAliveInterval));
  Expect(dump, "HKLM", kParams, "SYNAttackProtect", dw(p.SYNProtect));
  Expect(dump, "HKLM", kParams, "EnableICMPRedirects", dw(p.ICMPRedirect));
  Expect(dump, "HKCU", kInternet, "MaxConnectionsPer1_0Server", dw(p.HTTP10Connections));
  Expect(dump, "HKCU", kInternet, "MaxConnectionsPerServer", dw(p.HTTP11Connections));
  Expect(dump, "HKLM", kCacheSize, "", dw(p.NDICacheSize));
  for (const std::string& n : interfaces) {
    for (const std::string& key :
         {std::string(kInterfaces) + "\\" + n,
          "SYSTEM\\CurrentControlSet\\Services\\" + n + "\\Parameters\\Tcpip"}) {
      Expect(dump, "HKLM", key, "MTU", noMtu ? removed : dw(p.MTU));
      Expect(dump, "HKLM", key, "MSS", noMtu ? removed : dw(p.MSS));
    }
  }
  return dump;
}

class ApplyProfileTest : public BackupApplyTest {
 protected:
  // Adapters that already carry values, so removals and overwrites both show.
  void AddAdapters95() {
    for (const char* a : {"0000", "0001", "0002"}) {
      store().PutText(kHkeyLocalMachine, std::string(kNetTrans) + "\\" + a, "MaxMTU", "1400");
      store().PutText(kHkeyLocalMachine, std::string(kNetTrans) + "\\" + a, "MaxMSS", "1360");
    }
    store().PutText(kHkeyLocalMachine, kMstcp, "DefaultRcvWindow", "9999");
    store().PutText(kHkeyLocalMachine, kMstcp, "Unrelated", "stays");
  }
  void AddInterfacesNt() {
    for (const char* n : {"{A1}", "{B2}", "{C3}"}) {
      store().PutDword(kHkeyLocalMachine, std::string(kInterfaces) + "\\" + n, "MTU", 1400);
      store().PutDword(kHkeyLocalMachine, std::string(kInterfaces) + "\\" + n, "MSS", 1360);
    }
    store().PutDword(kHkeyLocalMachine, kParams, "TcpWindowSize", 9999);
    store().PutDword(kHkeyLocalMachine, kParams, "Unrelated", 7);
  }
};

TEST_F(ApplyProfileTest, EveryPresetLeavesTheWholeExpectedRegistryOnBothLines) {
  const struct {
    std::int16_t family;
    bool adapters;
  } lines[] = {{3, true}, {3, false}, {1, true}, {4, true},
               {6, true}, {6, false}, {5, true}, {7, true}};
  for (const auto& line : lines) {
    for (int preset = 0; preset < kPresetCount; ++preset) {
      SCOPED_TRACE(std::string(kPresetCaptions[static_cast<std::size_t>(preset)]) + " OsFamily " +
                   std::to_string(line.family) + (line.adapters ? " with adapters" : ""));
      testing::LoggingRegistry fresh;
      SetRegistryBackend(fresh);
      MemoryFileSystem freshFiles;
      freshFiles.AddFolder(testing::kProgramFolder);
      SetFileSystem(freshFiles);
      OsFamily = line.family;
      const bool nt = IsNtLine(line.family);
      std::vector<std::string> names;
      if (line.adapters) {
        for (const char* n : nt ? std::vector<const char*>{"{A1}", "{B2}", "{C3}"}
                                : std::vector<const char*>{"0000", "0001", "0002"}) {
          names.push_back(n);
        }
        for (const std::string& n : names) {
          if (nt) {
            fresh.store.PutDword(kHkeyLocalMachine, std::string(kInterfaces) + "\\" + n, "MTU",
                                 1400);
            fresh.store.PutDword(kHkeyLocalMachine, std::string(kInterfaces) + "\\" + n, "MSS",
                                 1360);
          } else {
            fresh.store.PutText(kHkeyLocalMachine, std::string(kNetTrans) + "\\" + n, "MaxMTU",
                                "1400");
            fresh.store.PutText(kHkeyLocalMachine, std::string(kNetTrans) + "\\" + n, "MaxMSS",
                                "1360");
          }
        }
      }
      fresh.store.PutText(kHkeyLocalMachine, nt ? kParams : kMstcp, "Unrelated", "stays");
      const Dump before = DumpAll(fresh.store);

      LoadPreset(preset);
      ASSERT_TRUE(ApplyTuningProfile());

      const Dump expected = nt ? ExpectedNt(before, g_TuningProfile, names)
                               : Expected95(before, g_TuningProfile, names);
      EXPECT_EQ(DumpAll(fresh.store), expected);
      EXPECT_TRUE(freshFiles.FileExists(std::string(kBackups) + "\\001.BCK"));
      EXPECT_TRUE(boxes.shown.empty());
      EXPECT_EQ(fresh.store.OpenHandleCount(), 0u);
    }
  }
  SetRegistryBackend(registry);
  SetFileSystem(files);
}

TEST_F(ApplyProfileTest, NtLineWritesInItsOrderAndRemovesEveryMtuAndMssForAutomaticC) {
  OsFamily = 6;
  AddInterfacesNt();
  LoadPreset(2);
  ASSERT_TRUE(ApplyTuningProfile());
  const std::string fixed = "set HKLM\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\";
  const std::string p = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters\\";
  const std::string i =
      "HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
  const std::string s = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\";
  const std::string web =
      "set HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";
  const std::vector<std::string> expected = {
      fixed + "SackOpts",
      fixed + "Tcp1323Opts",
      fixed + "TcpMaxDupAcks",
      fixed + "DefaultReceiveWindow",
      "set " + p + "DefaultTTL",
      "del " + p + "GlobalMaxTcpWindowSize",
      "del " + p + "TcpWindowSize",
      "set " + p + "EnablePMTUBHDetect",
      "set " + p + "EnablePMTUDiscovery",
      "set " + p + "KeepAliveTime",
      "set " + p + "KeepAliveInterval",
      "set " + p + "SYNAttackProtect",
      "set " + p + "EnableICMPRedirects",
      web + "MaxConnectionsPer1_0Server",
      web + "MaxConnectionsPerServer",
      "del " + i + "{A1}\\MTU",
      "del " + s + "{A1}\\Parameters\\Tcpip\\MTU",
      "del " + i + "{A1}\\MSS",
      "del " + s + "{A1}\\Parameters\\Tcpip\\MSS",
      "del " + i + "{B2}\\MTU",
      "del " + s + "{B2}\\Parameters\\Tcpip\\MTU",
      "del " + i + "{B2}\\MSS",
      "del " + s + "{B2}\\Parameters\\Tcpip\\MSS",
      "del " + i + "{C3}\\MTU",
      "del " + s + "{C3}\\Parameters\\Tcpip\\MTU",
      "del " + i + "{C3}\\MSS",
      "del " + s + "{C3}\\Parameters\\Tcpip\\MSS",
      "set HKLM\\System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\\"};
  EXPECT_EQ(registry.changes, expected);
  EXPECT_EQ(store().GetDword(kHkeyLocalMachine, kParams, "DefaultTTL"), 128u);
  EXPECT_TRUE(store().KeyExists(kHkeyLocalMachine, kCacheSize));
  EXPECT_TRUE(boxes.shown.empty());  // removing values that were never there is no failure
}

TEST_F(ApplyProfileTest, NineFiveLineWritesTextsInItsOrderWithTheMtuTestOnMtuAlone) {
  OsFamily = 2;
  AddAdapters95();
  LoadPreset(0);
  g_TuningProfile.MSS = -1;  // MSS alone at -1 removes the MSS only; the MTU is written
  g_TuningProfile.TTL = 64;
  ASSERT_TRUE(ApplyTuningProfile());
  const std::string m = "set HKLM\\System\\CurrentControlSet\\Services\\VxD\\MSTCP\\";
  const std::string web =
      "set HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";
  const std::string n = "set HKLM\\System\\CurrentControlSet\\Services\\Class\\NetTrans\\";
  const std::string d = "del HKLM\\System\\CurrentControlSet\\Services\\Class\\NetTrans\\";
  const std::vector<std::string> expected = {
      m + "SackOpts",
      m + "Tcp1323Opts",
      m + "DefaultTTL",
      m + "DefaultRcvWindow",
      m + "GlobalMaxTcpWindowSize",
      m + "PMTUBlackHoleDetect",
      m + "PMTUDiscovery",
      m + "KeepAliveTime",
      m + "KeepAliveInterval",
      web + "MaxConnectionsPer1_0Server",
      web + "MaxConnectionsPerServer",
      "set HKLM\\System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\\",
      n + "0000\\MaxMTU",
      d + "0000\\MaxMSS",
      n + "0001\\MaxMTU",
      d + "0001\\MaxMSS",
      n + "0002\\MaxMTU",
      d + "0002\\MaxMSS"};
  EXPECT_EQ(registry.changes, expected);
  EXPECT_EQ(store().Get(kHkeyLocalMachine, kMstcp, "DefaultTTL"),
            (MemoryRegistry::Value{kRegSz, {'6', '4', 0}}));
  EXPECT_EQ(store().GetText(kHkeyLocalMachine, kMstcp, "PMTUDiscovery"), "1");
  EXPECT_EQ(store().GetText(kHkeyLocalMachine, std::string(kNetTrans) + "\\0001", "MaxMSS"),
            std::nullopt);
  EXPECT_EQ(store().GetText(kHkeyLocalMachine, std::string(kNetTrans) + "\\0001", "MaxMTU"), "576");
}

TEST_F(ApplyProfileTest, BackupIsWrittenBeforeAnyValueAndRecordsTheStateBefore) {
  OsFamily = 6;
  AddInterfacesNt();
  LoadPreset(4);
  ASSERT_TRUE(ApplyTuningProfile());
  LoadPreset(7);
  ASSERT_TRUE(ApplyTuningProfile());
  const std::string first = Backup("001.BCK"), second = Backup("002.BCK");
  // The first holds the window value from before, the second what the first apply wrote.
  EXPECT_NE(first.find("\"TcpWindowSize\"\r\n9999\r\n"), std::string::npos);
  EXPECT_NE(second.find("\"TcpWindowSize\"\r\n256960\r\n"), std::string::npos);
  EXPECT_NE(second.find("\"MTU\"\r\n1500\r\n\"MSS\"\r\n1460\r\n"), std::string::npos);
  EXPECT_EQ(std::count(second.begin(), second.end(), '\n'), 38 + 3 * 10);
}

TEST_F(ApplyProfileTest, UnrecognisedFamilyDoesNothingAtAll) {
  for (std::int16_t family : {0, 8, -1}) {
    OsFamily = family;
    EXPECT_FALSE(ApplyTuningProfile());
  }
  EXPECT_TRUE(registry.Untouched());
  EXPECT_FALSE(files.FolderExists(kBackups));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ApplyProfileTest, RefusedBackupChangesNothingAndTellsWhichFileAndWhy) {
  const struct {
    const char* what;
    void (*fault)(MemoryFileSystem&);
    const char* mentions;
  } cases[] = {
      {"backup folder cannot be created",
       [](MemoryFileSystem& fs) { fs.SetReadOnly(testing::kProgramFolder, true); },
       "Access is denied."},
      {"backup folder read-only",
       [](MemoryFileSystem& fs) {
         fs.AddFolder(kBackups);
         fs.SetReadOnly(kBackups, true);
       },
       "001.BCK"},
      {"disk full", [](MemoryFileSystem& fs) { fs.SetDiskSpace(10); }, "not enough space"},
      {"numbers used up",
       [](MemoryFileSystem& fs) { fs.AddFile(std::string(kBackups) + "\\999.BCK", "x"); }, "999"},
  };
  for (std::int16_t family : {3, 6}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " OsFamily " + std::to_string(family));
      testing::LoggingRegistry fresh;
      SetRegistryBackend(fresh);
      MemoryFileSystem freshFiles;
      freshFiles.AddFolder(testing::kProgramFolder);
      c.fault(freshFiles);
      const auto filesBefore = freshFiles.AllFiles();
      SetFileSystem(freshFiles);
      boxes.shown.clear();
      OsFamily = family;
      LoadPreset(0);
      EXPECT_FALSE(ApplyTuningProfile());
      EXPECT_TRUE(fresh.Untouched());
      EXPECT_EQ(freshFiles.AllFiles(), filesBefore);
      ASSERT_EQ(boxes.shown.size(), 1u);
      EXPECT_NE(boxes.shown[0].text.find(c.mentions), std::string::npos) << boxes.shown[0].text;
      EXPECT_NE(boxes.shown[0].text.find("No setting was changed"), std::string::npos);
    }
  }
  SetRegistryBackend(registry);
  SetFileSystem(files);
}

TEST_F(ApplyProfileTest, ValuesThatCannotBeWrittenAreListedAfterTheRestIsApplied) {
  OsFamily = 3;
  AddAdapters95();
  store().DenyWrite(kHkeyLocalMachine, std::string(kNetTrans) + "\\0001");
  store().DenyWrite(kHkeyLocalMachine, kMstcp);
  LoadPreset(0);
  EXPECT_TRUE(ApplyTuningProfile());
  // Everything outside the refused keys was written.
  EXPECT_EQ(store().GetText(kHkeyCurrentUser, kInternet, "MaxConnectionsPerServer"), "8");
  EXPECT_EQ(store().GetText(kHkeyLocalMachine, std::string(kNetTrans) + "\\0002", "MaxMTU"), "576");
  EXPECT_EQ(store().GetText(kHkeyLocalMachine, kMstcp, "DefaultRcvWindow"), "9999");
  ASSERT_EQ(boxes.shown.size(), 1u);
  const std::string& text = boxes.shown[0].text;
  EXPECT_NE(text.find("MSTCP\\DefaultTTL (access denied)"), std::string::npos) << text;
  EXPECT_NE(text.find("NetTrans\\0001\\MaxMSS (access denied)"), std::string::npos) << text;
  EXPECT_EQ(text.find("NetTrans\\0002"), std::string::npos) << text;
  EXPECT_NE(text.find(std::string(kBackups) + "\\001.BCK"), std::string::npos) << text;
}

TEST_F(ApplyProfileTest, AdapterNameThatABackupCannotRecordIsLeftAloneAndNamed) {
  OsFamily = 6;
  const std::string odd = std::string(kInterfaces) + "\\odd\"name";
  store().PutDword(kHkeyLocalMachine, odd, "MTU", 1400);
  store().CreatePath(kHkeyLocalMachine, std::string(kInterfaces) + "\\{A1}");
  LoadPreset(4);
  EXPECT_TRUE(ApplyTuningProfile());
  EXPECT_EQ(store().GetDword(kHkeyLocalMachine, odd, "MTU"), 1400u);
  EXPECT_EQ(store().GetDword(kHkeyLocalMachine, std::string(kInterfaces) + "\\{A1}", "MTU"), 1500u);
  EXPECT_FALSE(
      store().KeyExists(kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Services\\odd\"name"));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].text.find("odd\"name"), std::string::npos);
}

}  // namespace
}  // namespace quelvar
