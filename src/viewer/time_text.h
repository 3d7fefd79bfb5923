#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/timestamp.h"
#include "viewer/time_text_locale.h"

namespace quill {

// The time text of a timestamp: the short date, a blank and the long time;
// at exactly 00:00:00 the date alone.
std::string TimeText(Timestamp t, const TimeTextLocale& locale);

// The timestamp that a time text denotes under the same locale: a short date
// alone (midnight) or a short date, a blank and a long time. Nothing when the
// text is neither, an empty text included.
std::optional<Timestamp> TimeTextToTimestamp(std::string_view text, const TimeTextLocale& locale);

// Orders two timestamps: 0 when they fall on the same day and the same
// millisecond of that day, -1 when a is earlier, 1 when a is later. A missing
// timestamp comes before every timestamp and equals another missing one.
int CompareTimestamps(std::optional<Timestamp> a, std::optional<Timestamp> b);

// Orders two time texts by the timestamps that they denote (see above); a text
// that denotes none comes before every time.
int CompareDateTexts(std::string_view a, std::string_view b, const TimeTextLocale& locale);

}  // namespace quill
