#include "viewer/time_text.h"

namespace quill {

std::string TimeText(Timestamp t, const TimeTextLocale& locale) {
  const std::string date = locale.ShortDate(t);
  if (MillisecondCount(t) % static_cast<std::int64_t>(kMillisecondsPerDay) == 0) return date;
  return date + ' ' + locale.LongTime(t);
}

std::optional<Timestamp> TimeTextToTimestamp(std::string_view text, const TimeTextLocale& locale) {
  if (const std::optional<double> date = locale.ReadShortDate(text)) return *date;
  // A date format may hold blanks of its own ("yyyy. MM. dd."), so every
  // blank is tried as the one between the date and the time.
  for (std::size_t blank = text.find(' '); blank != std::string_view::npos;
       blank = text.find(' ', blank + 1)) {
    const std::optional<double> date = locale.ReadShortDate(text.substr(0, blank));
    if (!date) continue;
    if (const std::optional<double> time = locale.ReadLongTime(text.substr(blank + 1))) {
      return *date + *time;
    }
  }
  return std::nullopt;
}

int CompareTimestamps(std::optional<Timestamp> a, std::optional<Timestamp> b) {
  if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
  // Whole milliseconds since the epoch name the day and the millisecond of
  // the day together, free of the fraction's rounding noise.
  const std::int64_t msA = MillisecondCount(*a);
  const std::int64_t msB = MillisecondCount(*b);
  return msA < msB ? -1 : (msA > msB ? 1 : 0);
}

int CompareDateTexts(std::string_view a, std::string_view b, const TimeTextLocale& locale) {
  return CompareTimestamps(TimeTextToTimestamp(a, locale), TimeTextToTimestamp(b, locale));
}

}  // namespace quill
