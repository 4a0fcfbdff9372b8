// The tray icon's tool tip and balloon fields and the EventMode range.
#include "ui/tray_text.h"

#include <gtest/gtest.h>

#include <string>

namespace quelvar {
namespace {

// The visible part of a field: up to its first NUL.
std::string Visible(const std::string& field) { return field.substr(0, field.find('\0')); }

TEST(TrayTipField, FramesTheTipWithSpacesThenNulThenSpaceFill) {
  const std::string field = TrayTipField("Free memory: 12 MB");
  ASSERT_EQ(field.size(), kTrayTipChars);
  EXPECT_EQ(Visible(field), " Free memory: 12 MB ");
  EXPECT_EQ(field[20], '\0');
  EXPECT_EQ(field.find_first_not_of(' ', 21), std::string::npos);
}

TEST(TrayTipField, EmptyTipIsALoneNulAndNoToolTip) {
  const std::string field = TrayTipField("");
  ASSERT_EQ(field.size(), kTrayTipChars);
  EXPECT_EQ(field[0], '\0');
  EXPECT_EQ(field.find_first_not_of(' ', 1), std::string::npos);
}

TEST(TrayTipField, LongTipsAreCutAndStayTerminated) {
  struct Case {
    std::size_t length;
    std::string visible;
  };
  const Case cases[] = {
      // 125 characters still fit with both spaces and the NUL.
      {125, " " + std::string(125, 'x') + " "},
      // One more: the NUL is cut off by the width and takes the last place instead.
      {126, " " + std::string(126, 'x')},
      {300, " " + std::string(126, 'x')},
  };
  for (const Case& c : cases) {
    const std::string field = TrayTipField(std::string(c.length, 'x'));
    ASSERT_EQ(field.size(), kTrayTipChars) << c.length;
    EXPECT_EQ(Visible(field), c.visible) << c.length;
    EXPECT_EQ(field.find('\0'), c.visible.size()) << c.length;
  }
}

TEST(TraySpaceFilledField, EndsTheTextWithNulThenFillsWithSpaces) {
  const std::string info = TraySpaceFilledField("The Program Still Running Here", kTrayInfoChars);
  ASSERT_EQ(info.size(), kTrayInfoChars);
  EXPECT_EQ(Visible(info), "The Program Still Running Here");
  EXPECT_EQ(info[30], '\0');
  EXPECT_EQ(info.find_first_not_of(' ', 31), kTrayInfoChars - 1);
  EXPECT_EQ(info.back(), '\0');

  // Cut at width - 1: the last place stays the NUL.
  const std::string title = TraySpaceFilledField(std::string(100, 't'), kTrayInfoTitleChars);
  EXPECT_EQ(title, std::string(63, 't') + '\0');
  EXPECT_EQ(TraySpaceFilledField(std::string(63, 't'), kTrayInfoTitleChars),
            std::string(63, 't') + '\0');
  EXPECT_EQ(TraySpaceFilledField(std::string(62, 't'), kTrayInfoTitleChars),
            std::string(62, 't') + '\0' + '\0');

  EXPECT_EQ(TraySpaceFilledField("", kTrayInfoTitleChars),
            '\0' + std::string(62, ' ') + '\0');
}

TEST(ComposeTrayTip, AddsTheStatusLineWithinTheFieldAndNeverCutsTheFirstLine) {
  const std::string memory = "Memory Usage (412MB).";
  const std::string longLine(200, 'p');
  const std::string fullFirst(kTrayTipTextChars, 'm');
  const struct {
    std::string first;
    std::string line;
    std::string tip;
  } cases[] = {
      {memory, "", memory},  // no line: the text exactly as given
      {memory, "Pinger: no answer", memory + "\nPinger: no answer"},
      {memory, longLine, memory + "\n" + longLine.substr(0, kTrayTipTextChars - memory.size() - 1)},
      {fullFirst, "Pinger: no answer", fullFirst},  // no room left for the line
  };
  for (const auto& c : cases) {
    const std::string tip = ComposeTrayTip(c.first, c.line);
    EXPECT_EQ(tip, c.tip);
    EXPECT_EQ(Visible(TrayTipField(tip)), " " + tip + " ") << "the field holds the tip whole";
  }
  // A shell without two-line tips gets both on one line.
  EXPECT_EQ(ComposeTrayTip(memory, "Pinger: no answer", kTrayTipOneLineSeparator),
            memory + " - Pinger: no answer");
}

TEST(ClampTrayEventMode, ForcesIntoZeroToOne) {
  const std::pair<int, int> cases[] = {{5, 1}, {-3, 0}, {0, 0}, {1, 1}, {2, 1}, {-1, 0}};
  for (const auto& [written, read] : cases) {
    EXPECT_EQ(ClampTrayEventMode(written), read) << written;
  }
}

}  // namespace
}  // namespace quelvar
