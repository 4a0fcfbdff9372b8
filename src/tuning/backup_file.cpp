// The backup file's line format; see backup_file.h.
#include "tuning/backup_file.h"

#include "base/decimal_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace quelvar {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Exactly `count` digits at `text[at]`, as a number.
bool ParseDigits(std::string_view text, std::size_t at, std::size_t count, int* value) {
  if (at + count > text.size()) return false;
  int result = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (!IsDigit(text[i])) return false;
    result = result * 10 + (text[i] - '0');
  }
  *value = result;
  return true;
}

// The value of one hexadecimal digit, or -1.
int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr std::string_view kTypedPrefix = "hex(";

bool IsCalendarDay(int year, int month, int day) {
  static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month != 2 || day != 29 || leap;
}

}  // namespace

bool IsRecordableText(std::string_view text) {
  return text.find_first_of("\"\r\n") == std::string_view::npos;
}

std::string FormatBackupNumber(double value) {
  if (value == 0 || !std::isfinite(value)) return "0";  // also turns -0 into 0
  // %.15G: full digits below 1E+15, exponent form with up to 15 significant digits above and
  // below 1E-5, trailing zeros dropped ("1E+15", "1.23456789012346E+17", "0.5").
  char buffer[40];
  std::snprintf(buffer, sizeof(buffer), "%.15G", value);
  std::string text(buffer);
  for (char& c : text) {
    if (c == ',') c = '.';  // whatever the C library's locale, a full stop
  }
  return text;
}

void BackupFileWriter::Line(std::string_view item) {
  m_contents.append(item);
  m_contents.append("\r\n");
}

void BackupFileWriter::Date(const LocalDateTime& when) {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "#%04d-%02d-%02d#", when.year, when.month, when.day);
  Line(buffer);
}

void BackupFileWriter::Time(const LocalDateTime& when) {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "#%02d:%02d:%02d#", when.hour, when.minute, when.second);
  Line(buffer);
}

void BackupFileWriter::Integer(std::int32_t value) { Line(std::to_string(value)); }

void BackupFileWriter::Number(double value) { Line(FormatBackupNumber(value)); }

void BackupFileWriter::String(std::string_view text) {
  std::string item;
  item.reserve(text.size() + 2);
  item += '"';
  item += text;
  item += '"';
  Line(item);
}

void BackupFileWriter::Typed(const RegData& value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  char type[16];
  std::snprintf(type, sizeof(type), "%x", static_cast<unsigned>(value.type));
  std::string item = "\"";
  item.reserve(value.data.size() * 3 + 20);
  item += kTypedPrefix;
  item += type;
  item += "):";
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    if (i != 0) item += ',';
    item += kDigits[value.data[i] >> 4];
    item += kDigits[value.data[i] & 0x0F];
  }
  item += '"';
  Line(item);
}

BackupFileReader::BackupFileReader(std::string_view contents) : m_contents(contents) {
  const auto breaks = std::count(m_contents.begin(), m_contents.end(), '\n');
  m_lineCount = static_cast<int>(breaks) + (EndsInsideALine() ? 1 : 0);
}

BackupRead BackupFileReader::PeekAnyLine(std::string_view* line, std::size_t* next) const {
  if (AtEnd()) return BackupRead::kEndOfFile;
  const std::size_t lf = m_contents.find('\n', m_position);
  std::size_t end = lf == std::string_view::npos ? m_contents.size() : lf;
  *next = lf == std::string_view::npos ? m_contents.size() : lf + 1;
  if (end > m_position && m_contents[end - 1] == '\r') --end;
  *line = m_contents.substr(m_position, end - m_position);
  return BackupRead::kOk;
}

BackupRead BackupFileReader::PeekLine(std::string_view* line, std::size_t* next) const {
  if (BackupRead r = PeekAnyLine(line, next); r != BackupRead::kOk) return r;
  if (line->find('\r') != std::string_view::npos) return BackupRead::kMalformed;
  return BackupRead::kOk;
}

BackupRead BackupFileReader::SkipLine() {
  std::string_view line;
  std::size_t next = 0;
  if (BackupRead r = PeekAnyLine(&line, &next); r != BackupRead::kOk) return r;
  Advance(next);
  return BackupRead::kOk;
}

std::string_view BackupFileReader::NextLineText() const {
  std::string_view line;
  std::size_t next = 0;
  return PeekAnyLine(&line, &next) == BackupRead::kOk ? line : std::string_view();
}

bool BackupFileReader::EndsInsideALine() const {
  return !m_contents.empty() && m_contents.back() != '\n';
}

void BackupFileReader::Advance(std::size_t next) {
  m_position = next;
  ++m_lineNumber;
}

BackupRead BackupFileReader::ReadDate(LocalDateTime* date) {
  std::string_view line;
  std::size_t next = 0;
  if (BackupRead r = PeekLine(&line, &next); r != BackupRead::kOk) return r;
  int year = 0, month = 0, day = 0;
  if (line.size() != 12 || line[0] != '#' || line[5] != '-' || line[8] != '-' || line[11] != '#' ||
      !ParseDigits(line, 1, 4, &year) || !ParseDigits(line, 6, 2, &month) ||
      !ParseDigits(line, 9, 2, &day) || !IsCalendarDay(year, month, day)) {
    return BackupRead::kMalformed;
  }
  date->year = year;
  date->month = month;
  date->day = day;
  Advance(next);
  return BackupRead::kOk;
}

BackupRead BackupFileReader::ReadTime(LocalDateTime* time) {
  std::string_view line;
  std::size_t next = 0;
  if (BackupRead r = PeekLine(&line, &next); r != BackupRead::kOk) return r;
  int hour = 0, minute = 0, second = 0;
  if (line.size() != 10 || line[0] != '#' || line[3] != ':' || line[6] != ':' || line[9] != '#' ||
      !ParseDigits(line, 1, 2, &hour) || !ParseDigits(line, 4, 2, &minute) ||
      !ParseDigits(line, 7, 2, &second) || hour > 23 || minute > 59 || second > 59) {
    return BackupRead::kMalformed;
  }
  time->hour = hour;
  time->minute = minute;
  time->second = second;
  Advance(next);
  return BackupRead::kOk;
}

BackupRead BackupFileReader::ReadInteger(std::int32_t* value) {
  std::string_view line;
  std::size_t next = 0;
  if (BackupRead r = PeekLine(&line, &next); r != BackupRead::kOk) return r;
  const std::optional<std::int32_t> result = ParseDecimalInt32Record(line);
  if (!result) return BackupRead::kMalformed;
  *value = *result;
  Advance(next);
  return BackupRead::kOk;
}

BackupRead BackupFileReader::ReadNumber(double* value) {
  std::string_view line;
  std::size_t next = 0;
  if (BackupRead r = PeekLine(&line, &next); r != BackupRead::kOk) return r;
  const DecimalValue result = ParseDecimalRecord(line);
  if (result.fault == DecimalFault::kOutOfRange) return BackupRead::kOutOfRange;
  if (!result.ok()) return BackupRead::kMalformed;
  *value = result.value;
  Advance(next);
  return BackupRead::kOk;
}

BackupRead BackupFileReader::ReadString(std::string* text) {
  std::string_view line;
  std::size_t next = 0;
  if (BackupRead r = PeekLine(&line, &next); r != BackupRead::kOk) return r;
  if (line.size() < 2 || line.front() != '"' || line.back() != '"') return BackupRead::kMalformed;
  const std::string_view inner = line.substr(1, line.size() - 2);
  if (inner.find('"') != std::string_view::npos) return BackupRead::kMalformed;
  *text = std::string(inner);
  Advance(next);
  return BackupRead::kOk;
}

BackupRead BackupFileReader::ReadTyped(RegData* value) {
  std::string_view line;
  std::size_t next = 0;
  if (BackupRead r = PeekLine(&line, &next); r != BackupRead::kOk) return r;
  // "hex(" type "):" then bytes, all inside the quotes.
  if (line.size() < 2 || line.front() != '"' || line.back() != '"') return BackupRead::kMalformed;
  std::string_view text = line.substr(1, line.size() - 2);
  if (text.substr(0, kTypedPrefix.size()) != kTypedPrefix) return BackupRead::kMalformed;
  text.remove_prefix(kTypedPrefix.size());
  const std::size_t close = text.find("):");
  if (close == 0 || close == std::string_view::npos || close > 8) return BackupRead::kMalformed;
  std::uint32_t type = 0;
  for (char c : text.substr(0, close)) {
    const int digit = HexDigit(c);
    if (digit < 0) return BackupRead::kMalformed;
    type = type * 16 + static_cast<std::uint32_t>(digit);
  }
  text.remove_prefix(close + 2);
  std::vector<std::uint8_t> data;
  data.reserve((text.size() + 1) / 3);
  for (std::size_t at = 0; at < text.size(); at += 3) {
    if (at + 2 > text.size() || (at + 2 < text.size() && text[at + 2] != ',') ||
        at + 3 == text.size()) {
      return BackupRead::kMalformed;
    }
    const int high = HexDigit(text[at]);
    const int low = HexDigit(text[at + 1]);
    if (high < 0 || low < 0) return BackupRead::kMalformed;
    data.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  value->type = type;
  value->data = std::move(data);
  Advance(next);
  return BackupRead::kOk;
}

}  // namespace quelvar
