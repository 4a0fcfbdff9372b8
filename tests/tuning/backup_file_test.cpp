// The backup file's line format: numbers as the file writes them, every kind read back, and the
// reader telling the end of the file from a line that is not the item asked for.
#include "tuning/backup_file.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quelvar {
namespace {

TEST(BackupNumberFormat, WholeValuesInFullUpTo15DigitsThenExponentForm) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {64, "64"},
      {-1, "-1"},
      {4294967295.0, "4294967295"},
      {999999999999999.0, "999999999999999"},
      {-999999999999999.0, "-999999999999999"},
      {1e15, "1E+15"},
      {123456789012345678.0, "1.23456789012346E+17"},
      {-2.5e20, "-2.5E+20"},
      {0.5, "0.5"},
      {-1.25, "-1.25"},
      {1.0 / 3.0, "0.333333333333333"},
      {1.5e-7, "1.5E-07"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatBackupNumber(c.value), c.text);
  }
}

TEST(BackupFileWriter, WritesEachKindOnItsOwnCrLfLine) {
  BackupFileWriter file;
  file.Date({2003, 5, 7, 9, 5, 3});
  file.Time({2003, 5, 7, 9, 5, 3});
  file.Integer(7);
  file.Integer(-12);
  file.Number(1e15);
  file.String("DefaultTTL");
  file.String("");
  EXPECT_EQ(file.Contents(),
            "#2003-05-07#\r\n#09:05:03#\r\n7\r\n-12\r\n1E+15\r\n\"DefaultTTL\"\r\n\"\"\r\n");
}

TEST(BackupFileReader, ReadsBackEveryKindWrittenInOrder) {
  BackupFileWriter file;
  file.Date({1999, 12, 31, 23, 59, 58});
  file.Time({1999, 12, 31, 23, 59, 58});
  file.Integer(-2147483647 - 1);
  file.Number(123456789012345678.0);
  file.Number(0.5);
  file.String("System\\CurrentControlSet\\Services\\VxD\\MSTCP");
  file.String("");

  BackupFileReader reader(file.Contents());
  LocalDateTime stamp;
  std::int32_t integer = 0;
  double number = 0, half = 0;
  std::string key, empty = "x";
  ASSERT_EQ(reader.ReadDate(&stamp), BackupRead::kOk);
  ASSERT_EQ(reader.ReadTime(&stamp), BackupRead::kOk);
  EXPECT_EQ(stamp, (LocalDateTime{1999, 12, 31, 23, 59, 58}));
  ASSERT_EQ(reader.ReadInteger(&integer), BackupRead::kOk);
  EXPECT_EQ(integer, INT32_MIN);
  ASSERT_EQ(reader.ReadNumber(&number), BackupRead::kOk);
  EXPECT_DOUBLE_EQ(number, 1.23456789012346e17);
  ASSERT_EQ(reader.ReadNumber(&half), BackupRead::kOk);
  EXPECT_EQ(half, 0.5);
  ASSERT_EQ(reader.ReadString(&key), BackupRead::kOk);
  EXPECT_EQ(key, "System\\CurrentControlSet\\Services\\VxD\\MSTCP");
  ASSERT_EQ(reader.ReadString(&empty), BackupRead::kOk);
  EXPECT_EQ(empty, "");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.ReadString(&key), BackupRead::kEndOfFile);
  EXPECT_EQ(reader.ReadNumber(&number), BackupRead::kEndOfFile);
}

TEST(BackupFileReader, LineOfAnotherKindIsMalformedAndNotConsumed) {
  BackupFileReader reader("\"SackOpts\"\r\n1\r\n");
  std::int32_t value = 99;
  EXPECT_EQ(reader.ReadInteger(&value), BackupRead::kMalformed);
  EXPECT_EQ(value, 99);
  EXPECT_EQ(reader.NextLineNumber(), 1);
  std::string name;
  EXPECT_EQ(reader.ReadString(&name), BackupRead::kOk);
  EXPECT_EQ(reader.NextLineNumber(), 2);
  double number = 0;
  EXPECT_EQ(reader.ReadNumber(&number), BackupRead::kOk);
  EXPECT_EQ(number, 1);
}

TEST(BackupFileReader, RejectsLinesThatAreNotTheirKind) {
  const struct {
    const char* line;
    BackupRead (*read)(BackupFileReader&);
  } cases[] = {
      {"#2003-13-07#",
       [](BackupFileReader& r) {
         LocalDateTime d;
         return r.ReadDate(&d);
       }},
      {"2003-05-07",
       [](BackupFileReader& r) {
         LocalDateTime d;
         return r.ReadDate(&d);
       }},
      {"#2003-5-7#",
       [](BackupFileReader& r) {
         LocalDateTime d;
         return r.ReadDate(&d);
       }},
      {"#2003-02-29#",
       [](BackupFileReader& r) {
         LocalDateTime d;
         return r.ReadDate(&d);
       }},
      {"#2003-04-31#",
       [](BackupFileReader& r) {
         LocalDateTime d;
         return r.ReadDate(&d);
       }},
      {"#24:00:00#",
       [](BackupFileReader& r) {
         LocalDateTime d;
         return r.ReadTime(&d);
       }},
      {"#09:05#",
       [](BackupFileReader& r) {
         LocalDateTime d;
         return r.ReadTime(&d);
       }},
      {"1.5",
       [](BackupFileReader& r) {
         std::int32_t v;
         return r.ReadInteger(&v);
       }},
      {"2147483648",
       [](BackupFileReader& r) {
         std::int32_t v;
         return r.ReadInteger(&v);
       }},
      {" 7",
       [](BackupFileReader& r) {
         std::int32_t v;
         return r.ReadInteger(&v);
       }},
      {"",
       [](BackupFileReader& r) {
         std::int32_t v;
         return r.ReadInteger(&v);
       }},
      {"1,5",
       [](BackupFileReader& r) {
         double v;
         return r.ReadNumber(&v);
       }},
      {"1E",
       [](BackupFileReader& r) {
         double v;
         return r.ReadNumber(&v);
       }},
      {"5.",
       [](BackupFileReader& r) {
         double v;
         return r.ReadNumber(&v);
       }},
      {"-.5",
       [](BackupFileReader& r) {
         double v;
         return r.ReadNumber(&v);
       }},
      {"\"64\"",
       [](BackupFileReader& r) {
         double v;
         return r.ReadNumber(&v);
       }},
      {"64",
       [](BackupFileReader& r) {
         std::string s;
         return r.ReadString(&s);
       }},
      {"\"open",
       [](BackupFileReader& r) {
         std::string s;
         return r.ReadString(&s);
       }},
      {"\"a\"b\"",
       [](BackupFileReader& r) {
         std::string s;
         return r.ReadString(&s);
       }},
      {"\"a\rb\"",
       [](BackupFileReader& r) {
         std::string s;
         return r.ReadString(&s);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    BackupFileReader reader(std::string(c.line) + "\r\n");
    EXPECT_EQ(c.read(reader), BackupRead::kMalformed);
  }
}

TEST(BackupFileReader, AcceptsLfOnlyAndAMissingFinalLineBreak) {
  BackupFileReader reader("\"a\"\n5");
  std::string text;
  double number = 0;
  EXPECT_EQ(reader.ReadString(&text), BackupRead::kOk);
  EXPECT_EQ(reader.ReadNumber(&number), BackupRead::kOk);
  EXPECT_EQ(number, 5);
  EXPECT_EQ(reader.ReadNumber(&number), BackupRead::kEndOfFile);
}

TEST(BackupFileReader, NumberBeyondADoubleIsOutOfRangeAndNotConsumed) {
  BackupFileReader reader("1E+400\r\n");
  double number = 7;
  EXPECT_EQ(reader.ReadNumber(&number), BackupRead::kOutOfRange);
  EXPECT_EQ(number, 7);
  EXPECT_EQ(reader.NextLineNumber(), 1);
}

TEST(BackupFileReader, LeapDayOnlyInLeapYears) {
  LocalDateTime date;
  EXPECT_EQ(BackupFileReader("#2004-02-29#").ReadDate(&date), BackupRead::kOk);
  EXPECT_EQ(BackupFileReader("#2000-02-29#").ReadDate(&date), BackupRead::kOk);
  EXPECT_EQ(BackupFileReader("#1900-02-29#").ReadDate(&date), BackupRead::kMalformed);
}

// What a caller needs to say where a file goes wrong: the line as it stands, the line count,
// a last line without its line end, and stepping over a line that is not what was asked for.
TEST(BackupFileReader, TellsTheLinesOfAFileThatIsNotWhatWasAskedFor) {
  BackupFileReader reader("#2003-05-07\r\n\"a\rb\"\r\n\r\n12");
  EXPECT_EQ(reader.LineCount(), 4);
  EXPECT_TRUE(reader.EndsInsideALine());
  LocalDateTime date;
  EXPECT_EQ(reader.ReadDate(&date), BackupRead::kMalformed);
  EXPECT_EQ(reader.NextLineText(), "#2003-05-07");
  EXPECT_EQ(reader.SkipLine(), BackupRead::kOk);
  std::string text;
  EXPECT_EQ(reader.ReadString(&text), BackupRead::kMalformed);
  EXPECT_EQ(reader.NextLineText(), "\"a\rb\"");
  EXPECT_EQ(reader.SkipLine(), BackupRead::kOk);
  EXPECT_EQ(reader.NextLineText(), "");
  EXPECT_EQ(reader.SkipLine(), BackupRead::kOk);
  EXPECT_EQ(reader.NextLineNumber(), 4);
  EXPECT_EQ(reader.NextLineText(), "12");
  EXPECT_EQ(reader.SkipLine(), BackupRead::kOk);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.NextLineText(), "");
  EXPECT_EQ(reader.SkipLine(), BackupRead::kEndOfFile);

  EXPECT_FALSE(BackupFileReader("1\r\n2\r\n").EndsInsideALine());
  EXPECT_EQ(BackupFileReader("1\r\n2\r\n").LineCount(), 2);
  EXPECT_EQ(BackupFileReader("").LineCount(), 0);
}

TEST(BackupFileFormat, TextWithAQuoteOrLineBreakCannotBeRecorded) {
  EXPECT_TRUE(IsRecordableText("{4D36E972-E325-11CE} 0001, x\\y"));
  EXPECT_TRUE(IsRecordableText(""));
  EXPECT_FALSE(IsRecordableText("a\"b"));
  EXPECT_FALSE(IsRecordableText("a\rb"));
  EXPECT_FALSE(IsRecordableText("a\nb"));
}

}  // namespace
}  // namespace quelvar
