// The backup list's sort rules; see list_sort.h.
#include "tuning/list_sort.h"

#include "base/decimal_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace quelvar {

int SortColumn = 0;
int SortDataType = kSortAsText;
int SortOrderFlag = 0;

namespace {

// Fields a picture can fill; -1 where the picture has no element for it.
struct Fields {
  int year = -1;
  int month = -1;
  int day = -1;
  int hour = -1;  // as written (12- or 24-hour)
  bool twelveHour = false;
  int minute = -1;
  int second = -1;
  int meridiem = -1;  // 0 am, 1 pm
};

class Reader {
 public:
  explicit Reader(std::string_view text) : m_text(text) {}
  bool AtEnd() const { return m_pos >= m_text.size(); }
  char Peek() const { return AtEnd() ? '\0' : m_text[m_pos]; }
  void SkipBlanks() {
    while (!AtEnd() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t')) ++m_pos;
  }
  // Between minDigits and maxDigits decimal digits.
  std::optional<int> Digits(std::size_t minDigits, std::size_t maxDigits) {
    std::size_t count = 0;
    int value = 0;
    while (count < maxDigits && !AtEnd() &&
           std::isdigit(static_cast<unsigned char>(m_text[m_pos]))) {
      value = value * 10 + (m_text[m_pos] - '0');
      ++m_pos;
      ++count;
    }
    if (count < minDigits) return std::nullopt;
    return value;
  }
  // A word of letters (names of days and eras, which carry no value here).
  bool SkipWord() {
    const std::size_t start = m_pos;
    while (!AtEnd()) {
      const auto c = static_cast<unsigned char>(m_text[m_pos]);
      if (!(std::isalpha(c) || c >= 0x80 || c == '.')) break;
      ++m_pos;
    }
    return m_pos > start;
  }
  // The literal, letter case ignored.
  bool Literal(std::string_view literal) {
    if (m_text.size() - m_pos < literal.size()) return false;
    for (std::size_t i = 0; i < literal.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(m_text[m_pos + i])) !=
          std::tolower(static_cast<unsigned char>(literal[i]))) {
        return false;
      }
    }
    m_pos += literal.size();
    return true;
  }

 private:
  std::string_view m_text;
  std::size_t m_pos = 0;
};

// The month whose full or abbreviated name the text holds; the longest match wins, so
// "June" is not read as "Jun" followed by a stray "e".
bool ReadMonthName(Reader& reader, const DateTimeFormat& format, int* month) {
  int best = -1;
  std::string_view bestName;
  for (const auto* names : {&format.monthNames, &format.monthAbbreviations}) {
    for (int i = 0; i < 12; ++i) {
      const std::string& name = (*names)[i];
      if (name.empty() || name.size() <= bestName.size()) continue;
      Reader probe = reader;
      if (probe.Literal(name)) {
        best = i;
        bestName = name;
      }
    }
  }
  if (best < 0) return false;
  reader.Literal(bestName);
  *month = best + 1;
  return true;
}

bool ReadMeridiem(Reader& reader, const DateTimeFormat& format, bool oneLetter, Fields* fields) {
  const std::string* designators[2] = {&format.am, &format.pm};
  for (int i = 0; i < 2; ++i) {
    const std::string& designator = *designators[i];
    if (designator.empty()) continue;
    const std::string_view wanted =
        oneLetter ? std::string_view(designator).substr(0, 1) : std::string_view(designator);
    if (reader.Literal(wanted)) {
      fields->meridiem = i;
      return true;
    }
  }
  return false;
}

// Reads `text` against a Windows date or time picture; false when it does not match.
bool ReadPicture(std::string_view text, std::string_view picture, const DateTimeFormat& format,
                 Fields* fields) {
  Reader reader(text);
  reader.SkipBlanks();
  std::size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    if (c == '\'') {  // quoted literal; '' inside stands for one quote
      std::string literal;
      ++i;
      while (i < picture.size()) {
        if (picture[i] == '\'') {
          if (i + 1 < picture.size() && picture[i + 1] == '\'') {
            literal += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        literal += picture[i++];
      }
      if (!reader.Literal(literal)) return false;
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    std::optional<int> number;
    switch (c) {
      case 'd':
        if (run >= 3) {
          if (!reader.SkipWord()) return false;
        } else {
          if (!(number = reader.Digits(1, 2))) return false;
          fields->day = *number;
        }
        break;
      case 'M':
        if (run >= 3) {
          if (!ReadMonthName(reader, format, &fields->month)) return false;
        } else {
          if (!(number = reader.Digits(1, 2))) return false;
          fields->month = *number;
        }
        break;
      case 'y':
        if (run <= 2) {
          if (!(number = reader.Digits(1, 2))) return false;
          fields->year = *number < 30 ? 2000 + *number : 1900 + *number;
        } else {
          if (!(number = reader.Digits(4, 4))) return false;
          fields->year = *number;
        }
        break;
      case 'g':
        reader.SkipWord();
        break;
      case 'h':
      case 'H':
        if (!(number = reader.Digits(1, 2))) return false;
        fields->hour = *number;
        fields->twelveHour = c == 'h';
        break;
      case 'm':
        if (!(number = reader.Digits(1, 2))) return false;
        fields->minute = *number;
        break;
      case 's':
        if (!(number = reader.Digits(1, 2))) return false;
        fields->second = *number;
        break;
      case 't':
        if (!ReadMeridiem(reader, format, run == 1, fields)) return false;
        break;
      case ' ':
        reader.SkipBlanks();
        break;
      default:
        for (std::size_t k = 0; k < run; ++k) {
          if (!reader.Literal(std::string_view(&c, 1))) return false;
        }
        break;
    }
    i += run;
  }
  reader.SkipBlanks();
  return reader.AtEnd();
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long long DayNumber(int year, int month, int day) {
  const int y = year - (month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yearOfEra = y - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

std::optional<double> ToDouble(std::string_view text) {
  const DecimalValue number = ParseDecimal(text);
  if (!number.ok()) return std::nullopt;
  return number.value;
}

std::optional<std::int32_t> ToInt32(std::string_view text) {
  const std::optional<double> value = ToDouble(text);
  if (!value) return std::nullopt;
  const double rounded = std::nearbyint(*value);  // halves to the even neighbour
  if (rounded < std::numeric_limits<std::int32_t>::min() ||
      rounded > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

}  // namespace

std::optional<double> ParseDatePicture(std::string_view text, const DateTimeFormat& format) {
  Fields fields;
  if (!ReadPicture(text, format.datePicture, format, &fields)) return std::nullopt;
  if (fields.year < 0 || fields.month < 1 || fields.month > 12 || fields.day < 1 ||
      fields.day > DaysInMonth(fields.year, fields.month)) {
    return std::nullopt;
  }
  return static_cast<double>(DayNumber(fields.year, fields.month, fields.day));
}

std::optional<double> ParseTimePicture(std::string_view text, const DateTimeFormat& format) {
  Fields fields;
  if (!ReadPicture(text, format.timePicture, format, &fields)) return std::nullopt;
  if (fields.hour < 0) return std::nullopt;
  int hour = fields.hour;
  if (fields.twelveHour) {
    if (hour < 1 || hour > 12) return std::nullopt;
    if (fields.meridiem >= 0) hour = hour % 12 + (fields.meridiem == 1 ? 12 : 0);
  }
  const int minute = fields.minute < 0 ? 0 : fields.minute;
  const int second = fields.second < 0 ? 0 : fields.second;
  if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
  return (hour * 3600 + minute * 60 + second) / 86400.0;
}

std::optional<double> ParseDateTimeText(std::string_view text, const DateTimeFormat& format) {
  if (auto date = ParseDatePicture(text, format)) return date;
  if (auto time = ParseTimePicture(text, format)) return time;
  for (std::size_t split = text.find(' '); split != std::string_view::npos;
       split = text.find(' ', split + 1)) {
    auto date = ParseDatePicture(text.substr(0, split), format);
    if (!date) continue;
    if (auto time = ParseTimePicture(text.substr(split + 1), format)) return *date + *time;
  }
  return std::nullopt;
}

std::optional<SortKey> ConvertSortText(std::string_view text, int dataType,
                                       const DateTimeFormat& format) {
  switch (dataType) {
    case kSortAsInt32:
      if (auto value = ToInt32(text)) return SortKey(*value);
      return std::nullopt;
    case kSortAsDouble:
      if (auto value = ToDouble(text)) return SortKey(*value);
      return std::nullopt;
    case kSortAsDateTime:
      if (auto value = ParseDateTimeText(text, format)) return SortKey(*value);
      return std::nullopt;
    default:
      return SortKey(std::string(text));
  }
}

int CompareSortKeys(const std::optional<SortKey>& first, const std::optional<SortKey>& second,
                    int orderFlag) {
  const std::optional<SortKey>* a = &first;
  const std::optional<SortKey>* b = &second;
  if (orderFlag == 1) std::swap(a, b);
  if (!a->has_value() || !b->has_value()) {
    if (a->has_value() == b->has_value()) return 0;
    return a->has_value() ? 1 : -1;
  }
  if (**a < **b) return -1;
  if (**a == **b) return 0;
  return 1;
}

int CompareSortTexts(std::string_view first, std::string_view second, int dataType,
                     int orderFlag, const DateTimeFormat& format) {
  return CompareSortKeys(ConvertSortText(first, dataType, format),
                         ConvertSortText(second, dataType, format), orderFlag);
}

}  // namespace quelvar
