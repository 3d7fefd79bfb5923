#pragma once

#include "base/timestamp.h"

namespace quill {

// Item indexes of the main window's time-resolution radio group.
inline constexpr int kResolutionDay = 0;
inline constexpr int kResolutionHour = 1;
inline constexpr int kResolutionMin = 2;
inline constexpr int kResolutionSec = 3;
inline constexpr int kResolutionFull = 4;

// The captions of those items, by index.
inline constexpr const char* kResolutionNames[] = {"Day", "Hour", "Min", "Sec", "Full"};

// Whether a document time is the same as the reference time at a resolution
// value: 0 equal millisecond counts; 1 the reference lies within the
// calendar day of the document time; 2, 3, 4 the two times lie less than an
// hour, a minute, a second apart (a distance, not equal clock fields).
// Raises Exception "Invalid resolution value (%d) provided." for any other value.
bool SameAtResolution(int resolution, Timestamp reference, Timestamp document);

// Exact equality: the same day and the same millisecond of that day, or equal
// millisecond counts.
bool SameTimestamp(Timestamp a, Timestamp b);

// The comparison that a time-resolution item index selects: "Day", "Hour",
// "Min" and "Sec" compare at resolution values 1 to 4, "Full" exactly.
// Raises EArgumentOutOfRangeException "Argument out of range" for an index
// outside 0 to 4 (a radio group with nothing selected).
bool SameAtTimeResolution(int timeResolution, Timestamp reference, Timestamp document);

}  // namespace quill
