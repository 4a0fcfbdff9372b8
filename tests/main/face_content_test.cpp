// The face file: the shipped content, its commands and groups, and damaged files.
#include "main/face_content.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "main/command_dispatch.h"
#include "quelvar_version.h"

namespace quelvar {
namespace {

std::string ShippedFace() {
  const std::string here = __FILE__;
  const std::string root = here.substr(0, here.rfind("tests"));
  std::ifstream file(root + "res/data/RQLV.swf", std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(FaceContent, ShippedFileIsTheBuiltInFace) {
  const std::string shipped = ShippedFace();
  ASSERT_FALSE(shipped.empty());
  EXPECT_EQ(shipped, BuiltInFaceText());
  const FaceParseResult parsed = ParseFaceContent(shipped);
  ASSERT_TRUE(parsed.content) << parsed.error;
  // The About page shows the build's version; the face file must not name another.
  EXPECT_EQ(parsed.content->version, QUELVAR_VERSION);
}

TEST(FaceContent, GroupsCaptionsAndCommands) {
  const FaceContent& face = BuiltInFaceContent();
  std::vector<std::pair<std::string, std::vector<std::string>>> groups;
  for (const FaceGroup& group : face.groups) groups.push_back({group.caption, {}});
  std::vector<std::string> alone;
  std::set<std::string> commands;
  for (const FaceButton& button : face.buttons) {
    const std::string entry = StripMnemonic(button.caption) + "=" + button.command;
    if (button.group >= 0) groups[static_cast<std::size_t>(button.group)].second.push_back(entry);
    else alone.push_back(entry);
    EXPECT_NE(MatchMovieCommand(button.command), MovieCommand::None) << button.command;
    EXPECT_FALSE(button.toolTip.empty()) << button.caption;
    commands.insert(button.command);
  }
  using Group = std::pair<std::string, std::vector<std::string>>;
  EXPECT_EQ(groups,
            (std::vector<Group>{
                {"Quelvar",
                 {"Wizard Mode=IDC_FS_wizardmode", "Advanced Mode=IDC_FS_advanceddmode",
                  "Backup=IDC_FS_backupmanager"}},
                {"Net Pinger", {"Ping Settings=IDC_FS_pingsettings"}},
                {"Ram Booster",
                 {"System Status=IDC_FS_systemstatus",
                  "Ram Configuration=IDC_FS_ramconfiguration"}},
                {"System Settings",
                 {"Internet Properties=IDC_FS_internetproperties",
                  "System Properties=IDC_FS_systemproperties",
                  "Modems Settings=IDC_FS_modemsettings",
                  "Network Settings=IDC_FS_networksettings"}}}));
  EXPECT_EQ(alone, (std::vector<std::string>{
                       "Home Page=IDC_FS_home", "Main Settings=IDC_FS_settings",
                       "Help=IDC_FS_help", "About=IDC_FS_hide", "Restart Windows=IDC_FS_restart",
                       "Hide to tray=IDC_FS_tray", "Minimize=IDC_FS_minimize",
                       "Close=IDC_FS_close"}));
  // Every command but the drag (raised by the title area) has a button.
  EXPECT_EQ(commands.size() + 1, kMovieCommands.size());
}

TEST(FaceContent, MnemonicsAreUniqueAmongButtons) {
  std::set<char> letters;
  for (const FaceButton& button : BuiltInFaceContent().buttons) {
    const auto amp = button.caption.find('&');
    if (amp == std::string::npos) continue;
    const char letter = static_cast<char>(std::tolower(button.caption[amp + 1]));
    EXPECT_TRUE(letters.insert(letter).second) << button.caption;
  }
}

TEST(FaceContent, DamagedFilesAreRejectedWithTheLine) {
  const std::string header = "QUELVAR-FACE 1\n";
  const std::string ok = "button: 1,1,10,10 | A | IDC_FS_home | tip\n";
  const struct {
    std::string text;
    const char* error;
  } cases[] = {
      {"", "line 0: the file is empty"},
      {"GIF89a\n" + ok, "line 1: not a face file"},
      {header, "line 1: the face has no buttons"},
      {header + "button: 1,1,10 | A | IDC_FS_home | tip\n", "line 2: position"},
      {header + "button: 1,1,10,10,5 | A | IDC_FS_home | tip\n", "line 2: position"},
      {header + "button: 700,1,10,10 | A | IDC_FS_home | tip\n", "line 2: position"},
      {header + "button: 1,1,0,10 | A | IDC_FS_home | tip\n", "line 2: position"},
      {header + "button: 1,1,2147483647,10 | A | IDC_FS_home | tip\n", "line 2: position"},
      {header + "button: 1,5,10,2147483645 | A | IDC_FS_home | tip\n", "line 2: position"},
      {header + "button: x,1,10,10 | A | IDC_FS_home | tip\n", "line 2: position"},
      {header + "button: 1,1,10,10 | | IDC_FS_home | tip\n", "line 2: a button needs"},
      {header + "button: 1,1,10,10 | A | IDC_FS_home\n", "line 2: button takes"},
      {header + "window: 1,1,10,10 | A | IDC_FS_home | tip | home\n", "line 2: window takes"},
      {header + "button: 1,1,10,10 | A | IDC_FS_home | tip | away\n", "line 2: unknown view"},
      {header + "; note\n\nbutten: 1\n", "line 4: unknown keyword"},
      {header + "title Quelvar\n", "line 2: expected"},
      {header + "group: Only a caption\n", "line 2: group takes"},
      {header + "titlebar: 1,1\n", "line 2: titlebar"},
  };
  for (const auto& c : cases) {
    const FaceParseResult parsed = ParseFaceContent(c.text);
    EXPECT_FALSE(parsed.content) << c.text;
    EXPECT_EQ(parsed.error.rfind(c.error, 0), 0u) << parsed.error << " / " << c.text;
  }
}

TEST(FaceContent, FieldsViewsAndGrouping) {
  const FaceParseResult parsed = ParseFaceContent(
      "QUELVAR-FACE 1\r\n"
      "title: Q | tag\r\n"
      "group: G | does g\r\n"
      "button: 1,2,3,4 | &One | CMD1 | tip one\r\n"
      "group:\r\n"
      "button: 5,6,7,8 | T&wo && more | CMD2 | tip two | about\r\n"
      "window: 9,9,9,9 | X | CMD3 | tip three\r\n");
  ASSERT_TRUE(parsed.content) << parsed.error;
  const FaceContent& face = *parsed.content;
  EXPECT_EQ(face.title, "Q");
  EXPECT_EQ(face.tagline, "tag");
  ASSERT_EQ(face.buttons.size(), 3u);
  EXPECT_EQ(face.buttons[0].rect, (FaceRect{1, 2, 3, 4}));
  EXPECT_EQ(face.buttons[0].group, 0);
  EXPECT_EQ(face.buttons[1].group, -1);
  EXPECT_EQ(face.buttons[1].view, FaceView::About);
  EXPECT_EQ(StripMnemonic(face.buttons[1].caption), "Two & more");
  EXPECT_TRUE(face.buttons[2].titleBar);
  EXPECT_EQ(face.buttons[2].toolTip, "tip three");
}

}  // namespace
}  // namespace quelvar
