// The .reg text: each value's line (escaping, DWORD and string forms, removals, the default
// value), the file's shape (header, one section per key, the last step for a value standing),
// and exports that refuse exactly where the restore refuses. That regedit imports these files
// to the same registry as the apply and the restore is shown under Wine (tests/deploy).
#include "tuning/reg_export.h"

#include <gtest/gtest.h>

#include "backup_test_support.h"
#include "quelvar_version.h"
#include "tuning/backup_restore.h"
#include "tuning/backup_writer.h"

namespace quelvar {
namespace {

using testing::BackupApplyTest;

// An apply's step as the registry would hold it.
RegFileValue Step(const char* name, std::int32_t type, std::int32_t value, bool remove = false,
                  const char* key = "Software\\Test") {
  return StoredBy({kHkeyLocalMachine, key, name, type, value, remove});
}

// A value of any type, as a backup may hold one.
RegFileValue Typed(std::uint32_t type, std::vector<std::uint8_t> data) {
  return {kHkeyLocalMachine, "Software\\Test", "V", false, type, std::move(data)};
}

TEST(RegExportText, EachValueLine) {
  struct Row {
    RegFileValue step;
    const char* line;
  };
  std::vector<std::uint8_t> long32(32, 0xab);
  const Row rows[] = {
      {Step("DefaultTTL", 4, 128), "\"DefaultTTL\"=dword:00000080"},
      {Step("DefaultTTL", 1, 128), "\"DefaultTTL\"=\"128\""},
      {Step("KeepAliveTime", 4, 7200000), "\"KeepAliveTime\"=dword:006ddd00"},
      {Step("Minus", 4, -1), "\"Minus\"=dword:ffffffff"},
      {Step("Minus", 1, -1), "\"Minus\"=\"-1\""},
      {Step("", 1, 0), "@=\"0\""},
      {Step("", 4, 0), "@=dword:00000000"},
      {Step("TcpWindowSize", 4, 0, true), "\"TcpWindowSize\"=-"},
      {Step("", 1, 0, true), "@=-"},
      {Step("back\\slash", 1, 5), "\"back\\\\slash\"=\"5\""},
      {Step("say \"hi\"", 4, 1), "\"say \\\"hi\\\"\"=dword:00000001"},
      // Values of other types and forms, as typed backups hold them.
      {Typed(4, {0xff, 0xff, 0xff, 0xff}), "\"V\"=dword:ffffffff"},
      {Typed(4, {1, 2, 3}), "\"V\"=hex(4):01,02,03"},
      {Typed(3, {0x00, 0x10}), "\"V\"=hex:00,10"},
      {Typed(2, {'%', 'a', 0}), "\"V\"=hex(2):25,61,00"},
      {Typed(1, {'a', 0, 0}), "\"V\"=\"a\""},
      {Typed(1, {'a', '\n', 'b', 0}), "\"V\"=hex(1):61,0a,62,00"},
      {Typed(3, long32),
       "\"V\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,\\\r\n"
       "  ab,ab,ab,ab,ab,ab,ab,ab,ab"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(RegValueLine(row.step), row.line) << row.step.name;
  }
  EXPECT_EQ(RegQuoted("C:\\a \"b\""), "\"C:\\\\a \\\"b\\\"\"");
}

TEST(RegExportText, FileHasHeaderOneSectionPerKeyAndTheLastStepStanding) {
  const RegFileHeader header{"applying the mode \"Automatic-C\"", 7, {2003, 5, 7, 9, 5, 3},
                             {"A note."}};
  const std::vector<RegFileValue> steps = {
      Step("SackOpts", 4, 1, false, "System\\CurrentControlSet\\Services\\Tcpip\\Parameters"),
      Step("Tab", 4, 2, false, "SYSTEM\\CurrentControlSet\\Services\\Other"),
      // The same key in other letter case joins its section; the same value again replaces it.
      Step("DefaultTTL", 4, 64, false, "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters"),
      Step("sackopts", 4, 0, true, "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters"),
      StoredBy({kHkeyCurrentUser, "Software\\Test", "MaxConnectionsPerServer", 4, 4, false}),
  };
  std::string problem;
  const auto text = RegFileText(header, steps, &problem);
  ASSERT_TRUE(text) << problem;
  EXPECT_EQ(*text,
            "REGEDIT4\r\n"
            "\r\n"
            "; Quelvar " QUELVAR_VERSION ": what applying the mode \"Automatic-C\" writes\r\n"
            "; for Windows XP (the line of Windows NT 4, 2000 and XP).\r\n"
            "; Made on 2003-05-07 at 09:05:03. Import it with: regedit /s <this file>\r\n"
            "; A line ending in =- removes that value: the regedit of Windows 2000 and XP removes\r\n"
            "; it, the regedit of Windows 95, 98, ME and NT 4 skips the line.\r\n"
            "; A note.\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters]\r\n"
            "\"sackopts\"=-\r\n"
            "\"DefaultTTL\"=dword:00000040\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Other]\r\n"
            "\"Tab\"=dword:00000002\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Test]\r\n"
            "\"MaxConnectionsPerServer\"=dword:00000004\r\n"
            "\r\n");

  // A line break cannot be carried by a .reg file: no text, and the reason.
  EXPECT_FALSE(RegFileText(header, {Step("two\nlines", 1, 1)}, &problem));
  EXPECT_NE(problem.find("two\nlines"), std::string::npos);
}

class RegExportTest : public BackupApplyTest {};

TEST_F(RegExportTest, ModeExportOnTheNineFiveLineIsTextAndNamesItsWindows) {
  store().CreatePath(kHkeyLocalMachine, "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000");
  LoadPreset(1);  // "Automatic-B": the receive window removed, MTU written
  const RegExport exported = ExportTuningApply(g_TuningProfile, "applying the mode \"Automatic-B\"", 3);
  ASSERT_EQ(exported.problem, "");
  for (const char* part :
       {"for Windows 98 (the line of Windows 95, 98 and ME).",
        "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\MSTCP]\r\n"
        "\"SackOpts\"=\"1\"\r\n\"Tcp1323Opts\"=\"1\"\r\n\"DefaultTTL\"=\"128\"\r\n"
        "\"DefaultRcvWindow\"=-\r\n\"GlobalMaxTcpWindowSize\"=-\r\n",
        "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000]\r\n"
        "\"MaxMTU\"=\"576\"\r\n\"MaxMSS\"=\"536\"\r\n",
        "; The adapter keys below are those of the machine it was made on.",
        "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize]\r\n@=\"0\""}) {
    EXPECT_NE(exported.text.find(part), std::string::npos) << part;
  }
  EXPECT_TRUE(registry.Untouched()) << "an export changed the registry";
}

TEST_F(RegExportTest, BackupExportWritesWhatTheRestoreWritesAndRefusesWhereItRefuses) {
  OsFamily = 7;
  store().PutDword(kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters",
                   "DefaultTTL", 77);
  const BackupResult backup = WriteTuningBackup();
  ASSERT_TRUE(backup.written);
  registry.changes.clear();
  registry.createCalls = 0;

  const RegExport exported = ExportBackupRestore(backup.path, 7);
  ASSERT_EQ(exported.problem, "");
  EXPECT_NE(exported.text.find("what restoring the backup 001.BCK (taken on 2003-05-07 at "
                               "09:05:03) writes"),
            std::string::npos);
  EXPECT_NE(exported.text.find("\"DefaultTTL\"=dword:0000004d"), std::string::npos);
  EXPECT_NE(exported.text.find("\"GlobalMaxTcpWindowSize\"=-"), std::string::npos)
      << "a value the backup found missing is removed again";
  EXPECT_TRUE(registry.Untouched());

  // Refused as the restore refuses: another Windows version, a damaged file, a missing file.
  EXPECT_EQ(ExportBackupRestore(backup.path, 6).problem, kOtherOperatingSystemMessage);
  std::string damaged = Backup("001.BCK");
  damaged.replace(damaged.find("\"DefaultTTL\""), 12, "\"Other\"");
  files.AddFile(std::string(testing::kBackups) + "\\002.BCK", damaged);
  EXPECT_NE(ExportBackupRestore(std::string(testing::kBackups) + "\\002.BCK", 7)
                .problem.find("damaged or was changed by hand"),
            std::string::npos);
  EXPECT_NE(ExportBackupRestore(std::string(testing::kBackups) + "\\009.BCK", 7)
                .problem.find("could not be read"),
            std::string::npos);
}

}  // namespace
}  // namespace quelvar
