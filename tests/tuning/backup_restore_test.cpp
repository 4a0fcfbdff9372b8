// The backup manager's restore: the replay by position on each Windows line, value types by
// line, the Windows line check, refused damaged or tampered files (nothing written), failed
// writes reported; and the list rows, including files that are not backups.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "backup_test_support.h"
#include "tuning/backup_file.h"
#include "tuning/backup_restore.h"
#include "tuning/backup_writer.h"

namespace quelvar {
namespace {

using testing::BackupApplyTest;
using testing::kBackups;

constexpr const char* kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
constexpr const char* kTcpip = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr const char* kInternet95 = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kInternetNt = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kCacheSize =
    "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
constexpr const char* kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\";
constexpr const char* kInterfaces =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";

// A backup file as the writer lays it out, values numbered 100, 101, ... in file order
// (MaxMSS / MSS of the first adapter hold 1460).
std::string BackupOf(int family, const std::vector<std::string>& adapters) {
  BackupFileWriter file;
  file.Date(testing::kStamp);
  file.Time(testing::kStamp);
  file.Integer(family);
  double next = 100;
  auto pair = [&](const char* name, double value) {
    file.String(name);
    file.Number(value);
  };
  if (IsNineFiveLine(family)) {
    file.String(kMstcp);
    for (const char* name : {"SackOpts", "Tcp1323Opts", "DefaultTTL", "DefaultRcvWindow",
                             "GlobalMaxTcpWindowSize", "PMTUBlackHoleDetect", "DefaultRcvWindow",
                             "PMTUDiscovery", "KeepAliveTime", "KeepAliveInterval"}) {
      pair(name, next++);
    }
    file.String(kInternet95);
  } else {
    file.String(kTcpip);
    for (const char* name :
         {"SackOpts", "Tcp1323Opts", "TcpMaxDupAcks", "DefaultReceiveWindow", "DefaultTTL",
          "GlobalMaxTcpWindowSize", "TcpWindowSize", "EnablePMTUBHDetect", "EnablePMTUDiscovery",
          "KeepAliveTime", "KeepAliveInterval", "SYNAttackProtect", "EnableICMPRedirects"}) {
      pair(name, next++);
    }
    file.String(kInternetNt);
  }
  pair("MaxConnectionsPer1_0Server", next++);
  pair("MaxConnectionsPerServer", next++);
  file.String(kCacheSize);
  pair("", next++);
  bool first = true;
  for (const std::string& adapter : adapters) {
    const double mtu = first ? 1500 : next++;
    const double mss = first ? 1460 : next++;
    first = false;
    if (IsNineFiveLine(family)) {
      file.String(kNetTrans + adapter);
      pair("MaxMTU", mtu);
      pair("MaxMSS", mss);
    } else {
      file.String(kInterfaces + adapter);
      pair("MTU", mtu);
      pair("MSS", mss);
      file.String("SYSTEM\\CurrentControlSet\\Services\\" + adapter + "\\Parameters\\Tcpip");
      pair("MTU", mtu);
      pair("MSS", mss);
    }
  }
  return file.Contents();
}

const std::vector<std::string> kThreeAdapters = {"0000", "0001", "0002"};
const std::vector<std::string> kThreeInterfaces = {"{A1}", "{B2}", "{C3}"};

class BackupRestore : public BackupApplyTest {};

TEST_F(BackupRestore, NineFiveLineReplaysTenTwoOneAndTwoPairsPerAdapterAsText) {
  const RestorePlan plan = CheckBackupContents(BackupOf(2, kThreeAdapters));
  ASSERT_EQ(plan.problem, "");
  ASSERT_EQ(plan.pairs.size(), 10u + 2 + 1 + 6);
  for (std::size_t i = 0; i < plan.pairs.size(); ++i) {
    EXPECT_EQ(plan.pairs[i].hive, i >= 10 && i < 12 ? kHkeyCurrentUser : kHkeyLocalMachine) << i;
  }

  const RestoreResult result = RestoreBackupContents(BackupOf(2, kThreeAdapters), 2);
  EXPECT_EQ(result.outcome, RestoreOutcome::kRestored);
  EXPECT_EQ(result.message, "");
  EXPECT_EQ(result.written, 19u);
  EXPECT_EQ(registry.changes.size(), 19u);
  EXPECT_TRUE(boxes.shown.empty());
  // Values go back as REG_SZ decimal text on this line; the repeated name keeps the later one.
  EXPECT_EQ(store().GetText(kHkeyLocalMachine, std::string(kNetTrans) + "0000", "MaxMSS"), "1460");
  EXPECT_EQ(store().GetText(kHkeyLocalMachine, kMstcp, "DefaultTTL"), "102");
  EXPECT_EQ(store().GetText(kHkeyLocalMachine, kMstcp, "DefaultRcvWindow"), "106");
  EXPECT_EQ(store().GetText(kHkeyCurrentUser, kInternet95, "MaxConnectionsPerServer"), "111");
  EXPECT_EQ(store().GetText(kHkeyLocalMachine, kCacheSize, ""), "112");
  EXPECT_EQ(store().GetDword(kHkeyLocalMachine, kMstcp, "DefaultTTL"), std::nullopt);
}

TEST_F(BackupRestore, NtLineReplaysThirteenTwoOneAndFourPairsPerInterfaceAsNumbers) {
  const RestoreResult result = RestoreBackupContents(BackupOf(6, kThreeInterfaces), 6);
  EXPECT_EQ(result.outcome, RestoreOutcome::kRestored);
  EXPECT_EQ(result.written, 13u + 2 + 1 + 12);
  EXPECT_EQ(registry.changes.size(), 28u);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(store().GetDword(kHkeyLocalMachine, kTcpip, "DefaultTTL"), 104u);
  EXPECT_EQ(store().GetDword(kHkeyLocalMachine, kTcpip, "EnableICMPRedirects"), 112u);
  EXPECT_EQ(store().GetDword(kHkeyCurrentUser, kInternetNt, "MaxConnectionsPer1_0Server"), 113u);
  EXPECT_EQ(store().GetDword(kHkeyLocalMachine, std::string(kInterfaces) + "{A1}", "MSS"), 1460u);
  EXPECT_EQ(store().GetDword(kHkeyLocalMachine,
                             "SYSTEM\\CurrentControlSet\\Services\\{C3}\\Parameters\\Tcpip",
                             "MTU"),
            118u);
}

TEST_F(BackupRestore, AMachineWithoutAdaptersRestoresTheFixedGroupsOnly) {
  EXPECT_EQ(RestoreBackupContents(BackupOf(7, {}), 7).written, 16u);
  EXPECT_EQ(RestoreBackupContents(BackupOf(1, {}), 1).written, 13u);
  // Empty lines after the last group end the file as the end of the file does.
  EXPECT_EQ(RestoreBackupContents(BackupOf(1, {"0000"}) + "\r\n\r\n", 1).written, 15u);
}

// Checking a file reads each line a fixed number of times: 5000 adapters (25000 lines) take a
// few milliseconds. Counting every line of the file again for each pair took some 10000 passes
// over the whole file, many seconds.
TEST_F(BackupRestore, CheckingAFileTakesTimeInProportionToItsSize) {
  std::vector<std::string> adapters;
  for (int i = 0; i < 5000; ++i) adapters.push_back(std::to_string(10000 + i));
  const std::string contents = BackupOf(2, adapters);
  const auto start = std::chrono::steady_clock::now();
  const RestorePlan plan = CheckBackupContents(contents);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(plan.problem, "");
  EXPECT_EQ(plan.pairs.size(), 13u + 2 * adapters.size());
  EXPECT_LT(took, std::chrono::seconds(1));
}

TEST_F(BackupRestore, AFileOfAnotherWindowsVersionIsRefusedAndNothingWritten) {
  const RestoreResult result = RestoreBackupContents(BackupOf(6, kThreeInterfaces), 7);
  EXPECT_EQ(result.outcome, RestoreOutcome::kOtherOperatingSystem);
  EXPECT_EQ(result.message, "This backup file was taken from another operating system!!");
  EXPECT_TRUE(registry.Untouched());
  // Same for the other line, and a file of the running version right after works.
  EXPECT_EQ(RestoreBackupContents(BackupOf(2, kThreeAdapters), 6).outcome,
            RestoreOutcome::kOtherOperatingSystem);
  EXPECT_TRUE(registry.Untouched());
  EXPECT_EQ(RestoreBackupContents(BackupOf(7, kThreeInterfaces), 7).outcome,
            RestoreOutcome::kRestored);
}

struct Tampering {
  const char* what;
  int family;
  std::function<std::string(std::string)> change;
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string CutAfterLines(const std::string& text, int lines) {
  std::size_t at = 0;
  for (int i = 0; i < lines; ++i) at = text.find("\r\n", at) + 2;
  return text.substr(0, at);
}

TEST_F(BackupRestore, DamagedOrTamperedFilesAreRefusedWithNothingWritten) {
  const std::string netTrans = std::string("\"") + kNetTrans;
  const Tampering cases[] = {
      {"empty file", 2, [](std::string) { return std::string(); }},
      {"cut in the middle of the last line", 2,
       [](std::string t) { return t.substr(0, t.size() - 4); }},
      {"cut after the header", 2, [](std::string t) { return CutAfterLines(t, 3); }},
      {"cut inside the fixed pairs", 6, [](std::string t) { return CutAfterLines(t, 20); }},
      {"cut between a name and its value", 2, [](std::string t) { return CutAfterLines(t, 9); }},
      {"cut inside an adapter group", 2,
       [](std::string t) { return CutAfterLines(t, 32 + 5 + 3); }},
      {"NT interface without its service group", 6,
       [](std::string t) { return CutAfterLines(t, 38 + 5); }},
      {"date line is not a date", 2,
       [](std::string t) { return Replace(t, "#2003-05-07#", "#2003-13-07#"); }},
      {"time line is not a time", 2,
       [](std::string t) { return Replace(t, "#09:05:03#", "09:05:03"); }},
      {"Windows code is not a number", 2,
       [](std::string t) { return Replace(t, "\r\n2\r\n", "\r\nTwo\r\n"); }},
      {"value too large for 32 bits", 2,
       [](std::string t) { return Replace(t, "\r\n102\r\n", "\r\n4294967296\r\n"); }},
      {"value too small for 32 bits", 6,
       [](std::string t) { return Replace(t, "\r\n104\r\n", "\r\n-2147483649\r\n"); }},
      {"value in exponent form beyond 32 bits", 6,
       [](std::string t) { return Replace(t, "\r\n104\r\n", "\r\n1E+15\r\n"); }},
      {"value beyond any number", 6,
       [](std::string t) { return Replace(t, "\r\n104\r\n", "\r\n1E+400\r\n"); }},
      {"date that is no day of the calendar", 6,
       [](std::string t) { return Replace(t, "#2003-05-07#", "#2003-02-29#"); }},
      {"value is not a number", 2,
       [](std::string t) { return Replace(t, "\r\n102\r\n", "\r\n\"calc.exe\"\r\n"); }},
      {"typed value with half a byte", 6,
       [](std::string t) { return Replace(t, "\r\n104\r\n", "\r\n\"hex(4):e8,3\"\r\n"); }},
      {"typed value with a trailing comma", 6,
       [](std::string t) { return Replace(t, "\r\n104\r\n", "\r\n\"hex(4):e8,\"\r\n"); }},
      {"typed value without its type", 2,
       [](std::string t) { return Replace(t, "\r\n102\r\n", "\r\n\"hex():31,00\"\r\n"); }},
      {"typed value with a type beyond 32 bits", 2,
       [](std::string t) { return Replace(t, "\r\n102\r\n", "\r\n\"hex(100000001):00\"\r\n"); }},
      {"missing-value item outside its quotes", 2,
       [](std::string t) { return Replace(t, "\r\n102\r\n", "\r\n-\r\n"); }},
      {"missing-value item with more than its sign", 6,
       [](std::string t) { return Replace(t, "\r\n104\r\n", "\r\n\"-0\"\r\n"); }},
      {"typed value outside its quotes", 6,
       [](std::string t) { return Replace(t, "\r\n104\r\n", "\r\nhex(4):e8,03,00,00\r\n"); }},
      {"first key line points at the Run key", 2,
       [](std::string t) {
         return Replace(t, kMstcp, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
       }},
      {"user key line points elsewhere", 6,
       [](std::string t) {
         return Replace(t, kInternetNt, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies");
       }},
      {"value name other than the layout's", 2,
       [](std::string t) { return Replace(t, "\"DefaultTTL\"", "\"Shell\""); }},
      {"adapter value name other than MaxMTU", 2,
       [](std::string t) { return Replace(t, "\"MaxMTU\"", "\"Debugger\""); }},
      {"adapter key outside NetTrans", 2,
       [netTrans](std::string t) {
         return Replace(t, netTrans + "0001\"",
                        "\"System\\CurrentControlSet\\Services\\Class\\Display\\0001\"");
       }},
      {"adapter name climbing out of NetTrans", 2,
       [netTrans](std::string t) { return Replace(t, netTrans + "0001\"", netTrans + "..\\..\\Run\""); }},
      {"adapter name that is the parent", 2,
       [netTrans](std::string t) { return Replace(t, netTrans + "0001\"", netTrans + "..\""); }},
      {"NT service group of another adapter", 6,
       [](std::string t) {
         return Replace(t, "Services\\{B2}\\Parameters\\Tcpip", "Services\\W32Time\\Parameters\\Tcpip");
       }},
      {"NT service key without its Tcpip suffix", 6,
       [](std::string t) {
         return Replace(t, "Services\\{B2}\\Parameters\\Tcpip", "Services\\{B2}\\Parameters");
       }},
      {"key line without its closing quote", 2,
       [](std::string t) { return Replace(t, "cachesize\"", "cachesize"); }},
      {"text after the closing empty line", 2,
       [](std::string t) { return t + "\r\n\"SOFTWARE\\Classes\"\r\n\"\"\r\n1\r\n"; }},
      {"unknown Windows version", 9,
       [](std::string t) { return Replace(t, "\r\n2\r\n", "\r\n9\r\n"); }},
  };
  for (const Tampering& c : cases) {
    SCOPED_TRACE(c.what);
    const int fileFamily = c.family == 9 ? 2 : c.family;
    const std::vector<std::string>& adapters = IsNtLine(fileFamily) ? kThreeInterfaces
                                                                    : kThreeAdapters;
    const std::string contents = c.change(BackupOf(fileFamily, adapters));
    const RestoreResult result = RestoreBackupContents(contents, c.family);
    EXPECT_EQ(result.outcome, RestoreOutcome::kRefused);
    EXPECT_NE(result.message.find("nothing was restored"), std::string::npos) << result.message;
    EXPECT_EQ(result.written, 0u);
    EXPECT_TRUE(registry.Untouched()) << registry.changes.size() << " changes";
  }
}

TEST_F(BackupRestore, TheRefusalSaysWhichLineIsWrong) {
  const std::string contents =
      Replace(BackupOf(2, kThreeAdapters), "\r\n102\r\n", "\r\n4294967296\r\n");
  const RestoreResult result = RestoreBackupContents(contents, 2);
  EXPECT_NE(result.message.find("line 10 holds \"4294967296\", a value too large"),
            std::string::npos)
      << result.message;
  const std::string beyond =
      Replace(BackupOf(6, kThreeInterfaces), "\r\n104\r\n", "\r\n1E+400\r\n");
  const std::string said = RestoreBackupContents(beyond, 6).message;
  EXPECT_NE(said.find("line 14 holds \"1E+400\", a value too large"), std::string::npos) << said;
}

TEST_F(BackupRestore, ValuesThatCannotBeWrittenAreListedAndTheRestStillWritten) {
  store().CreatePath(kHkeyCurrentUser, kInternet95);
  store().DenyWrite(kHkeyCurrentUser, kInternet95);
  const RestoreResult result = RestoreBackupContents(BackupOf(2, kThreeAdapters), 2);
  EXPECT_EQ(result.outcome, RestoreOutcome::kWritesFailed);
  EXPECT_EQ(result.written, 17u);
  ASSERT_EQ(result.notRestored.size(), 2u);
  EXPECT_EQ(result.notRestored[0],
            std::string("HKEY_CURRENT_USER\\") + kInternet95 + "\\MaxConnectionsPer1_0Server");
  EXPECT_NE(result.message.find("MaxConnectionsPerServer"), std::string::npos);
  EXPECT_NE(result.message.find("The other 17 settings were restored."), std::string::npos);
}

TEST_F(BackupRestore, ATextNumberOnTheNtLineComesBackAsThatText) {
  OsFamily = 6;
  store().PutText(kHkeyLocalMachine, kTcpip, "DefaultTTL", "32");
  const BackupResult backup = WriteTuningBackup();
  ASSERT_TRUE(backup.written) << backup.problem;
  const RestoreResult result = RestoreBackupFile(backup.path, 6);
  EXPECT_EQ(result.outcome, RestoreOutcome::kRestored) << result.message;
  EXPECT_EQ(store().GetText(kHkeyLocalMachine, kTcpip, "DefaultTTL"), "32");
}

TEST_F(BackupRestore, AMissingFileIsReportedAsUnreadable) {
  const RestoreResult result = RestoreBackupFile(std::string(kBackups) + "\\042.BCK", 2);
  EXPECT_EQ(result.outcome, RestoreOutcome::kUnreadable);
  EXPECT_NE(result.message.find("042.BCK"), std::string::npos);
  EXPECT_TRUE(registry.Untouched());
}

TEST_F(BackupRestore, ListRowsCarryDateAndTimeAndKeepFilesThatAreNoBackups) {
  EXPECT_TRUE(ReadBackupList().empty());
  EXPECT_TRUE(files.FolderExists(kBackups));  // created on the way

  files.AddFile(std::string(kBackups) + "\\001.BCK", BackupOf(2, kThreeAdapters));
  files.AddFile(std::string(kBackups) + "\\002.bck", "not a backup at all");
  files.AddFile(std::string(kBackups) + "\\003.BCK", "");
  files.AddFile(std::string(kBackups) + "\\004.BCK", "#2003-05-07#\r\n#25:00:00#\r\n2\r\n");
  files.AddFile(std::string(kBackups) + "\\notes.txt", "#2003-05-07#\r\n");
  const std::vector<BackupListEntry> rows = ReadBackupList();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].fileName, "001.BCK");
  ASSERT_TRUE(rows[0].date && rows[0].time);
  EXPECT_EQ(rows[0].date->year, 2003);
  EXPECT_EQ(rows[0].date->day, 7);
  EXPECT_EQ(rows[0].time->hour, 9);
  EXPECT_EQ(rows[0].time->second, 3);
  EXPECT_EQ(rows[1].fileName, "002.BCK");
  EXPECT_FALSE(rows[1].date || rows[1].time);
  EXPECT_FALSE(rows[2].date || rows[2].time);
  EXPECT_TRUE(rows[3].date);
  EXPECT_FALSE(rows[3].time);
}

TEST_F(BackupRestore, ListReadsEachFileNoFurtherThanItsDateAndTime) {
  // Values damaged after a sound date and time: the row shows both, as it always did, while
  // the restore still refuses the file.
  const std::string damaged =
      testing::CrLfLines({"#2003-05-07#", "#09:05:03#", "2"}) + std::string(1 << 20, '\xff');
  files.AddFile(std::string(kBackups) + "\\001.BCK", damaged);
  const std::size_t readBefore = files.BytesRead();
  const std::vector<BackupListEntry> rows = ReadBackupList();
  ASSERT_EQ(rows.size(), 1u);
  ASSERT_TRUE(rows[0].date && rows[0].time);
  EXPECT_EQ(rows[0].time->second, 3);
  EXPECT_LE(files.BytesRead() - readBefore, kBackupStampBytes);
  EXPECT_FALSE(CheckBackupContents(damaged).problem.empty());
}

}  // namespace
}  // namespace quelvar
