// The skin file and the skin object each kind of control gets.
#include "base/skin_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quelvar {
namespace {

TEST(SkinFile, ShippedSkinDefinesEveryObject) {
  const std::string here = __FILE__;
  std::ifstream file(here.substr(0, here.rfind("tests")) + "res/data/RQLVMask.skn");
  std::ostringstream text;
  text << file.rdbuf();
  const SkinParseResult parsed = ParseSkin(text.str());
  ASSERT_TRUE(parsed.objects) << parsed.error;
  for (const char* name : {"Main", "NoFrame", "controlForm", "Button", "Label", "Frame",
                           "CheckBox", "RadioBox"}) {
    EXPECT_TRUE(parsed.objects->contains(name)) << name;
  }
  EXPECT_EQ(parsed.objects->at("Frame").frame, SkinFrameStyle::Line);
  EXPECT_TRUE(parsed.objects->at("Frame").fontBold);
  EXPECT_EQ(parsed.objects->at("NoFrame").frame, SkinFrameStyle::None);
}

TEST(SkinFile, SettingsOverrideOnlyWhatTheyName) {
  const SkinParseResult parsed = ParseSkin(
      "QUELVAR-SKIN 1\n[Button]\ntext = #102030\nfont = Tahoma, 10, bold\n[Custom]\nframe = group\n");
  ASSERT_TRUE(parsed.objects) << parsed.error;
  const SkinObject& button = parsed.objects->at("Button");
  EXPECT_EQ(button.text, SkinRgb(0x10, 0x20, 0x30));
  EXPECT_EQ(button.back, BuiltInSkin().at("Button").back);
  EXPECT_EQ(button.fontFace, "Tahoma");
  EXPECT_EQ(button.fontPoints, 10);
  EXPECT_EQ(parsed.objects->at("Custom").frame, SkinFrameStyle::Group);
  EXPECT_EQ(parsed.objects->at("Main"), BuiltInSkin().at("Main"));
}

TEST(SkinFile, DamagedFilesAreRejected) {
  const std::string header = "QUELVAR-SKIN 1\n";
  const struct {
    std::string text;
    const char* error;
  } cases[] = {
      {"", "line 0: the file is empty"},
      {"[Main]\n", "line 1: not a skin file"},
      {header + "back = #FFFFFF\n", "line 2: a setting outside"},
      {header + "[Main\n", "line 2: an object name"},
      {header + "[Main]\nback = white\n", "line 3: a colour"},
      {header + "[Main]\nback = #FFFFF\n", "line 3: a colour"},
      {header + "[Main]\nback = #GGFFFF\n", "line 3: a colour"},
      {header + "[Main]\nfont = Tahoma\n", "line 3: a font"},
      {header + "[Main]\nfont = Tahoma, big\n", "line 3: a font"},
      {header + "[Main]\nfont = Tahoma, 9, italic\n", "line 3: a font"},
      {header + "[Main]\nframe = dotted\n", "line 3: frame is"},
      {header + "[Main]\ncolour = #FFFFFF\n", "line 3: unknown key"},
      {header + "[Main]\nback #FFFFFF\n", "line 3: expected"},
  };
  for (const auto& c : cases) {
    const SkinParseResult parsed = ParseSkin(c.text);
    EXPECT_FALSE(parsed.objects) << c.text;
    EXPECT_EQ(parsed.error.rfind(c.error, 0), 0u) << parsed.error << " / " << c.text;
  }
}

TEST(SkinRules, ObjectForEachKindOfControl) {
  const struct {
    const char* windowClass;
    std::uint32_t style;
    const char* tag;
    const char* object;
  } cases[] = {
      {"Button", 0x0, "", "Button"},          {"BUTTON", 0x1, "", "Button"},
      {"Button", 0xB, "", "Button"},          {"Button", 0x50010003, "", "CheckBox"},
      {"Button", 0x2, "", "CheckBox"},        {"Button", 0x5, "", "CheckBox"},
      {"Button", 0x6, "", "CheckBox"},        {"Button", 0x9, "", "RadioBox"},
      {"Button", 0x4, "", "RadioBox"},        {"Button", 0x7, "", "Frame"},
      {"Button", 0x7, "No", "NoFrame"},       {"Button", 0x7, "no", "Frame"},
      {"Button", 0x7, "No ", "Frame"},        {"QuelvarSkinLabel", 0, "", "Label"},
      {"Static", 0, "", nullptr},             {"Edit", 0, "", nullptr},
      {"SysListView32", 0, "", nullptr},      {"msctls_trackbar32", 0, "", nullptr},
      {"Button", 0x8, "", nullptr},  // a user button
  };
  for (const auto& c : cases) {
    const char* object =
        SkinObjectForControl(ClassifyControl(c.windowClass, c.style), c.tag);
    if (c.object) {
      ASSERT_NE(object, nullptr) << c.windowClass << " " << c.style;
      EXPECT_STREQ(object, c.object) << c.windowClass << " " << c.style << " " << c.tag;
    } else {
      EXPECT_EQ(object, nullptr) << c.windowClass << " " << c.style;
    }
  }
}

}  // namespace
}  // namespace quelvar
