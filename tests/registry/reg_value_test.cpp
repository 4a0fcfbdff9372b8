// Conversions of the registry operations' value: decimal text, numbers parsed from text,
// rounding halves to even, and the conversion errors.
#include <gtest/gtest.h>

#include "registry/reg_value.h"

namespace quelvar {
namespace {

TEST(RegValue, IntegersBecomeDecimalTextWithoutALeadingBlank) {
  EXPECT_EQ(RegValue(std::int32_t{1500}).ToText(), "1500");
  EXPECT_EQ(RegValue(std::int32_t{-1}).ToText(), "-1");
  EXPECT_EQ(RegValue(std::int16_t{-32768}).ToText(), "-32768");
  EXPECT_EQ(RegValue(std::int32_t{0}).ToText(), "0");
  EXPECT_EQ(RegValue(false).ToText(), "False");
  EXPECT_EQ(RegValue(2.5).ToText(), "2.5");
  EXPECT_EQ(RegValue(" as is ").ToText(), " as is ");
}

TEST(RegValue, RoundsHalvesToTheEvenNeighbour) {
  const struct {
    RegValue value;
    std::int32_t expected;
  } cases[] = {{RegValue(0.5), 0},   {RegValue(1.5), 2},    {RegValue(2.5), 2},
               {RegValue(-0.5), 0},  {RegValue(-1.5), -2},  {RegValue(-2.5), -2},
               {RegValue(2.4999), 2}, {RegValue(2.5001), 3}, {RegValue("3.5"), 4},
               {RegValue(" 42 "), 42}, {RegValue("-7"), -7},  {RegValue("1e3"), 1000},
               {RegValue(true), 1},  {RegValue(std::int16_t{9}), 9}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.value.ToInt32(), c.expected) << c.value.ToText();
    EXPECT_EQ(c.value.ToInt16(), c.expected) << c.value.ToText();
  }
}

TEST(RegValue, IntegerWidthsHaveTheirLimits) {
  EXPECT_EQ(RegValue("2147483647").ToInt32(), 2147483647);
  EXPECT_EQ(RegValue("-2147483648").ToInt32(), -2147483647 - 1);
  EXPECT_THROW(RegValue("2147483648").ToInt32(), ConversionError);
  EXPECT_THROW(RegValue("4294967295").ToInt32(), ConversionError);
  EXPECT_EQ(RegValue("32767").ToInt16(), 32767);
  EXPECT_EQ(RegValue("32767.4").ToInt16(), 32767);
  EXPECT_THROW(RegValue("32767.5").ToInt16(), ConversionError);
  EXPECT_THROW(RegValue("-32769").ToInt16(), ConversionError);
  EXPECT_THROW(RegValue("1e400").ToDouble(), ConversionError);
}

TEST(RegValue, TextThatIsNotANumberIsAConversionError) {
  for (const char* text : {"", " ", "abc", "1,5", "12abc", "0x10", "&H10", "--1", ".", "1e", "+"}) {
    EXPECT_THROW(RegValue(text).ToDouble(), ConversionError) << '"' << text << '"';
    EXPECT_THROW(RegValue(text).ToInt32(), ConversionError) << '"' << text << '"';
  }
  EXPECT_DOUBLE_EQ(RegValue("+.5").ToDouble(), 0.5);
  EXPECT_DOUBLE_EQ(RegValue("5.").ToDouble(), 5.0);
}

TEST(RegValue, BooleansFromWordsInAnyCaseOrFromNumbers) {
  const struct {
    RegValue value;
    bool expected;
  } cases[] = {{RegValue("True"), true},  {RegValue("TRUE"), true},   {RegValue("false"), false},
               {RegValue("FaLsE"), false}, {RegValue("1"), true},     {RegValue("0"), false},
               {RegValue("-1"), true},     {RegValue("2.5"), true},   {RegValue(" true "), true},
               {RegValue(std::int32_t{0}), false}, {RegValue(true), true}};
  for (const auto& c : cases) EXPECT_EQ(c.value.ToBool(), c.expected) << c.value.ToText();
  EXPECT_THROW(RegValue("yes").ToBool(), ConversionError);
  EXPECT_THROW(RegValue("").ToBool(), ConversionError);
}

TEST(RegValue, EqualityKeepsTheType) {
  EXPECT_NE(RegValue("0"), RegValue(std::int32_t{0}));
  EXPECT_NE(RegValue(std::int16_t{0}), RegValue(std::int32_t{0}));
  EXPECT_EQ(RegValue("0"), RegValue(std::string("0")));
}

}  // namespace
}  // namespace quelvar
