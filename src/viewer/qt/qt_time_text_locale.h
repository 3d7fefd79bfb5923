#pragma once

#include <QLocale>
#include <QString>

#include "viewer/time_text_locale.h"

namespace quill {

// The time texts of the user's locale (QLocale's default, the system locale
// unless a program sets another): its short date format and its long time
// format without the time-zone field, read back with the same formats. A
// short date with a two-digit year reads years 80 to 99 as 1980 to 1999 and
// 00 to 79 as 2000 to 2079, the span in which MS-DOS times begin.
class QtTimeTextLocale final : public TimeTextLocale {
 public:
  explicit QtTimeTextLocale(const QLocale& locale = QLocale());

  std::string ShortDate(Timestamp t) const override;
  std::string LongTime(Timestamp t) const override;
  std::optional<double> ReadShortDate(std::string_view text) const override;
  std::optional<double> ReadLongTime(std::string_view text) const override;

  const QString& timeFormat() const { return timeFormat_; }

 private:
  QLocale locale_;
  QString dateFormat_;
  QString timeFormat_;
  bool twoDigitYear_;
};

// A time format without its time-zone field ("t" in any length) and without
// the separator or the brackets that only served that field: "h:mm:ss AP t"
// gives "h:mm:ss AP", "h:mm:ss AP, t" and "H:mm:ss (t)" give the time alone,
// "t HH:mm:ss" gives "HH:mm:ss". Quoted literal text stays.
QString WithoutTimeZone(const QString& timeFormat);

}  // namespace quill
