// The message box's flags: buttons, icon cell, default button, layouts and results.
#include "ui/msg_box_flags.h"

#include <gtest/gtest.h>

namespace quelvar {
namespace {

std::vector<std::string> Captions(const std::vector<MsgButton>& buttons) {
  std::vector<std::string> captions;
  for (const MsgButton& b : buttons) captions.push_back(b.caption);
  return captions;
}

std::vector<int> Codes(const std::vector<MsgButton>& buttons) {
  std::vector<int> codes;
  for (const MsgButton& b : buttons) codes.push_back(b.code);
  return codes;
}

TEST(MsgBoxFlags, ButtonSetsHaveTheirCaptionsAndCodes) {
  struct Case {
    MsgBoxFlags flags;
    std::vector<std::string> captions;
    std::vector<int> codes;
  };
  const Case cases[] = {
      {OKOnly, {"OK"}, {1}},
      {OKCancel, {"OK", "Cancel"}, {1, 2}},
      {AbortRetryIgnore, {"Abort", "Retry", "Ignore"}, {3, 4, 5}},
      {YesNoCancel, {"Yes", "No", "Cancel"}, {6, 7, 2}},
      {YesNo, {"Yes", "No"}, {6, 7}},
      {RetryCancel, {"Retry", "Cancel"}, {4, 2}},
      {7, {"OK"}, {1}},
      // The other fields do not change the buttons.
      {YesNo + Critical + DefaultButton2, {"Yes", "No"}, {6, 7}},
      {7 + Search + 768, {"OK"}, {1}},
  };
  for (const Case& c : cases) {
    const auto buttons = ButtonsFor(c.flags, "A", "B", "C");
    EXPECT_EQ(Captions(buttons), c.captions) << "flags " << c.flags;
    EXPECT_EQ(Codes(buttons), c.codes) << "flags " << c.flags;
  }
}

TEST(MsgBoxFlags, CustomButtonsLeaveEmptyCaptionsOutAndKeepTheirSlotCodes) {
  EXPECT_EQ(Captions(ButtonsFor(CustomButtons, "Go", "", "")), std::vector<std::string>{"Go"});
  EXPECT_EQ(Codes(ButtonsFor(CustomButtons, "Go", "", "")), std::vector<int>{1});
  EXPECT_EQ(Codes(ButtonsFor(CustomButtons, "", "Two", "Three")), (std::vector<int>{2, 3}));
  EXPECT_EQ(Codes(ButtonsFor(CustomButtons, "a", "b", "c")), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(ButtonsFor(CustomButtons, "", "", "").empty());
}

TEST(MsgBoxFlags, IconFieldPicksTheStripCell) {
  const std::pair<MsgBoxFlags, int> cases[] = {
      {0, 0},     {Critical, 1}, {Exclamation, 2}, {Information, 3},        {Question, 4},
      {Users, 5}, {Keys, 6},     {Search, 7},      {YesNoCancel + 768, 0},
      {Question + YesNoCancel + DefaultButton2, 4}};
  for (const auto& [flags, cell] : cases) EXPECT_EQ(IconCellOf(flags), cell) << "flags " << flags;
}

TEST(MsgBoxFlags, DefaultButtonFieldPicksTheFocusedButton) {
  const auto three = ButtonsFor(YesNoCancel, "", "", "");
  EXPECT_EQ(DefaultButtonOf(DefaultButton1), 1);
  EXPECT_EQ(DefaultButtonOf(DefaultButton2 + Question), 2);
  EXPECT_EQ(DefaultButtonOf(DefaultButton3), 3);
  EXPECT_EQ(DefaultButtonOf(768), 0);
  EXPECT_EQ(DefaultButtonIndex(YesNoCancel + DefaultButton2, three), 1);
  EXPECT_EQ(DefaultButtonIndex(YesNoCancel + DefaultButton3, three), 2);
  EXPECT_EQ(DefaultButtonIndex(YesNoCancel + 768, three), -1);
  // A default beyond the buttons shown falls back to the first one.
  EXPECT_EQ(DefaultButtonIndex(OKOnly + DefaultButton3, ButtonsFor(OKOnly, "", "", "")), 0);
  // Custom buttons: the default names a slot, not a position among those shown.
  const auto custom = ButtonsFor(CustomButtons, "", "b", "c");
  EXPECT_EQ(DefaultButtonIndex(CustomButtons + DefaultButton3, custom), 1);
}

TEST(MsgBoxLayout, ButtonsStandCentredOnThirdsOrSymmetric) {
  // One button centred.
  EXPECT_EQ(ButtonLefts(1, 300, 80, 8), std::vector<int>{110});
  // Two: centred on the first third and on its mirror image.
  const auto two = ButtonLefts(2, 300, 80, 8);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0] + 40, 100);
  EXPECT_EQ(two[0], 300 - (two[1] + 80));
  // Three: the middle one centred, the outer two the gap away and mirrored.
  const auto three = ButtonLefts(3, 300, 80, 8);
  EXPECT_EQ(three, (std::vector<int>{22, 110, 198}));
  EXPECT_EQ(three[0], 300 - (three[2] + 80));
  EXPECT_TRUE(ButtonLefts(0, 300, 80, 8).empty());
}

TEST(MsgBoxResult, TickedCheckBoxAddsAHundred) {
  EXPECT_EQ(MsgBoxResult(1, false), 1);
  EXPECT_EQ(MsgBoxResult(6, true), 106);
  EXPECT_EQ(MsgBoxResult(2, true), 102);
  EXPECT_EQ(MsgBoxResult(3, false), 3);
}

TEST(MsgBoxResult, InputBoxAppendsTheNotSignOnlyWhenTickedAndConfirmed) {
  const std::string notSign = "\xAC";
  EXPECT_EQ(InputBoxResult(false, "abc", true, notSign), "abc\xAC");
  EXPECT_EQ(InputBoxResult(false, "abc", false, notSign), "abc");
  EXPECT_EQ(InputBoxResult(true, "abc", true, notSign), "");
  EXPECT_EQ(InputBoxResult(true, "", false, notSign), "");
}

}  // namespace
}  // namespace quelvar
