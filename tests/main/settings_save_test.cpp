// Each settings window's Save against a registry that refuses the write: the failure comes
// back naming the value in the user's words, nothing stored changes, and the edits stay
// unsaved with the running behaviour as it was.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "main/main_settings.h"
#include "memory/ram_configuration.h"
#include "pinger/pinger_settings.h"
#include "registry/memory_registry.h"
#include "registry/settings.h"

namespace quelvar {
namespace {

enum class Form { Ram, Pinger, Startup };

// Every stored setting and the Run entry.
std::vector<std::optional<std::string>> Snapshot(const MemoryRegistry& registry) {
  std::vector<std::optional<std::string>> values;
  for (const SettingDefinition& setting : kAllSettings) {
    values.push_back(registry.GetText(kHkeyLocalMachine, SettingsKey(setting.section), setting.name));
  }
  values.push_back(registry.GetText(kHkeyCurrentUser, kRunKey, kRunValueName));
  return values;
}

TEST(SettingsSaveTest, ARefusedSaveIsReportedAndKeepsTheEdits) {
  const struct {
    Form form;
    RegKey deniedHive;
    std::string deniedKey;
    const char* caption;  // of the first value written there
  } cases[] = {
      {Form::Ram, kHkeyLocalMachine, SettingsKey(kRamSettingsSection), "Sound on"},
      {Form::Pinger, kHkeyLocalMachine, SettingsKey(kNetPingerSection), "Enable Pinger"},
      {Form::Startup, kHkeyLocalMachine, SettingsKey(kMainSettingsSection),
       "Run Main Program when windows start up"},
      {Form::Startup, kHkeyCurrentUser, kRunKey, "Run Main Program when windows start up"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.deniedKey);
    MemoryRegistry registry;
    SetRegistryBackend(registry);
    for (const SettingDefinition& setting : kAllSettings) {
      registry.PutText(kHkeyLocalMachine, SettingsKey(setting.section), setting.name,
                       setting.defaultValue);
    }
    RamConfiguration ram;
    PingerSettingsModel pinger;
    ram.LoadSettings();
    pinger.loadSettings();
    ram.chkSoundon_Click(1);
    ram.SetText(RamBox::txtAlarm, "300");
    pinger.chkDoPinging_Click(1);
    registry.DenyWrite(c.deniedHive, c.deniedKey);
    const auto before = Snapshot(registry);

    std::optional<StoreFailure> failure;
    switch (c.form) {
      case Form::Ram:
        failure = ram.cmdSave_Click();
        EXPECT_TRUE(ram.Changed()) << "Save stays enabled";
        EXPECT_EQ(ram.chkSoundon(), 1);
        EXPECT_EQ(ram.Text(RamBox::txtAlarm), "300");
        EXPECT_EQ(ram.AlarmLevelMB(), 250) << "the alarm keeps the stored level";
        break;
      case Form::Pinger:
        failure = pinger.cmdSave_Click();
        EXPECT_TRUE(pinger.settingsChanged()) << "Save stays enabled";
        EXPECT_EQ(pinger.controls().chkDoPinging, 1);
        EXPECT_FALSE(pinger.timerEnabled()) << "the schedule stays as stored";
        break;
      case Form::Startup:
        failure = saveSettings({1, 1}, "C:\\Tools\\Quelvar.exe");
        break;
    }
    EXPECT_EQ(Snapshot(registry), before) << "nothing stored changes";
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->hive, c.deniedHive);
    EXPECT_EQ(failure->key, c.deniedKey);
    EXPECT_EQ(failure->caption, c.caption);
    EXPECT_EQ(failure->status, kRegAccessDenied);
    const std::string message = StoreFailureMessage(*failure);
    EXPECT_NE(message.find('"' + std::string(c.caption) + '"'), std::string::npos) << message;
    EXPECT_EQ(message.find("administrator rights") != std::string::npos,
              c.deniedHive == kHkeyLocalMachine)
        << message;
    EXPECT_NE(message.find("have not been saved"), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace quelvar
