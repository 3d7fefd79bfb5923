#include "cli/iso_date_time.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace quill {
namespace {

constexpr std::int64_t kDaysFrom1899To1970 = 25569;
constexpr std::int64_t kSecondsPerDay = 86400;

struct CivilDate {
  std::int64_t year;
  int month;
  int day;
};

// The calendar date of a day count from 1970-01-01 (H. Hinnant's algorithm,
// the inverse of DaysSinceEpoch).
CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t doe = days - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

}  // namespace

std::string IsoDateTimeText(Timestamp timestamp) {
  // Whole seconds since the epoch, rounded, so that a time stored as a
  // fraction of a day does not lose a second to the floating point.
  const auto seconds = static_cast<std::int64_t>(std::llround(timestamp * kSecondsPerDay));
  std::int64_t days = seconds / kSecondsPerDay;
  std::int64_t secondOfDay = seconds % kSecondsPerDay;
  if (secondOfDay < 0) {
    secondOfDay += kSecondsPerDay;
    --days;
  }
  const CivilDate date = CivilFromDays(days - kDaysFrom1899To1970);
  char text[48];
  std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02lld:%02lld:%02lld",
                static_cast<long long>(date.year), date.month, date.day,
                static_cast<long long>(secondOfDay / 3600),
                static_cast<long long>(secondOfDay / 60 % 60),
                static_cast<long long>(secondOfDay % 60));
  return text;
}

}  // namespace quill
