#include "base/time_resolution.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/error_kinds.h"

namespace quill {
namespace {

constexpr std::int64_t kMillisecondsPerHour = 3600000;
constexpr std::int64_t kMillisecondsPerMinute = 60000;
constexpr std::int64_t kMillisecondsPerSecond = 1000;

bool WithinDistance(Timestamp a, Timestamp b, std::int64_t unit) {
  return std::llabs(MillisecondCount(a) - MillisecondCount(b)) < unit;
}

// The time of day in whole milliseconds; the fraction's sign is dropped, as
// times before the epoch count their time of day forward too.
std::int64_t MillisecondOfDay(Timestamp t) {
  return static_cast<std::int64_t>(
      std::nearbyint(std::fabs(t - std::trunc(t)) * kMillisecondsPerDay));
}

}  // namespace

bool SameAtResolution(int resolution, Timestamp reference, Timestamp document) {
  switch (resolution) {
    case 0:
      return MillisecondCount(reference) == MillisecondCount(document);
    case 1: {
      const double day = std::trunc(document);
      return day <= reference && reference < day + 1;
    }
    case 2:
      return WithinDistance(reference, document, kMillisecondsPerHour);
    case 3:
      return WithinDistance(reference, document, kMillisecondsPerMinute);
    case 4:
      return WithinDistance(reference, document, kMillisecondsPerSecond);
    default:
      throw Exception("Invalid resolution value (" + std::to_string(resolution) + ") provided.");
  }
}

bool SameTimestamp(Timestamp a, Timestamp b) {
  if (MillisecondCount(a) == MillisecondCount(b)) return true;
  return std::trunc(a) == std::trunc(b) && MillisecondOfDay(a) == MillisecondOfDay(b);
}

bool SameAtTimeResolution(int timeResolution, Timestamp reference, Timestamp document) {
  if (timeResolution == kResolutionFull) return SameTimestamp(reference, document);
  if (timeResolution < kResolutionDay || timeResolution > kResolutionFull) {
    throw EArgumentOutOfRangeException("Argument out of range");
  }
  // "Day" to "Sec" are resolution values 1 to 4.
  return SameAtResolution(timeResolution + 1, reference, document);
}

}  // namespace quill
