#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/timestamp.h"

namespace quill {

// How the user's locale writes the two parts of a time text, the short date
// and the long time, and reads them back. The desktop program answers from
// the locale services; tests and the command line can answer with a fixed
// format. Texts are UTF-8.
class TimeTextLocale {
 public:
  virtual ~TimeTextLocale() = default;

  // The calendar date of the timestamp in the short date format.
  virtual std::string ShortDate(Timestamp t) const = 0;
  // The time of day of the timestamp in the long time format, without any
  // time zone.
  virtual std::string LongTime(Timestamp t) const = 0;

  // The whole days since 1899-12-30 that a text in the short date format
  // denotes, or nothing when the text is not such a date.
  virtual std::optional<double> ReadShortDate(std::string_view text) const = 0;
  // The fraction of a day that a text in the long time format denotes, or
  // nothing when the text is not such a time.
  virtual std::optional<double> ReadLongTime(std::string_view text) const = 0;
};

}  // namespace quill
