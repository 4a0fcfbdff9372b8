// The three settings windows' Save where this account may not write the settings keys, as for
// a user without administrator rights: each window says which value could not be stored and
// why, keeps the edits on show with Save enabled, and nothing is stored (nor the Run entry).
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "resource.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

constexpr const char* kSectionKeys[] = {
    "SOFTWARE\\Brannoc\\Quelvar\\Settings\\RamSettings",
    "SOFTWARE\\Brannoc\\Quelvar\\Settings\\NetPinger",
    "SOFTWARE\\Brannoc\\Quelvar\\Settings\\MainSettings",
};
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class SettingsSaveWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WaitForNoProcess("Quelvar.exe")) << "a Quelvar.exe of an earlier test still runs";
    TearDown();
  }
  void TearDown() override {
    m_quelvar.Close();
    for (const char* key : kSectionKeys) {
      SetKeyWritable(HKEY_LOCAL_MACHINE, key, true);
      ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, key);
    }
    ::SHDeleteValueA(HKEY_CURRENT_USER, kRunKey, "Quelvarix");
  }
  Process m_quelvar;
};

TEST_F(SettingsSaveWindowTest, ARefusedSaveIsSaidAndTheEditsStay) {
  for (const char* key : kSectionKeys) {
    HKEY created = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &created, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(created);
    ASSERT_TRUE(SetKeyWritable(HKEY_LOCAL_MACHINE, key, false)) << key;
  }
  HWND main = StartQuelvar(m_quelvar);
  ASSERT_NE(main, nullptr);

  const struct {
    const char* faceButton;
    int checkBox;  // ticked as the edit
    int textBox;   // 0, or a box given a new text
    int save;
    const char* caption;  // of the first value the Save writes
  } windows[] = {
      {"Ram Configuration", IDX_RAM_SOUND_ON, IDE_RAM_BOX0, IDC_RAM_SAVE, "Sound on"},
      {"Ping Settings", IDX_PINGER_DO_PINGING, 0, IDC_PINGER_SAVE, "Enable Pinger"},
      {"Main Settings", IDX_RUN_MAIN_PROGRAM, 0, IDC_MAIN_SETTINGS_SAVE,
       "Run Main Program when windows start up"},
  };
  for (const auto& window : windows) {
    SCOPED_TRACE(window.faceButton);
    ASSERT_TRUE(ClickFace(main, window.faceButton));
    HWND check = FindChildById(main, window.checkBox);
    HWND text = window.textBox ? FindChildById(main, window.textBox) : nullptr;
    HWND save = FindChildById(main, window.save);
    ASSERT_TRUE(ClickAndWait(check));
    ASSERT_TRUE(!text || SetText(text, "300"));

    Click(save);
    const StandardBox box = WaitForStandardBox(m_quelvar.Id());
    ASSERT_NE(box.box, nullptr) << "no message";
    EXPECT_EQ(box.title, "Quelvar");
    EXPECT_EQ(box.text.rfind("Quelvar could not save these settings: \"" +
                                 std::string(window.caption) + "\" could not be stored.", 0),
              0u)
        << box.text;
    EXPECT_NE(box.text.find("administrator rights"), std::string::npos) << box.text;
    ASSERT_TRUE(!text || SaveScreenshot(ScreenshotPath("settings-save-refused")));
    ASSERT_TRUE(AnswerStandardBox(box, IDOK));

    EXPECT_EQ(SendWithTimeout(check, BM_GETCHECK), BST_CHECKED);
    EXPECT_TRUE(!text || GetText(text) == "300") << GetText(text);
    EXPECT_TRUE(::IsWindowEnabled(save)) << "Save stays enabled";
  }

  for (const char* key : kSectionKeys) {
    const std::string stored = RunAndCapture(std::string("reg.exe query \"HKLM\\") + key + "\"");
    EXPECT_EQ(stored.find("REG_SZ"), std::string::npos) << stored;
  }
  EXPECT_EQ(RegQueryValue(std::string("HKCU\\") + kRunKey, "Quelvarix").rfind("(no value)", 0), 0u)
      << "the Run entry is not written when the option cannot be stored";
}

}  // namespace
}  // namespace quelvar
