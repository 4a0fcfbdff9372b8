// The previews against what the apply and the restore then really do, on both Windows lines:
// every row is a value the click changes, in order, with the value it leaves behind; showing a
// preview changes nothing; a refused file's preview says what the refusal says.
#include "tuning/change_preview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "backup_test_support.h"
#include "tuning/advanced_mode.h"
#include "tuning/apply_profile.h"
#include "tuning/backup_restore.h"

namespace quelvar {
namespace {

using testing::BackupApplyTest;
using testing::HiveTag;

class ChangePreviewTest : public BackupApplyTest {
 protected:
  // A fresh registry and program folder: two adapters on each line and a few values already
  // set, some to what a preset writes.
  void AddMachine() {
    m_registry = std::make_unique<testing::LoggingRegistry>();
    m_files = std::make_unique<MemoryFileSystem>();
    SetRegistryBackend(*m_registry);
    SetFileSystem(*m_files);
    m_files->AddFolder(testing::kProgramFolder);
    m_files->AddFolder(testing::kBackups);
    for (const char* adapter : {"{A1}", "{B2}"}) {
      store().CreatePath(kHkeyLocalMachine,
                         std::string("SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\") + adapter);
    }
    store().CreatePath(kHkeyLocalMachine, "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000");
    store().PutDword(kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", "DefaultTTL", 128);
    store().PutDword(kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", "SackOpts", 1);
    store().PutText(kHkeyLocalMachine, "System\\CurrentControlSet\\Services\\VxD\\MSTCP", "DefaultTTL", "64");
    store().PutText(kHkeyLocalMachine, "System\\CurrentControlSet\\Services\\VxD\\MSTCP", "GlobalMaxTcpWindowSize", "9000");
  }

  MemoryRegistry& store() { return m_registry->store; }
  testing::LoggingRegistry& log() { return *m_registry; }
  MemoryFileSystem& disk() { return *m_files; }

  // What the registry holds for a row's value after the click, as a preview would show it.
  std::string Held(const PreviewRow& row) {
    const auto value = store().Get(row.hive, row.key, row.name);
    if (!value) return kPreviewRemoved;
    if (auto number = store().GetDword(row.hive, row.key, row.name)) return std::to_string(*number);
    return store().GetText(row.hive, row.key, row.name).value_or("?");
  }

  static std::string Change(const PreviewRow& row) {
    return std::string(row.after == kPreviewRemoved ? "del " : "set ") + HiveTag(row.hive) + "\\" +
           row.key + "\\" + row.name;
  }

 private:
  std::unique_ptr<testing::LoggingRegistry> m_registry;
  std::unique_ptr<MemoryFileSystem> m_files;
};

TEST_F(ChangePreviewTest, ApplyPreviewIsWhatEveryPresetWritesOnBothLines) {
  for (int family : {2, 4, 5, 7}) {
    for (int preset = 0; preset < kPresetCount; ++preset) {
      SCOPED_TRACE("family " + std::to_string(family) + ", preset " + std::to_string(preset));
      AddMachine();
      OsFamily = static_cast<std::int16_t>(family);
      LoadPreset(preset);

      const std::vector<PreviewRow> rows = PreviewTuningApply(g_TuningProfile, family);
      EXPECT_TRUE(log().Untouched()) << "showing the preview changed the registry";
      ASSERT_FALSE(rows.empty());

      ASSERT_TRUE(ApplyTuningProfile());
      std::vector<std::string> expected;
      for (const PreviewRow& row : rows) {
        expected.push_back(Change(row));
        EXPECT_EQ(Held(row), row.after) << row.key << "\\" << row.name;
      }
      EXPECT_EQ(log().changes, expected);
      // Applied once more, every row is the same.
      for (const PreviewRow& row : PreviewTuningApply(g_TuningProfile, family)) {
        EXPECT_TRUE(row.same) << row.key << "\\" << row.name << " now " << row.now;
      }
    }
  }
}

// The advanced wizard's last page: the preview of the profile built from the boxes (halves
// taken to even) is what Finish then writes.
TEST_F(ChangePreviewTest, AdvancedFinishPreviewIsWhatFinishWritesOnBothLines) {
  for (int family : {2, 7}) {
    SCOPED_TRACE("family " + std::to_string(family));
    AddMachine();
    OsFamily = static_cast<std::int16_t>(family);
    LoadPreset(0);
    AdvancedModeWizard wizard(g_TuningProfile, [] { return ApplyTuningProfile(); });
    wizard.Form_Load();
    wizard.optConnType_Click(1);
    for (int i = 0; i < 7; ++i) wizard.cmdNextPage_Click();
    wizard.SetBoxText(ValueBox::MTU, "1400.5");
    wizard.SetBoxText(ValueBox::TTL, "99.5");
    wizard.SetBoxText(ValueBox::KeepAliveTime, "60000.5");
    wizard.chkICMPValue_Click(true);

    const FinishProfile built = wizard.ProfileFromBoxes();
    ASSERT_TRUE(built.refusal.empty()) << built.refusal;
    EXPECT_EQ(built.profile.MTU, 1400);
    EXPECT_EQ(built.profile.TTL, 100);
    const std::vector<PreviewRow> rows = PreviewTuningApply(built.profile, family);
    EXPECT_TRUE(log().Untouched()) << "showing the preview changed the registry";
    ASSERT_FALSE(rows.empty());

    ASSERT_EQ(wizard.cmdNextPage_Click(), NextResult::kApplied);
    std::vector<std::string> expected;
    for (const PreviewRow& row : rows) {
      expected.push_back(Change(row));
      EXPECT_EQ(Held(row), row.after) << row.key << "\\" << row.name;
    }
    EXPECT_EQ(log().changes, expected);
  }
}

TEST_F(ChangePreviewTest, RestorePreviewIsWhatTheRestoreWritesAndRefusesAlike) {
  for (int family : {2, 7}) {
    SCOPED_TRACE("family " + std::to_string(family));
    AddMachine();
    OsFamily = static_cast<std::int16_t>(family);
    LoadPreset(4);
    ApplyOutcome first = ApplyTuningProfileWithOutcome();
    ASSERT_TRUE(first.ran);
    const std::string backup = disk().Contents(first.backupPath);

    log().changes.clear();
    log().createCalls = 0;
    const RestorePreview preview = PreviewBackupRestore(backup, family);
    EXPECT_TRUE(log().Untouched());
    ASSERT_TRUE(preview.refusal.empty()) << preview.refusal;
    ASSERT_FALSE(preview.rows.empty());
    // The apply changed some of what the backup recorded.
    EXPECT_TRUE(std::any_of(preview.rows.begin(), preview.rows.end(),
                            [](const PreviewRow& row) { return !row.same; }));

    const RestoreResult restored = RestoreBackupContents(backup, family);
    ASSERT_EQ(restored.outcome, RestoreOutcome::kRestored);
    ASSERT_EQ(restored.written, preview.rows.size());
    for (const PreviewRow& row : preview.rows) EXPECT_EQ(Held(row), row.after) << row.name;

    const int other = family == 2 ? 7 : 2;
    std::string damaged = backup;
    const std::string missing = "\r\n\"-\"\r\n";
    damaged.replace(damaged.find(missing), missing.size(), "\r\nx\r\n");
    for (const auto& [contents, running] : {std::pair{backup, other}, std::pair{damaged, family}}) {
      const RestorePreview refused = PreviewBackupRestore(contents, running);
      EXPECT_TRUE(refused.rows.empty());
      EXPECT_EQ(refused.refusal, RestoreBackupContents(contents, running).message);
      EXPECT_FALSE(refused.refusal.empty());
    }
  }
}

TEST(ChangePreview, KeysAndNamesAreShownShort) {
  EXPECT_EQ(ShortKeyName(kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters"),
            "HKLM\\...\\Tcpip\\Parameters");
  EXPECT_EQ(ShortKeyName(kHkeyCurrentUser, "Software\\Quelvar"), "HKCU\\Software\\Quelvar");
  EXPECT_EQ(ShortKeyName(kHkeyCurrentUser, "Top"), "HKCU\\Top");
  EXPECT_EQ(PreviewValueName(""), "(Default)");
  EXPECT_EQ(PreviewValueName("MTU"), "MTU");
}

}  // namespace
}  // namespace quelvar
