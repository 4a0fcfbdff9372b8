// The command line: how it is split into arguments, and one table of commands -> exit code,
// registry and log text. Every mode on both Windows lines leaves the registry and the backup
// exactly as a click on that mode and "Optimize Now" would.
#include "main/command_line.h"

#include <gtest/gtest.h>

#include "quelvar_version.h"
#include "tuning/backup_test_support.h"
#include "tuning/apply_profile.h"

namespace quelvar {
namespace {

using testing::BackupApplyTest;

TEST(CommandLineSplit, QuotesAndBackslashesAsTheRuntimeReadsThem) {
  struct Row {
    const char* line;
    std::vector<std::string> arguments;
  };
  const Row rows[] = {
      {"", {}},
      {"  /apply   \"Windows default\"  ", {"/apply", "Windows default"}},
      {"/restore C:\\Tools\\Backups\\001.BCK", {"/restore", "C:\\Tools\\Backups\\001.BCK"}},
      {"/log \"C:\\Program Files\\q.log\"", {"/log", "C:\\Program Files\\q.log"}},
      {"\"C:\\dir with space\\\\\" next", {"C:\\dir with space\\", "next"}},
      {"a\\\"b \"c\"\"d\" e\\\\\\\"f", {"a\"b", "c\"d", "e\\\"f"}},
      {"\"\" x", {"", "x"}},
  };
  for (const Row& row : rows) EXPECT_EQ(SplitCommandLine(row.line), row.arguments) << row.line;
}

class CommandLineTest : public BackupApplyTest {
 protected:
  static constexpr const char* kTcp = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";
  static constexpr const char* kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";

  // One interface or adapter and a TTL of 77 on the line of `family`.
  static void Machine(MemoryRegistry& store, int family) {
    if (IsNtLine(family)) {
      store.CreatePath(kHkeyLocalMachine, std::string(kTcp) + "\\Interfaces\\{A1}");
      store.PutDword(kHkeyLocalMachine, kTcp, "DefaultTTL", 77);
    } else {
      store.CreatePath(kHkeyLocalMachine, "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000");
      store.PutText(kHkeyLocalMachine, kMstcp, "DefaultTTL", "77");
    }
  }

  static std::string TtlIn(const MemoryRegistry& store) {
    if (auto number = store.GetDword(kHkeyLocalMachine, kTcp, "DefaultTTL")) {
      return std::to_string(*number);
    }
    return store.GetText(kHkeyLocalMachine, kMstcp, "DefaultTTL").value_or("(none)");
  }

  CommandReport Run(const std::string& line) {
    return RunCommand(ParseCommandLine(SplitCommandLine(line)), line, "PC-7");
  }
};

// Every key and value below both hives, as text.
std::string Dump(const MemoryRegistry& store, RegKey hive, const std::string& path = "") {
  std::string text;
  for (const std::string& name : store.ValueNames(hive, path)) {
    const auto value = store.Get(hive, path, name);
    text += path + "\\" + name + "=" + std::to_string(value->type) + ":" +
            std::string(value->data.begin(), value->data.end()) + "\n";
  }
  for (const std::string& subkey : store.SubkeyNames(hive, path)) {
    text += Dump(store, hive, path.empty() ? subkey : path + "\\" + subkey);
  }
  return text;
}

TEST_F(CommandLineTest, EveryModeAppliesAsTheWizardDoesOnBothLines) {
  for (int family : {3, 7}) {
    for (int mode = 0; mode < kPresetCount; ++mode) {
      SCOPED_TRACE(std::string(kPresetCaptions[mode]) + " on " + std::to_string(family));
      OsFamily = static_cast<std::int16_t>(family);
      MemoryRegistry wizardStore, commandStore;
      MemoryFileSystem wizardFiles, commandFiles;
      const auto use = [family](MemoryRegistry& store, MemoryFileSystem& disk) {
        disk.AddFolder(testing::kProgramFolder);
        Machine(store, family);
        SetRegistryBackend(store);
        SetFileSystem(disk);
      };
      // The wizard's road: the mode clicked, then "Optimize Now".
      use(wizardStore, wizardFiles);
      LoadPreset(mode);
      ASSERT_TRUE(ApplyTuningProfile());
      use(commandStore, commandFiles);
      LoadPreset(0);
      const CommandReport report =
          Run(std::string("/APPLY \"") + kPresetCaptions[mode] + "\"");
      EXPECT_EQ(report.exitCode, 0) << report.log;
      for (RegKey hive : {kHkeyLocalMachine, kHkeyCurrentUser}) {
        EXPECT_EQ(Dump(commandStore, hive), Dump(wizardStore, hive));
      }
      EXPECT_EQ(commandFiles.Contents(std::string(testing::kBackups) + "\\001.BCK"),
                wizardFiles.Contents(std::string(testing::kBackups) + "\\001.BCK"));
      EXPECT_NE(report.log.find("saved in C:\\Tools\\Quelvar\\Backups\\001.BCK"), std::string::npos);
      EXPECT_EQ(report.boxText, "");
    }
  }
}

TEST_F(CommandLineTest, ArgumentsToExitCodeRegistryAndLog) {
  enum Fault { kNone, kBackupsLocked, kTcpLocked };
  struct Row {
    const char* line;
    int exit;
    const char* ttl;  // DefaultTTL afterwards (77 before)
    const char* log;  // a part of the log
    bool box = false;  // the balloon box has something to show
    Fault fault = kNone;
  };
  const Row rows[] = {
      {"/apply \"automatic-d\" /log C:\\Tools\\q.log", 0, "64", "  PC-7  Quelvar " QUELVAR_VERSION ": /apply \"automatic-d\" /log C:\\Tools\\q.log\r\n  Applying the mode \"Automatic-D\" on Windows XP."},
      {"/apply \"Automatic-Z\"", 3, "77", "There is no mode named \"Automatic-Z\". The modes are \"Automatic-A\","},
      {"/apply \"Automatic-A\"", 4, "77", "could not save the backup file", false, kBackupsLocked},
      {"/apply \"Automatic-A\"", 10, "77", "may read, but not change", false, kTcpLocked},
      {"/restore 001.BCK", 0, "99", "values written back.\r\n  Done (exit code 0)."},
      {"/restore C:\\Tools\\Quelvar\\Backups\\009.BCK", 8, "77", "could not be read"},
      {"/restore 002.BCK", 6, "77", "damaged or was changed by hand"},
      {"/restore 003.BCK", 7, "77", "taken from another operating system!!"},
      {"/restore 001.BCK", 10, "77", "may read, but not change", false, kTcpLocked},
      {"/export \"Windows default\" C:\\Tools\\wd.reg", 0, "77", "to C:\\Tools\\wd.reg.\r\n  Done"},
      {"/export \"Automatic-Z\" C:\\Tools\\z.reg", 3, "77", "no mode named"},
      {"/export 001.bck C:\\Tools\\undo.reg", 0, "77", "restoring C:\\Tools\\Quelvar\\Backups\\001.bck writes"},
      {"/export 003.BCK C:\\Tools\\undo.reg", 7, "77", "another operating system"},
      {"/export 002.BCK C:\\Tools\\undo.reg", 6, "77", "changed by hand"},
      {"/export 009.BCK C:\\Tools\\undo.reg", 8, "77", "could not be read"},
      {"/export \"Windows default\" C:\\Missing\\wd.reg", 9, "77", "could not be written"},
      {"/apply \"Automatic-A\" /log C:\\Tools\\Locked\\q.log", 9, "77", "The log C:\\Tools\\Locked\\q.log could not be written", true},
      {"/apply", 2, "77", "/apply needs the name of a mode", true},
      {"/apply \"Automatic-A\" /restore 001.BCK", 2, "77", "Give one command at a time", true},
      {"-Frobnicate", 2, "77", "\"-Frobnicate\" is not a switch Quelvar knows.", true},
      {"/export \"Automatic-A\"", 2, "77", "needs a mode and a file", true},
      {"Automatic-A", 2, "77", "does not belong to any switch", true},
      {"/?", 0, "77", "Done (exit code 0)", true},
  };
  const std::string backups = std::string(testing::kBackups) + "\\";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    // A machine with a TTL of 99, applied once (001.BCK holds 99), then set to 77; beside it
    // 002.BCK changed by hand and 003.BCK of Windows 2000.
    OsFamily = 7;
    testing::LoggingRegistry fresh;
    MemoryFileSystem disk;
    SetRegistryBackend(fresh);
    SetFileSystem(disk);
    disk.AddFolder(testing::kProgramFolder);
    disk.AddFolder("C:\\Tools\\Locked");
    disk.SetReadOnly("C:\\Tools\\Locked", true);
    Machine(fresh.store, 7);
    fresh.store.PutDword(kHkeyLocalMachine, kTcp, "DefaultTTL", 99);
    ASSERT_EQ(Run("/apply \"Automatic-A\"").exitCode, 0);
    const std::string first = disk.Contents(backups + "001.BCK");
    std::string tampered = first;
    tampered.replace(tampered.find("\"DefaultTTL\""), 12, "\"Other\"");
    disk.AddFile(backups + "002.BCK", tampered);
    std::string other = first;
    other.replace(other.find("\r\n7\r\n"), 5, "\r\n6\r\n");
    disk.AddFile(backups + "003.BCK", other);
    fresh.store.PutDword(kHkeyLocalMachine, kTcp, "DefaultTTL", 77);
    if (row.fault == kBackupsLocked) disk.SetReadOnly(testing::kBackups, true);
    if (row.fault == kTcpLocked) fresh.store.DenyWrite(kHkeyLocalMachine, kTcp);
    fresh.changes.clear();

    const CommandReport report = Run(row.line);
    EXPECT_EQ(report.exitCode, row.exit) << report.log;
    EXPECT_NE(report.log.find(row.log), std::string::npos) << report.log;
    EXPECT_EQ(!report.boxText.empty(), row.box) << report.boxText;
    EXPECT_EQ(TtlIn(fresh.store), row.ttl);
    // Whatever is refused changes nothing.
    if (row.exit != 0 && row.exit != 5) { EXPECT_EQ(fresh.changes, std::vector<std::string>{}); }
    const ParsedCommand parsed = ParseCommandLine(SplitCommandLine(row.line));
    if (parsed.action == CommandAction::kExport) {
      EXPECT_EQ(disk.Contents(parsed.file).substr(0, 12), row.exit == 0 ? "REGEDIT4\r\n\r\n" : "");
    }
    if (row.exit != 9 && !parsed.logPath.empty()) { EXPECT_EQ(disk.Contents(parsed.logPath), report.log); }
  }
}

}  // namespace
}  // namespace quelvar
