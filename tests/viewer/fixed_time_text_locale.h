#pragma once

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "base/timestamp.h"
#include "viewer/time_text_locale.h"

namespace quill::testing {

// A locale with fixed formats for tests: the short date as year, month and
// day (4, 2 and 2 digits) joined by `dateSeparator`, the long time as
// "HH:MM:SS". Reading is strict: anything else denotes nothing.
class FixedTimeTextLocale final : public TimeTextLocale {
 public:
  explicit FixedTimeTextLocale(std::string dateSeparator = "-")
      : separator_(std::move(dateSeparator)) {}

  std::string ShortDate(Timestamp t) const override {
    int year = 0, month = 0, day = 0;
    CivilFromDays(static_cast<long>(std::floor(t)), year, month, day);
    char text[64];
    std::snprintf(text, sizeof text, "%04d%s%02d%s%02d", year, separator_.c_str(), month,
                  separator_.c_str(), day);
    return text;
  }

  std::string LongTime(Timestamp t) const override {
    const long seconds = static_cast<long>(MillisecondCount(t) / 1000 % 86400);
    char text[16];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
  }

  std::optional<double> ReadShortDate(std::string_view text) const override {
    int year = 0, month = 0, day = 0;
    if (!Number(text, 4, year) || !Literal(text, separator_) || !Number(text, 2, month) ||
        !Literal(text, separator_) || !Number(text, 2, day) || !text.empty()) {
      return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
    return static_cast<double>(DaysSinceEpoch(year, month, day));
  }

  std::optional<double> ReadLongTime(std::string_view text) const override {
    int hours = 0, minutes = 0, seconds = 0;
    if (!Number(text, 2, hours) || !Literal(text, ":") || !Number(text, 2, minutes) ||
        !Literal(text, ":") || !Number(text, 2, seconds) || !text.empty()) {
      return std::nullopt;
    }
    if (hours > 23 || minutes > 59 || seconds > 59) return std::nullopt;
    return (hours * 3600 + minutes * 60 + seconds) / 86400.0;
  }

 private:
  static bool Number(std::string_view& text, std::size_t digits, int& value) {
    if (text.size() < digits) return false;
    value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(digits);
    return true;
  }
  static bool Literal(std::string_view& text, std::string_view literal) {
    if (text.substr(0, literal.size()) != literal) return false;
    text.remove_prefix(literal.size());
    return true;
  }
  // Days since 1899-12-30 to a calendar date (H. Hinnant's civil_from_days).
  static void CivilFromDays(long days, int& year, int& month, int& day) {
    const long z = days - 25569 + 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  }

  std::string separator_;
};

}  // namespace quill::testing
