// The settings table, its look-ups, and the text forms of the settings windows' controls;
// plus CRegister's section trimming.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "registry/cregister.h"
#include "registry/settings.h"

namespace quelvar {
namespace {

TEST(Settings, SectionKeysHangBelowTheProgramsRoot) {
  EXPECT_EQ(SettingsKey(kMainSettingsSection), "SOFTWARE\\Brannoc\\Quelvar\\Settings\\MainSettings");
  EXPECT_EQ(SettingsKey(kRamSettingsSection), "SOFTWARE\\Brannoc\\Quelvar\\Settings\\RamSettings");
  EXPECT_EQ(SettingsKey(kNetPingerSection), "SOFTWARE\\Brannoc\\Quelvar\\Settings\\NetPinger");
}

TEST(Settings, EveryValueIsListedOnceWithTheKindOfItsControl) {
  std::set<std::string> seen;
  for (const SettingDefinition& setting : kAllSettings) {
    EXPECT_TRUE(seen.insert(std::string(setting.section) + "\\" + setting.name).second) << setting.name;
    const std::string prefix = std::string(setting.name).substr(0, 3);
    EXPECT_TRUE(prefix == "chk" || prefix == "opt" || prefix == "txt" || prefix == "cmb") << setting.name;
    EXPECT_EQ(FindSetting(setting.section, setting.name), &setting);
  }
  EXPECT_EQ(seen.size(), 18u);
  EXPECT_EQ(SectionSettings(kMainSettingsSection).size(), 2u);
  EXPECT_EQ(SectionSettings(kRamSettingsSection).size(), 10u);
  EXPECT_EQ(SectionSettings(kNetPingerSection).size(), 6u);
}

TEST(Settings, LookUpIgnoresLetterCaseAndKnowsWhatIsMissing) {
  const SettingDefinition* alarm = FindSetting("ramsettings", "TXTALARM");
  ASSERT_NE(alarm, nullptr);
  EXPECT_STREQ(alarm->defaultValue, "250");
  EXPECT_EQ(FindSetting(kNetPingerSection, "txtAlarm"), nullptr);
  EXPECT_EQ(FindSetting("Nowhere", "chkSound"), nullptr);
  EXPECT_THROW(ReadSetting("Nowhere", "chkSound"), std::invalid_argument);
  EXPECT_FALSE(std::string(kTxtPingHost.defaultValue).empty());
}

TEST(Settings, ControlsHaveTheirTextForms) {
  EXPECT_EQ(CheckBoxText(0), "0");
  EXPECT_EQ(CheckBoxText(1), "1");
  EXPECT_EQ(OptionText(true), "True");
  EXPECT_EQ(OptionText(false), "False");
  EXPECT_EQ(ComboText(5), "5");
  EXPECT_EQ(TextBoxText(" a\\b "), " a\\b ");
  EXPECT_EQ(CheckBoxState(RegValue("1")), 1);
  EXPECT_EQ(ComboIndex(RegValue("3")), 3);
  EXPECT_TRUE(OptionValue(RegValue("tRUE")));
  EXPECT_FALSE(OptionValue(RegValue("False")));
  EXPECT_TRUE(OptionValue(RegValue("-1")));
  EXPECT_THROW(CheckBoxState(RegValue("ticked")), ConversionError);
  EXPECT_THROW(ComboIndex(RegValue("99999")), ConversionError);
}

TEST(CRegister, TrimSectionPathTakesAtMostOneBackslashFromEachEnd) {
  const struct {
    const char* path;
    const char* trimmed;
  } cases[] = {{"\\A\\B\\", "A\\B"}, {"A\\B", "A\\B"},     {"\\\\A", "\\A"},  {"A\\\\", "A\\"},
               {"", ""},             {"\\", ""},           {"\\\\", ""},      {"\\\\\\", "\\"}};
  for (const auto& c : cases) EXPECT_EQ(CRegister::TrimSectionPath(c.path), c.trimmed) << c.path;
}

}  // namespace
}  // namespace quelvar
