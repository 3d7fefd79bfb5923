#pragma once

#include <cstdint>

namespace quill {

// Days since 1899-12-30 00:00, the time of day as the fraction.
using Timestamp = double;

inline constexpr double kMillisecondsPerDay = 86400000.0;

// The timestamp times 86 400 000, rounded to the nearest whole number, halves
// to even.
std::int64_t MillisecondCount(Timestamp t);

// Days from 1899-12-30 to the given calendar date (proleptic Gregorian).
std::int64_t DaysSinceEpoch(int year, int month, int day);

// A calendar date of the proleptic Gregorian calendar.
struct CivilDate {
  std::int64_t year;
  int month;  // 1 to 12
  int day;    // 1 to 31
};

// The calendar date that lies the given number of days after 1899-12-30: the
// inverse of DaysSinceEpoch.
CivilDate DateFromDays(std::int64_t days);

// Whether the year is a leap year of the Gregorian calendar.
bool IsLeapYear(int year);

// Number of days of the month (1 to 12) in the year.
int DaysInMonth(int year, int month);

}  // namespace quill
