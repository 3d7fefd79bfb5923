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

}  // namespace quill
