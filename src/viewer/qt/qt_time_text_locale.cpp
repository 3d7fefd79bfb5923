#include "viewer/qt/qt_time_text_locale.h"

#include <QDate>
#include <QTime>

namespace quill {
namespace {

const QDate kEpoch(1899, 12, 30);
constexpr std::int64_t kMillisecondsPerDayInt = 86400000;
// MS-DOS dates begin in 1980; a two-digit year below 80 is of the next century.
constexpr int kFirstDosYear = 1980;

QDate DateOf(Timestamp t) {
  const std::int64_t ms = MillisecondCount(t);
  const std::int64_t days = ms / kMillisecondsPerDayInt - (ms % kMillisecondsPerDayInt < 0 ? 1 : 0);
  return kEpoch.addDays(days);
}

QTime TimeOf(Timestamp t) {
  const std::int64_t ms = MillisecondCount(t) % kMillisecondsPerDayInt;
  return QTime::fromMSecsSinceStartOfDay(
      static_cast<int>(ms < 0 ? ms + kMillisecondsPerDayInt : ms));
}

// Whether the format's year field, outside quoted text, has exactly two letters.
bool HasTwoDigitYear(const QString& format) {
  bool quoted = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    if (format[i] == u'\'') {
      quoted = !quoted;
    } else if (!quoted && format[i] == u'y') {
      qsizetype end = i;
      while (end < format.size() && format[end] == u'y') ++end;
      if (end - i == 2) return true;
      i = end - 1;
    }
  }
  return false;
}

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString WithoutTimeZone(const QString& timeFormat) {
  QString format;
  bool quoted = false;
  for (qsizetype i = 0; i < timeFormat.size(); ++i) {
    const QChar c = timeFormat[i];
    if (c == u'\'') quoted = !quoted;
    if (quoted || c != u't') {
      format += c;
      continue;
    }
    while (i + 1 < timeFormat.size() && timeFormat[i + 1] == u't') ++i;
    const QChar next = i + 1 < timeFormat.size() ? timeFormat[i + 1] : QChar();
    if ((format.endsWith(u'(') && next == u')') || (format.endsWith(u'[') && next == u']')) {
      format.chop(1);
      ++i;
    }
    // The separator that led to the zone (" ", ", ") goes with it; a zone
    // that leads the format takes the separator after it.
    const auto separator = [](QChar s) { return s == u' ' || s == u','; };
    if (!format.isEmpty()) {
      while (!format.isEmpty() && separator(format.back())) format.chop(1);
    } else {
      while (i + 1 < timeFormat.size() && separator(timeFormat[i + 1])) ++i;
    }
  }
  return format;
}

QtTimeTextLocale::QtTimeTextLocale(const QLocale& locale)
    : locale_(locale),
      dateFormat_(locale.dateFormat(QLocale::ShortFormat)),
      timeFormat_(WithoutTimeZone(locale.timeFormat(QLocale::LongFormat))),
      twoDigitYear_(HasTwoDigitYear(dateFormat_)) {}

std::string QtTimeTextLocale::ShortDate(Timestamp t) const {
  return locale_.toString(DateOf(t), dateFormat_).toStdString();
}

std::string QtTimeTextLocale::LongTime(Timestamp t) const {
  return locale_.toString(TimeOf(t), timeFormat_).toStdString();
}

std::optional<double> QtTimeTextLocale::ReadShortDate(std::string_view text) const {
  QDate date = locale_.toDate(FromUtf8(text), dateFormat_);
  if (!date.isValid()) return std::nullopt;
  if (twoDigitYear_ && date.year() < kFirstDosYear) date = date.addYears(100);
  return static_cast<double>(kEpoch.daysTo(date));
}

std::optional<double> QtTimeTextLocale::ReadLongTime(std::string_view text) const {
  const QTime time = locale_.toTime(FromUtf8(text), timeFormat_);
  if (!time.isValid()) return std::nullopt;
  return time.msecsSinceStartOfDay() / static_cast<double>(kMillisecondsPerDayInt);
}

}  // namespace quill
