// The backup file's line format: one item per line, each line ending in CR LF, plain 8-bit text.
// Items come in five kinds:
//   date     #yyyy-mm-dd#            #2003-05-07#
//   time     #hh:mm:ss# (24-hour)    #09:05:03#
//   integer  -?digits                7
//   number   whole values of up to 15 digits in full (64, -3); larger ones, and values that are
//            not whole, with at most 15 significant digits, a full stop as decimal separator and
//            an exponent where the value is below 1E-5 or at least 1E+15 (1E+15,
//            1.23456789012346E+17, 0.5, 1.5E-07)
//   string   "text" (the text may not hold a double quote, CR or LF)
//   typed    a registry value's type and bytes as a string item: "hex(", the type in hexadecimal,
//            "):", then each byte as two hexadecimal digits, separated by commas
//            ("hex(4):e8,03,00,00", "hex(1):33,32,00", "hex(3):"); for a value that no number
//            item stands for
// BackupFileWriter builds a file's content; BackupFileReader reads it back item by item, strictly
// in order, the caller naming the kind it expects at each position.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/clock.h"
#include "registry/registry_backend.h"

namespace quelvar {

// True when `text` can be written as a string item and read back unchanged: it holds no
// double quote, carriage return or line feed.
bool IsRecordableText(std::string_view text);

// The number item's text for `value` (see the layout above).
std::string FormatBackupNumber(double value);

class BackupFileWriter {
 public:
  void Date(const LocalDateTime& when);  // year, month and day of `when`
  void Time(const LocalDateTime& when);  // hour, minute and second of `when`
  void Integer(std::int32_t value);
  void Number(double value);
  // `text` must be recordable (IsRecordableText); the callers check names they did not choose.
  void String(std::string_view text);
  void Typed(const RegData& value);

  const std::string& Contents() const { return m_contents; }

 private:
  void Line(std::string_view item);
  std::string m_contents;
};

// The outcome of reading one item.
enum class BackupRead {
  kOk,         // the item was read and stored in the out-parameter
  kEndOfFile,  // no line is left: the file ended before this item
  kMalformed,  // a line is there, but it is not an item of the asked kind (nothing consumed)
  kOutOfRange,  // a number item too large or too small for a double (nothing consumed)
};

// Reads items in file order. Each Read... call looks at the next line only; kMalformed leaves the
// position where it was, kOk moves past the line. Lines end in CR LF; a lone LF is accepted as
// well, a CR anywhere else is not. Out-parameters are written only on kOk.
//
// Typical use for a restore:
//   BackupFileReader reader(contents);
//   LocalDateTime date, time; std::int32_t family;
//   if (reader.ReadDate(&date) != BackupRead::kOk || ...) -> not a backup file
//   while (true) { std::string key; auto r = reader.ReadString(&key); if (r == kEndOfFile) break;
//   ... }
class BackupFileReader {
 public:
  explicit BackupFileReader(std::string_view contents);

  // #yyyy-mm-dd#, a day of the calendar: fills year, month and day; other fields untouched.
  BackupRead ReadDate(LocalDateTime* date);
  // #hh:mm:ss#: fills hour, minute and second (0..23, 0..59, 0..59); other fields untouched.
  BackupRead ReadTime(LocalDateTime* time);
  // -?digits within the signed 32-bit range.
  BackupRead ReadInteger(std::int32_t* value);
  // Any integer or number item (the two look alike for whole values): a registry value.
  BackupRead ReadNumber(double* value);
  // "text": the text between the quotes.
  BackupRead ReadString(std::string* text);
  // "hex(t):bb,...": a registry value's type and bytes (hexadecimal digits in either case).
  BackupRead ReadTyped(RegData* value);

  // Moves past the next line, whatever it holds.
  BackupRead SkipLine();

  // True when every line has been read.
  bool AtEnd() const { return m_position >= m_contents.size(); }
  // The 1-based line number of the next line to read (for messages: "line 12 is not ...").
  int NextLineNumber() const { return m_lineNumber; }
  // The next line's text without its line end, as it stands ("" when no line is left): for
  // messages that quote a line that is not what was asked for.
  std::string_view NextLineText() const;
  // How many lines the whole contents hold; a last line without its line end counts.
  int LineCount() const { return m_lineCount; }
  // True when the contents end inside a line: the last line has no line end.
  bool EndsInsideALine() const;

 private:
  // The next line without its line break, and where the line after it starts; kMalformed
  // when the line holds a carriage return of its own.
  BackupRead PeekLine(std::string_view* line, std::size_t* next) const;
  // The same without looking at what the line holds.
  BackupRead PeekAnyLine(std::string_view* line, std::size_t* next) const;
  void Advance(std::size_t next);

  std::string_view m_contents;
  std::size_t m_position = 0;
  int m_lineNumber = 1;
  int m_lineCount = 0;  // counted once: checking a file reads each line a fixed number of times
};

}  // namespace quelvar
