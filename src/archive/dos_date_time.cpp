#include "archive/dos_date_time.h"

#include "archive/archive_error_kinds.h"

namespace quill {

Timestamp DosDateTimeToTimestamp(std::uint32_t value) {
  const std::uint32_t date = value >> 16;
  const std::uint32_t time = value & 0xFFFF;

  // Bits 9-15 years since 1980, 5-8 month, 0-4 day.
  const int year = 1980 + static_cast<int>(date >> 9);
  const int month = static_cast<int>((date >> 5) & 15);
  const int day = static_cast<int>(date & 31);
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
    throw EConvertError("Invalid argument to date encode");
  }

  // Bits 11-15 hours, 5-10 minutes, 0-4 seconds in units of two.
  const int hours = static_cast<int>(time >> 11);
  const int minutes = static_cast<int>((time >> 5) & 63);
  const int seconds = static_cast<int>(time & 31) * 2;
  if (hours >= 24 || minutes >= 60 || seconds >= 60) {
    throw EConvertError("Invalid argument to time encode");
  }

  const double milliseconds = hours * 3600000.0 + minutes * 60000.0 + seconds * 1000.0;
  return static_cast<double>(DaysSinceEpoch(year, month, day)) + milliseconds / kMillisecondsPerDay;
}

}  // namespace quill
