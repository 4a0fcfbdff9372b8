// The start-up options: what loading and saving read and write in the registry, and the
// Run entry that follows the executable.
#include "main/main_settings.h"

#include <gtest/gtest.h>

#include "registry/memory_registry.h"
#include "registry/settings.h"

namespace quelvar {
namespace {

class MainSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetRegistryBackend(registry); }

  std::optional<std::string> RunEntry() const {
    return registry.GetText(kHkeyCurrentUser, kRunKey, kRunValueName);
  }
  std::optional<std::string> Stored(const char* name) const {
    return registry.GetText(kHkeyLocalMachine, SettingsKey(kMainSettingsSection), name);
  }
  void Store(const char* name, const char* text) {
    registry.PutText(kHkeyLocalMachine, SettingsKey(kMainSettingsSection), name, text);
  }

  MemoryRegistry registry;
  const std::string exe = "C:\\Tools\\Quelvar.exe";
};

TEST_F(MainSettingsTest, FirstStartLeavesBothClearAndWritesNothing) {
  EXPECT_EQ(loadSettings(exe), (MainSettingsValues{0, 0}));
  EXPECT_FALSE(RunEntry());
  EXPECT_FALSE(Stored("chkRunMainProgram"));
  EXPECT_FALSE(registry.KeyExists(kHkeyCurrentUser, kRunKey));
}

TEST_F(MainSettingsTest, LoadRewritesTheRunEntryWithTheCurrentPath) {
  Store("chkRunMainProgram", "1");
  registry.PutText(kHkeyCurrentUser, kRunKey, kRunValueName, "D:\\Old\\Quelvar.exe");
  EXPECT_EQ(loadSettings("E:\\Moved\\Quelvar.exe"), (MainSettingsValues{1, 0}));
  EXPECT_EQ(RunEntry(), "E:\\Moved\\Quelvar.exe");
  EXPECT_EQ(registry.Get(kHkeyCurrentUser, kRunKey, kRunValueName)->type, kRegSz);
}

TEST_F(MainSettingsTest, LoadLeavesAnEntryAloneWhenNotStartingWithWindows) {
  Store("chkRunMainProgram", "0");
  Store("chkRunProgramMini", "1");
  registry.PutText(kHkeyCurrentUser, kRunKey, kRunValueName, "D:\\Else\\Other.exe");
  EXPECT_EQ(loadSettings(exe), (MainSettingsValues{0, 1}));
  EXPECT_EQ(RunEntry(), "D:\\Else\\Other.exe");
}

TEST_F(MainSettingsTest, StoredTextOtherThanZeroOrOne) {
  const struct {
    const char* stored;
    int value;
  } cases[] = {{"1", 1}, {"0", 0}, {"2", 1}, {"-1", 1}, {" 1 ", 1}, {"yes", 0}, {"", 0}};
  for (const auto& c : cases) {
    Store("chkRunProgramMini", c.stored);
    EXPECT_EQ(loadSettings(exe).chkRunProgramMini, c.value) << '"' << c.stored << '"';
  }
}

TEST_F(MainSettingsTest, SaveWritesBothValuesAndTheRunEntry) {
  saveSettings({1, 0}, exe);
  EXPECT_EQ(Stored("chkRunMainProgram"), "1");
  EXPECT_EQ(Stored("chkRunProgramMini"), "0");
  EXPECT_EQ(RunEntry(), exe);

  saveSettings({0, 1}, exe);
  EXPECT_EQ(Stored("chkRunMainProgram"), "0");
  EXPECT_EQ(Stored("chkRunProgramMini"), "1");
  EXPECT_FALSE(RunEntry());
  // Other programs' entries stay.
  registry.PutText(kHkeyCurrentUser, kRunKey, "Other", "x.exe");
  saveSettings({0, 0}, exe);
  EXPECT_EQ(registry.GetText(kHkeyCurrentUser, kRunKey, "Other"), "x.exe");
}

TEST(RunEntryPathTest, FolderNameAndExe) {
  EXPECT_EQ(RunEntryPath("C:\\Tools", "Quelvar"), "C:\\Tools\\Quelvar.exe");
  EXPECT_EQ(RunEntryPath("C:", "Q"), "C:\\Q.exe");
}

}  // namespace
}  // namespace quelvar
