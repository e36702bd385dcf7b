#include "platform/core/date_time.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// Days from 0001-01-01 to the given date (day 1 = 0001-01-01).
long long dayNumber(int y, int m, int d) {
  long long yy = y - 1;
  long long n = yy * 365 + yy / 4 - yy / 100 + yy / 400;
  for (int i = 1; i < m; ++i) n += daysInMonth(y, i);
  return n + d;
}

const long long kDay18991230 = dayNumber(1899, 12, 30);

// Reads an unsigned decimal number of 1..maxDigits digits at pos.
bool readNumber(std::string_view s, size_t& pos, int maxDigits, int& out) {
  size_t start = pos;
  int value = 0;
  while (pos < s.size() && pos - start < size_t(maxDigits) && s[pos] >= '0' && s[pos] <= '9')
    value = value * 10 + (s[pos++] - '0');
  out = value;
  return pos > start;
}

bool readChar(std::string_view s, size_t& pos, char c) {
  if (pos < s.size() && s[pos] == c) { ++pos; return true; }
  return false;
}

std::optional<TDateTime> readTime(std::string_view s, size_t& pos) {
  int h = 0, n = 0, sec = 0;
  if (!readNumber(s, pos, 2, h) || !readChar(s, pos, ':') || !readNumber(s, pos, 2, n))
    return std::nullopt;
  int ms = 0;
  if (readChar(s, pos, ':')) {
    if (!readNumber(s, pos, 2, sec)) return std::nullopt;
    if (readChar(s, pos, '.')) {  // fraction of a second: 1 to 3 digits
      const size_t start = pos;
      if (!readNumber(s, pos, 3, ms)) return std::nullopt;
      for (size_t digits = pos - start; digits < 3; ++digits) ms *= 10;
    }
  }
  return TryEncodeTime(h, n, sec, ms);
}

}  // namespace

std::optional<TDateTime> TryEncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > daysInMonth(year, month))
    return std::nullopt;
  return double(dayNumber(year, month, day) - kDay18991230);
}

std::optional<TDateTime> TryEncodeTime(int hour, int minute, int second, int milliSecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      milliSecond < 0 || milliSecond > 999)
    return std::nullopt;
  return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + milliSecond) / 86400000.0;
}

TDateParts DecodeDateTime(TDateTime value) {
  TDateParts p;
  // OLE dates before 1899-12-30 keep the time fraction positive: -1.25 is 1899-12-29 06:00.
  double whole = std::trunc(value);
  double frac = std::fabs(value - whole);
  long long ms = std::llround(frac * 86400000.0);
  if (ms >= 86400000LL) { ms -= 86400000LL; whole += value < 0 ? -1 : 1; }
  long long n = (long long)whole + kDay18991230;  // day number since 0001-01-01
  // Walk years by 400/100/4/1 cycles.
  long long d = n - 1;
  long long y400 = d / 146097; d %= 146097;
  long long y100 = std::min<long long>(d / 36524, 3); d -= y100 * 36524;
  long long y4 = d / 1461; d %= 1461;
  long long y1 = std::min<long long>(d / 365, 3); d -= y1 * 365;
  p.Year = int(y400 * 400 + y100 * 100 + y4 * 4 + y1 + 1);
  p.Month = 1;
  while (d >= daysInMonth(p.Year, p.Month)) d -= daysInMonth(p.Year, p.Month++);
  p.Day = int(d + 1);
  p.Hour = int(ms / 3600000);
  p.Minute = int(ms / 60000 % 60);
  p.Second = int(ms / 1000 % 60);
  p.MilliSecond = int(ms % 1000);
  return p;
}

std::string DateTimeToStr(TDateTime value) {
  TDateParts p = DecodeDateTime(value);
  bool hasTime = p.Hour || p.Minute || p.Second || p.MilliSecond;
  bool hasDate = std::trunc(value) != 0 || !hasTime;
  char buf[48];
  if (hasDate && hasTime)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.Year, p.Month, p.Day, p.Hour,
                  p.Minute, p.Second);
  else if (hasDate)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.Year, p.Month, p.Day);
  else
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p.Hour, p.Minute, p.Second);
  return buf;
}

std::optional<TDateTime> TryStrToDateTime(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  size_t pos = 0;
  int a = 0, b = 0, c = 0;
  std::optional<TDateTime> date;
  if (!readNumber(text, pos, 4, a)) return std::nullopt;
  if (readChar(text, pos, '-')) {  // yyyy-mm-dd
    if (!readNumber(text, pos, 2, b) || !readChar(text, pos, '-') || !readNumber(text, pos, 2, c))
      return std::nullopt;
    date = TryEncodeDate(a, b, c);
  } else if (readChar(text, pos, '/')) {  // m/d/yyyy
    if (!readNumber(text, pos, 2, b) || !readChar(text, pos, '/') || !readNumber(text, pos, 4, c))
      return std::nullopt;
    date = TryEncodeDate(c, a, b);
  } else if (pos <= 2 && pos < text.size() && text[pos] == ':') {  // time only
    pos = 0;
    auto t = readTime(text, pos);
    return pos == text.size() ? t : std::nullopt;
  } else {
    return std::nullopt;
  }
  if (!date) return std::nullopt;
  if (pos == text.size()) return date;
  if (!readChar(text, pos, ' ') && !readChar(text, pos, 'T')) return std::nullopt;
  while (readChar(text, pos, ' ')) {}
  auto t = readTime(text, pos);
  if (!t || pos != text.size()) return std::nullopt;
  // OLE dates before 1899-12-30 carry the time as a positive fraction away from zero.
  return *date >= 0 ? *date + *t : *date - *t;
}
