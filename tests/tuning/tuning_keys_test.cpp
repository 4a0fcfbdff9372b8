// A user who may not change the tuning keys is told so before anything is written: Optimize Now,
// advanced mode's Finish and the backup manager's restore each stop with the message their
// window shows, and leave no backup and no changed value behind. The 95 line guards no keys.
#include "tuning/tuning_keys.h"

#include <gtest/gtest.h>

#include <memory>

#include "backup_test_support.h"
#include "tuning/advanced_mode.h"
#include "tuning/apply_profile.h"
#include "tuning/backup_restore.h"
#include "tuning/backup_writer.h"
#include "tuning/change_preview.h"

namespace quelvar {
namespace {

const char* const kParams = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const char* const kServices = "SYSTEM\\CurrentControlSet\\Services";
const char* const kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";

enum class Action { kOptimize, kFinish, kRestore };

class TuningKeysTest : public testing::BackupApplyTest {
 protected:
  // A machine with one interface whose service has no TCP/IP key yet.
  void FreshMachine(int family) {
    m_log = std::make_unique<testing::LoggingRegistry>();
    m_disk = std::make_unique<MemoryFileSystem>();
    m_disk->AddFolder(testing::kProgramFolder);
    SetRegistryBackend(*m_log);
    SetFileSystem(*m_disk);
    m_log->store.PutDword(kHkeyLocalMachine, kParams, "DefaultTTL", 128);
    m_log->store.PutDword(kHkeyLocalMachine, std::string(kParams) + "\\Interfaces\\{A1}", "MTU",
                          1400);
    m_log->store.PutText(kHkeyLocalMachine, kMstcp, "DefaultTTL", "128");
    OsFamily = static_cast<std::int16_t>(family);
    LoadPreset(4);
    boxes.shown.clear();
  }

  std::unique_ptr<testing::LoggingRegistry> m_log;
  std::unique_ptr<MemoryFileSystem> m_disk;
};

TEST_F(TuningKeysTest, AUserWhoMayNotChangeTheKeysIsToldBeforeAnythingIsWritten) {
  const struct {
    const char* what;
    int family;
    Action action;
    RegKey hive;
    const char* denied;  // the key that may only be read
    const char* named;   // what the message names; nullptr: the 95 line, not stopped
  } cases[] = {
      {"Optimize Now", 7, Action::kOptimize, kHkeyLocalMachine, kParams, "Tcpip\\Parameters"},
      {"Finish", 5, Action::kFinish, kHkeyLocalMachine, kParams, "Tcpip\\Parameters"},
      {"restore", 6, Action::kRestore, kHkeyLocalMachine, kParams, "Tcpip\\Parameters"},
      {"a key still to be created under a guarded one", 6, Action::kOptimize, kHkeyLocalMachine,
       kServices, "SYSTEM\\CurrentControlSet\\Services\\{A1}\\Parameters\\Tcpip\n"},
      {"Optimize Now on the 95 line", 3, Action::kOptimize, kHkeyLocalMachine, kMstcp, nullptr},
      {"restore on the 95 line", 2, Action::kRestore, kHkeyLocalMachine, kMstcp, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FreshMachine(c.family);
    std::string backup, backupPath;
    if (c.action == Action::kRestore) {
      const BackupResult written = WriteTuningBackup();
      ASSERT_TRUE(written.written) << written.problem;
      backup = m_disk->Contents(written.path);
      backupPath = written.path;
    }
    m_log->store.DenyWrite(c.hive, c.denied);
    const std::size_t filesBefore = m_disk->AllFiles().size();

    std::string said;  // what the window shows
    switch (c.action) {
      case Action::kOptimize:
        EXPECT_EQ(ApplyTuningProfile(), c.named == nullptr);
        if (!boxes.shown.empty()) said = boxes.shown[0].text;
        break;
      case Action::kFinish: {
        AdvancedModeWizard wizard(g_TuningProfile, [] { return ApplyTuningProfile(); });
        wizard.Form_Load();
        for (int i = 0; i < 7; ++i) wizard.cmdNextPage_Click();
        EXPECT_EQ(wizard.cmdNextPage_Click(), NextResult::kNotApplied);
        EXPECT_EQ(wizard.CurrentPage(), 7);
        ASSERT_EQ(boxes.shown.size(), 1u);
        said = boxes.shown[0].text;
        break;
      }
      case Action::kRestore: {
        const RestoreResult result = RestoreBackupContents(backup, c.family);
        EXPECT_EQ(result.outcome, c.named ? RestoreOutcome::kAccessDenied
                                          : RestoreOutcome::kWritesFailed);
        // The preview, and the window before it asks whether to restore, say the same.
        const std::string expected = c.named ? result.message : "";
        const auto beforeAsking = RestoreFileKeysRefusal(backupPath, c.family);
        EXPECT_EQ(PreviewBackupRestore(backup, c.family).refusal, expected);
        EXPECT_EQ(beforeAsking ? beforeAsking->message : "", expected);
        said = result.message;
        break;
      }
    }
    if (c.named == nullptr) {
      EXPECT_FALSE(m_log->changes.empty());  // the writes ran and failed one by one
      continue;
    }
    EXPECT_NE(said.find(c.named), std::string::npos) << said;
    EXPECT_NE(said.find("administrator rights"), std::string::npos) << said;
    EXPECT_NE(said.find("No setting was changed."), std::string::npos) << said;
    EXPECT_TRUE(m_log->changes.empty()) << m_log->changes.front();
    EXPECT_EQ(m_disk->AllFiles().size(), filesBefore);  // no backup either
  }
  SetRegistryBackend(registry);
  SetFileSystem(files);
}

}  // namespace
}  // namespace quelvar
