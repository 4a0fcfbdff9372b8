// Backup numbering, the exact bytes of a backup on both Windows lines, and the backup refused
// (with nothing left behind) when its folder or file cannot be written.
#include "tuning/backup_writer.h"

#include <gtest/gtest.h>

#include "backup_test_support.h"

namespace quelvar {
namespace {

using testing::BackupApplyTest;
using testing::CrLfLines;
using testing::kBackups;

TEST(BackupNumbering, NameCountsAsItsLastThreeCharactersLeadingNumber) {
  const struct {
    const char* name;
    int number;
  } cases[] = {
      {"005.BCK", 5},  {"1234.BCK", 234}, {"notes.BCK", 0}, {"7.BCK", 7},
      {"ab12.BCK", 0}, {"x012.BCK", 12},  {"x2.5.BCK", 2},  {"x3.5.BCK", 4},
      {"12x.BCK", 12}, {"-12.BCK", -12},  {"099.bck", 99},  {".BCK", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BackupNumberOfName(c.name), c.number);
  }
}

TEST(BackupNumbering, NumberGetsThreeDigits) {
  EXPECT_EQ(BackupFileNameFor(1), "001.BCK");
  EXPECT_EQ(BackupFileNameFor(42), "042.BCK");
  EXPECT_EQ(BackupFileNameFor(100), "100.BCK");
  EXPECT_EQ(BackupFileNameFor(999), "999.BCK");
}

using NextBackupFileNameTest = BackupApplyTest;

TEST_F(NextBackupFileNameTest, FollowsTheHighestNumberInUse) {
  const struct {
    std::vector<const char*> present;
    const char* next;  // "" when refused
  } cases[] = {
      {{}, "001.BCK"},
      {{"001.BCK", "005.BCK"}, "006.BCK"},
      {{"005.BCK", "001.BCK"}, "006.BCK"},
      {{"099.BCK"}, "100.BCK"},
      {{"notes.BCK"}, "001.BCK"},
      {{"1234.BCK"}, "235.BCK"},
      {{"007.bck"}, "008.BCK"},
      {{"050.txt", "003.BCK"}, "004.BCK"},
      {{"998.BCK"}, "999.BCK"},
      {{"999.BCK"}, ""},
      {{"001.BCK", "999.BCK"}, ""},
  };
  for (const auto& c : cases) {
    MemoryFileSystem fresh;
    SetFileSystem(fresh);
    fresh.AddFolder(kBackups);
    std::string trace;
    for (const char* name : c.present) {
      fresh.AddFile(std::string(kBackups) + "\\" + name, "x");
      trace += std::string(name) + " ";
    }
    SCOPED_TRACE(trace);
    const std::string expected = *c.next ? std::string(kBackups) + "\\" + c.next : "";
    EXPECT_EQ(NextBackupFileName(), expected);
    EXPECT_EQ(fresh.AllFiles().size(), c.present.size());  // creates no file
  }
  SetFileSystem(files);
}

TEST_F(NextBackupFileNameTest, CreatesTheMissingFolder) {
  EXPECT_FALSE(files.FolderExists(kBackups));
  EXPECT_EQ(NextBackupFileName(), std::string(kBackups) + "\\001.BCK");
  EXPECT_TRUE(files.FolderExists(kBackups));
}

TEST_F(NextBackupFileNameTest, FolderThatCannotBeCreatedGivesNoName) {
  files.SetReadOnly(testing::kProgramFolder, true);
  EXPECT_EQ(NextBackupFileName(), "");
  const NextBackupTarget target = FindNextBackupTarget();
  EXPECT_EQ(target.problem, NextBackupTarget::Problem::kFolderNotCreated);
  EXPECT_EQ(target.reason, MemoryFileSystem::kAccessDenied);
}

class WriteTuningBackupTest : public BackupApplyTest {
 protected:
  void Fill95Registry() {
    const char* mstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
    store().PutText(kHkeyLocalMachine, mstcp, "DefaultTTL", "128");
    store().PutText(kHkeyLocalMachine, mstcp, "DefaultRcvWindow", "8760");
    store().PutText(kHkeyLocalMachine, mstcp, "PMTUBlackHoleDetect", "0");
    store().PutText(kHkeyLocalMachine, mstcp, "PMTUDiscovery", "-3");
    store().PutText(kHkeyLocalMachine, mstcp, "KeepAliveTime", "7200000 ms");
    store().PutDword(kHkeyLocalMachine, mstcp, "KeepAliveInterval", 1000);  // another program's
    store().PutText(kHkeyCurrentUser,
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                    "MaxConnectionsPer1_0Server", "4");
    store().PutText(kHkeyLocalMachine,
                    "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize", "",
                    "32");
    const char* netTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans";
    store().PutText(kHkeyLocalMachine, std::string(netTrans) + "\\0000", "MaxMTU", "576");
    store().PutText(kHkeyLocalMachine, std::string(netTrans) + "\\0000", "MaxMSS", "536");
    store().CreatePath(kHkeyLocalMachine, std::string(netTrans) + "\\0001");
  }

  void FillNtRegistry() {
    const char* params = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
    store().PutDword(kHkeyLocalMachine, params, "DefaultTTL", 64);
    store().PutDword(kHkeyLocalMachine, params, "GlobalMaxTcpWindowSize", 0xFFFFFFFFu);
    store().PutDword(kHkeyLocalMachine, params, "EnablePMTUBHDetect", 0);
    store().PutDword(kHkeyLocalMachine, params, "EnablePMTUDiscovery", 1);
    store().PutDword(kHkeyLocalMachine, params, "KeepAliveTime", 7200000);
    store().PutDword(kHkeyLocalMachine, params, "KeepAliveInterval", 1000);
    store().PutText(kHkeyLocalMachine, params, "SYNAttackProtect", "1");  // text, not a DWORD
    const char* internet = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    store().PutDword(kHkeyCurrentUser, internet, "MaxConnectionsPer1_0Server", 4);
    store().Put(kHkeyCurrentUser, internet, "MaxConnectionsPerServer",
                {kRegBinary, {0, 0, 0, 0, 0, 0, 0x80, 0x43}});
    const std::string interfaces = std::string(params) + "\\Interfaces";
    store().PutDword(kHkeyLocalMachine, interfaces + "\\{BBB}", "MTU", 1500);
    store().CreatePath(kHkeyLocalMachine, interfaces + "\\{CCC}");
    store().PutDword(kHkeyLocalMachine, interfaces + "\\{AAA}", "MSS", 536);
    store().PutDword(kHkeyLocalMachine,
                     "SYSTEM\\CurrentControlSet\\Services\\{AAA}\\Parameters\\Tcpip", "MTU", 576);
  }
};

TEST_F(WriteTuningBackupTest, NineFiveLineFileHoldsTheNumbersOfTheStoredTexts) {
  OsFamily = 3;
  Fill95Registry();
  const BackupResult result = WriteTuningBackup();
  ASSERT_TRUE(result.written) << result.problem;
  EXPECT_EQ(result.path, std::string(kBackups) + "\\001.BCK");
  EXPECT_EQ(
      Backup("001.BCK"),
      CrLfLines({"#2003-05-07#",
                 "#09:05:03#",
                 "3",
                 "\"System\\CurrentControlSet\\Services\\VxD\\MSTCP\"",
                 "\"SackOpts\"",
                 "1",
                 "\"Tcp1323Opts\"",
                 "1",
                 "\"DefaultTTL\"",
                 "128",
                 "\"DefaultRcvWindow\"",
                 "8760",
                 "\"GlobalMaxTcpWindowSize\"",
                 "0",
                 "\"PMTUBlackHoleDetect\"",
                 "0",
                 "\"DefaultRcvWindow\"",
                 "8760",
                 "\"PMTUDiscovery\"",
                 "-3",
                 "\"KeepAliveTime\"",
                 "\"hex(1):37,32,30,30,30,30,30,20,6d,73,00\"",
                 "\"KeepAliveInterval\"",
                 "\"hex(4):e8,03,00,00\"",
                 "\"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\"",
                 "\"MaxConnectionsPer1_0Server\"",
                 "4",
                 "\"MaxConnectionsPerServer\"",
                 "0",
                 "\"System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\"",
                 "\"\"",
                 "32",
                 "\"System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000\"",
                 "\"MaxMTU\"",
                 "576",
                 "\"MaxMSS\"",
                 "536",
                 "\"System\\CurrentControlSet\\Services\\Class\\NetTrans\\0001\"",
                 "\"MaxMTU\"",
                 "0",
                 "\"MaxMSS\"",
                 "0"}));
  EXPECT_TRUE(registry.Untouched());
  EXPECT_EQ(store().OpenHandleCount(), 0u);
}

TEST_F(WriteTuningBackupTest, NtLineFileHoldsFixedValuesAndTwoGroupsPerInterface) {
  OsFamily = 6;
  FillNtRegistry();
  const BackupResult result = WriteTuningBackup();
  ASSERT_TRUE(result.written) << result.problem;
  const std::string interfaces =
      "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
  EXPECT_EQ(
      Backup("001.BCK"),
      CrLfLines({"#2003-05-07#",
                 "#09:05:03#",
                 "6",
                 "\"System\\CurrentControlSet\\Services\\Tcpip\\Parameters\"",
                 "\"SackOpts\"",
                 "1",
                 "\"Tcp1323Opts\"",
                 "1",
                 "\"TcpMaxDupAcks\"",
                 "2",
                 "\"DefaultReceiveWindow\"",
                 "8192",
                 "\"DefaultTTL\"",
                 "64",
                 "\"GlobalMaxTcpWindowSize\"",
                 "4294967295",
                 "\"TcpWindowSize\"",
                 "0",
                 "\"EnablePMTUBHDetect\"",
                 "0",
                 "\"EnablePMTUDiscovery\"",
                 "1",
                 "\"KeepAliveTime\"",
                 "7200000",
                 "\"KeepAliveInterval\"",
                 "1000",
                 "\"SYNAttackProtect\"",
                 "\"hex(1):31,00\"",
                 "\"EnableICMPRedirects\"",
                 "0",
                 "\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\"",
                 "\"MaxConnectionsPer1_0Server\"",
                 "4",
                 "\"MaxConnectionsPerServer\"",
                 "\"hex(3):00,00,00,00,00,00,80,43\"",
                 "\"System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\"",
                 "\"\"",
                 "0",
                 "\"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{AAA}\"",
                 "\"MTU\"",
                 "0",
                 "\"MSS\"",
                 "536",
                 "\"SYSTEM\\CurrentControlSet\\Services\\{AAA}\\Parameters\\Tcpip\"",
                 "\"MTU\"",
                 "576",
                 "\"MSS\"",
                 "0",
                 "\"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{BBB}\"",
                 "\"MTU\"",
                 "1500",
                 "\"MSS\"",
                 "0",
                 "\"SYSTEM\\CurrentControlSet\\Services\\{BBB}\\Parameters\\Tcpip\"",
                 "\"MTU\"",
                 "0",
                 "\"MSS\"",
                 "0",
                 "\"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{CCC}\"",
                 "\"MTU\"",
                 "0",
                 "\"MSS\"",
                 "0",
                 "\"SYSTEM\\CurrentControlSet\\Services\\{CCC}\\Parameters\\Tcpip\"",
                 "\"MTU\"",
                 "0",
                 "\"MSS\"",
                 "0"}));
  EXPECT_TRUE(registry.Untouched());
  EXPECT_EQ(store().OpenHandleCount(), 0u);
}

// The NT line records a DWORD as its number and a missing value as 0; a value of any other type
// (text that spells a number included) by its type and bytes, so that a restore puts that very
// value back rather than a DWORD.
TEST_F(WriteTuningBackupTest, NtLineRecordsAValueOfAnotherTypeByItsTypeAndBytes) {
  OsFamily = 5;
  const char* params = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
  const struct {
    const char* what;
    MemoryRegistry::Value stored;  // nothing stored when the type is kRegNone
    const char* recorded;
  } cases[] = {
      {"text 32", {kRegSz, {'3', '2', 0}}, "\"hex(1):33,32,00\""},
      {"text -1", {kRegSz, {'-', '1', 0}}, "\"hex(1):2d,31,00\""},
      {"expandable text 64", {kRegExpandSz, {'6', '4', 0}}, "\"hex(2):36,34,00\""},
      {"DWORD 128", {kRegDword, {128, 0, 0, 0}}, "128"},
      {"DWORD 0xFFFFFFFF", {kRegDword, {255, 255, 255, 255}}, "4294967295"},
      {"missing", {kRegNone, {}}, "0"},
      {"text 3x", {kRegSz, {'3', 'x', 0}}, "\"hex(1):33,78,00\""},
      {"empty text", {kRegSz, {0}}, "\"hex(1):00\""},
      {"binary", {kRegBinary, {1, 2}}, "\"hex(3):01,02\""},
      {"DWORD of two bytes", {kRegDword, {1, 2}}, "\"hex(4):01,02\""},
      {"no bytes", {kRegBinary, {}}, "\"hex(3):\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryRegistry fresh;
    SetRegistryBackend(fresh);
    if (c.stored.type != kRegNone) fresh.Put(kHkeyLocalMachine, params, "DefaultTTL", c.stored);
    const std::string file = BuildTuningBackup(nullptr);
    const std::string pair = std::string("\r\n\"DefaultTTL\"\r\n") + c.recorded + "\r\n";
    EXPECT_NE(file.find(pair), std::string::npos) << file.substr(0, 300);
  }
  SetRegistryBackend(registry);
}

TEST_F(WriteTuningBackupTest, EmptyRegistryRecordsZerosAndNoAdapterGroups) {
  for (std::int16_t family : {1, 4, 5, 7}) {
    SCOPED_TRACE(family);
    OsFamily = family;
    MemoryFileSystem fresh;
    fresh.AddFolder(testing::kProgramFolder);
    SetFileSystem(fresh);
    ASSERT_TRUE(WriteTuningBackup().written);
    const std::string file = fresh.Contents(std::string(kBackups) + "\\001.BCK");
    const std::size_t lines = static_cast<std::size_t>(std::count(file.begin(), file.end(), '\n'));
    EXPECT_EQ(lines, IsNtLine(family) ? 38u : 32u);
  }
  SetFileSystem(files);
}

TEST_F(WriteTuningBackupTest, AdapterNameThatWouldBreakTheFileIsLeftOut) {
  OsFamily = 6;
  const std::string interfaces =
      "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
  store().PutDword(kHkeyLocalMachine, interfaces + "{A}", "MTU", 1500);
  store().PutDword(kHkeyLocalMachine, interfaces + "bad\"name", "MTU", 1);
  store().PutDword(kHkeyLocalMachine, interfaces + "two\r\nlines", "MTU", 2);
  const BackupResult result = WriteTuningBackup();
  ASSERT_TRUE(result.written);
  EXPECT_EQ(result.skippedSubkeys.size(), 2u);
  const std::string file = Backup("001.BCK");
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 38 + 10);
  EXPECT_EQ(file.find("bad"), std::string::npos);
  EXPECT_EQ(file.find("lines"), std::string::npos);
}

TEST_F(WriteTuningBackupTest, SecondBackupTakesTheNextNumber) {
  OsFamily = 6;
  files.AddFolder(kBackups);
  files.AddFile(std::string(kBackups) + "\\004.BCK", "old");
  ASSERT_TRUE(WriteTuningBackup().written);
  ASSERT_TRUE(WriteTuningBackup().written);
  EXPECT_EQ(Backup("004.BCK"), "old");
  EXPECT_TRUE(files.FileExists(std::string(kBackups) + "\\005.BCK"));
  EXPECT_TRUE(files.FileExists(std::string(kBackups) + "\\006.BCK"));
}

// A file the folder listing leaves out (hidden, or created by another program just after the
// listing) or a folder of that name is never replaced: the backup takes the next free number.
TEST_F(WriteTuningBackupTest, ANewBackupNeverTakesTheNameOfWhatIsThere) {
  using Listed = MemoryFileSystem::Listed;
  const struct {
    const char* what;
    std::vector<std::pair<const char*, Listed>> present;
    const char* written;
  } cases[] = {
      {"hidden 001", {{"001.BCK", Listed::kHidden}}, "002.BCK"},
      {"unlisted 001", {{"001.BCK", Listed::kUnlisted}}, "002.BCK"},
      {"unlisted 001 and 002", {{"001.BCK", Listed::kUnlisted}, {"002.bck", Listed::kUnlisted}},
       "003.BCK"},
      {"hidden 004, unlisted 005", {{"004.BCK", Listed::kHidden}, {"005.BCK", Listed::kUnlisted}},
       "006.BCK"},
      {"a folder named 001.BCK", {}, "002.BCK"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFileSystem fresh;
    fresh.AddFolder(kBackups);
    SetFileSystem(fresh);
    if (c.present.empty()) fresh.AddFolder(std::string(kBackups) + "\\001.BCK");
    for (const auto& [name, listed] : c.present) {
      fresh.AddFile(std::string(kBackups) + "\\" + name, "the user's own", listed);
    }
    OsFamily = 6;
    const BackupResult result = WriteTuningBackup();
    ASSERT_TRUE(result.written) << result.problem;
    EXPECT_EQ(result.path, std::string(kBackups) + "\\" + c.written);
    EXPECT_NE(fresh.Contents(result.path).find("#2003-05-07#"), std::string::npos);
    for (const auto& [name, listed] : c.present) {
      EXPECT_EQ(fresh.Contents(std::string(kBackups) + "\\" + name), "the user's own") << name;
    }
    EXPECT_EQ(fresh.AllFiles().size(), c.present.size() + 1);
  }
  SetFileSystem(files);
}

TEST_F(WriteTuningBackupTest, FailuresNameTheFileAndReasonAndLeaveNoFile) {
  const struct {
    const char* what;
    void (*fault)(MemoryFileSystem&);
    const char* mentions;
    const char* reason;
  } cases[] = {
      {"program folder read-only",
       [](MemoryFileSystem& fs) { fs.SetReadOnly(testing::kProgramFolder, true); }, kBackups,
       MemoryFileSystem::kAccessDenied},
      {"backup folder read-only",
       [](MemoryFileSystem& fs) {
         fs.AddFolder(kBackups);
         fs.SetReadOnly(kBackups, true);
       },
       "Backups\\001.BCK", MemoryFileSystem::kAccessDenied},
      {"disk full", [](MemoryFileSystem& fs) { fs.SetDiskSpace(100); }, "Backups\\001.BCK",
       MemoryFileSystem::kDiskFull},
      {"999 in use",
       [](MemoryFileSystem& fs) { fs.AddFile(std::string(kBackups) + "\\999.BCK", "x"); }, "999",
       ""},
      {"999 hidden",
       [](MemoryFileSystem& fs) {
         fs.AddFile(std::string(kBackups) + "\\999.BCK", "x", MemoryFileSystem::Listed::kHidden);
       },
       "999", ""},
      {"999 unlisted after 998",
       [](MemoryFileSystem& fs) {
         fs.AddFile(std::string(kBackups) + "\\998.BCK", "x");
         fs.AddFile(std::string(kBackups) + "\\999.BCK", "x", MemoryFileSystem::Listed::kUnlisted);
       },
       "999", ""},
      {"backup folder cannot be listed",
       [](MemoryFileSystem& fs) {
         fs.AddFolder(kBackups);
         fs.SetListingFailure(kBackups, "The specified network name is no longer available.");
       },
       kBackups, "The specified network name is no longer available."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFileSystem fresh;
    fresh.AddFolder(testing::kProgramFolder);
    c.fault(fresh);
    const std::size_t before = fresh.AllFiles().size();
    SetFileSystem(fresh);
    OsFamily = 6;
    const BackupResult result = WriteTuningBackup();
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.problem.find(c.mentions), std::string::npos) << result.problem;
    EXPECT_NE(result.problem.find(c.reason), std::string::npos) << result.problem;
    EXPECT_EQ(fresh.AllFiles().size(), before);
  }
  SetFileSystem(files);
}

}  // namespace
}  // namespace quelvar
