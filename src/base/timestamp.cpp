#include "base/timestamp.h"

#include <cmath>

namespace quill {

std::int64_t MillisecondCount(Timestamp t) {
  // nearbyint rounds in the current mode, which is round-half-to-even unless a
  // caller changed it; the code never does.
  return static_cast<std::int64_t>(std::nearbyint(t * kMillisecondsPerDay));
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::int64_t DaysSinceEpoch(int year, int month, int day) {
  // Days from civil (H. Hinnant's algorithm), shifted from 1970-01-01 to
  // 1899-12-30, which lies 25569 days earlier.
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int mp = (month + 9) % 12;
  const int doy = (153 * mp + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t daysFrom1970 = static_cast<std::int64_t>(era) * 146097 + doe - 719468;
  return daysFrom1970 + 25569;
}

CivilDate DateFromDays(std::int64_t days) {
  // Civil from days (the same algorithm backwards), counted from 0000-03-01.
  days += 719468 - 25569;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t doe = days - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

}  // namespace quill
