// The start-up options: what loading and saving read and write in the registry, and the
// Run entry that follows the executable.
#include "main/main_settings.h"

#include <gtest/gtest.h>

#include "registry/cregister.h"
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
  EXPECT_EQ(RunEntry(), "\"E:\\Moved\\Quelvar.exe\"");
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
  EXPECT_FALSE(saveSettings({1, 0}, exe));
  EXPECT_EQ(Stored("chkRunMainProgram"), "1");
  EXPECT_EQ(Stored("chkRunProgramMini"), "0");
  EXPECT_EQ(RunEntry(), "\"" + exe + "\"");

  EXPECT_FALSE(saveSettings({0, 1}, exe));
  EXPECT_EQ(Stored("chkRunMainProgram"), "0");
  EXPECT_EQ(Stored("chkRunProgramMini"), "1");
  EXPECT_FALSE(RunEntry());
  // Other programs' entries stay.
  registry.PutText(kHkeyCurrentUser, kRunKey, "Other", "x.exe");
  EXPECT_FALSE(saveSettings({0, 0}, exe)) << "removing an entry that is not there is no failure";
  EXPECT_EQ(registry.GetText(kHkeyCurrentUser, kRunKey, "Other"), "x.exe");
}

// The entry holds the quoted path; one that starts this program, in that form or bare as
// earlier versions wrote it, is ours: it ticks the box and is brought to the quoted form.
TEST_F(MainSettingsTest, LoadRecognisesItsRunEntryQuotedOrBare) {
  const std::string spaced = "C:\\Program Files\\Quelvar\\Quelvar.exe";
  const std::string quoted = "\"" + spaced + "\"";
  const struct {
    const char* stored;
    std::optional<std::string> entry;
    int ticked;
    std::optional<std::string> after;
  } cases[] = {
      {"1", std::nullopt, 1, quoted},
      {"1", spaced, 1, quoted},
      {"0", spaced, 1, quoted},
      {"0", " \"c:\\PROGRAM FILES\\quelvar\\Quelvar.EXE\" ", 1, quoted},
      {"0", quoted, 1, quoted},
      {"1", "\"D:\\Old\\Quelvar.exe\"", 1, quoted},
      {"0", spaced + ".old", 0, spaced + ".old"},
      {"0", "\"\"", 0, "\"\""},
      {"0", std::nullopt, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    CRegister().REGDeleteSetting(kHkeyCurrentUser, kRunKey, kRunValueName);
    if (c.entry) registry.PutText(kHkeyCurrentUser, kRunKey, kRunValueName, *c.entry);
    Store("chkRunMainProgram", c.stored);
    const std::string label = std::string(c.stored) + " " + c.entry.value_or("(none)");
    EXPECT_EQ(loadSettings(spaced).chkRunMainProgram, c.ticked) << label;
    EXPECT_EQ(RunEntry(), c.after) << label;
  }
}

TEST(RunEntryPathTest, FolderNameAndExe) {
  EXPECT_EQ(RunEntryPath("C:\\Tools", "Quelvar"), "C:\\Tools\\Quelvar.exe");
  EXPECT_EQ(RunEntryPath("C:", "Q"), "C:\\Q.exe");
}

}  // namespace
}  // namespace quelvar
