#include "base/iso_date_time.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace quill {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

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
  const CivilDate date = DateFromDays(days);
  char text[48];
  std::snprintf(
      text, sizeof text, "%04lld-%02d-%02dT%02lld:%02lld:%02lld", static_cast<long long>(date.year),
      date.month, date.day, static_cast<long long>(secondOfDay / 3600),
      static_cast<long long>(secondOfDay / 60 % 60), static_cast<long long>(secondOfDay % 60));
  return text;
}

}  // namespace quill
