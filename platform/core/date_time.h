#pragma once
// TDateTime: days since 1899-12-30 as a double, the time of day in the fraction (the OLE
// automation date that Jet stores and the variant's date kind carries).
//
// Text forms are locale-free: "yyyy-mm-dd", "hh:nn:ss" and "yyyy-mm-dd hh:nn:ss". Parsing also
// accepts the US form "m/d/yyyy" that Jet date literals (#...#) use, and milliseconds after
// the seconds ("hh:nn:ss.zzz", one to three digits).
#include <optional>
#include <string>
#include <string_view>

using TDateTime = double;

struct TDateParts {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0, MilliSecond = 0;
};

// Whole days since 1899-12-30 for a valid proleptic Gregorian date; nullopt when invalid.
std::optional<TDateTime> TryEncodeDate(int year, int month, int day);
// Fraction of a day; nullopt when out of range.
std::optional<TDateTime> TryEncodeTime(int hour, int minute, int second, int milliSecond);
// Splits a TDateTime; the time part is rounded to the nearest millisecond.
TDateParts DecodeDateTime(TDateTime value);

// "yyyy-mm-dd" when there is no time, "hh:nn:ss" when there is no date, else both.
std::string DateTimeToStr(TDateTime value);
// Accepts the forms above and "m/d/yyyy[ h:n[:s[.z]]]", surrounding blanks ignored.
std::optional<TDateTime> TryStrToDateTime(std::string_view text);
