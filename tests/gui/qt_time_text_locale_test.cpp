#include "viewer/qt/qt_time_text_locale.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>
#include <QTime>

#include "viewer/time_text.h"

namespace quill {
namespace {

TEST(WithoutTimeZone, DropsTheZoneFieldWithTheBlankOrBracketsAroundIt) {
  EXPECT_EQ(WithoutTimeZone("h:mm:ss AP t"), "h:mm:ss AP");
  EXPECT_EQ(WithoutTimeZone("t HH:mm:ss"), "HH:mm:ss");
  EXPECT_EQ(WithoutTimeZone("H:mm:ss (t)"), "H:mm:ss");
  EXPECT_EQ(WithoutTimeZone("APh:mm:ss [t]"), "APh:mm:ss");
  EXPECT_EQ(WithoutTimeZone("HH:mm:ss tttt"), "HH:mm:ss");
  EXPECT_EQ(WithoutTimeZone("h:mm:ss AP, t"), "h:mm:ss AP");
  EXPECT_EQ(WithoutTimeZone("H:mm:ss 'ч'. t"), "H:mm:ss 'ч'.");
  EXPECT_EQ(WithoutTimeZone("'Klock' H.mm:ss"), "'Klock' H.mm:ss");  // quoted "t" stays
  EXPECT_EQ(WithoutTimeZone("HH:mm:ss"), "HH:mm:ss");
}

// Whether Qt reads back the date and times that it writes in the locale's
// formats; a handful of locales (some day-period markers, digits beyond the
// Basic Multilingual Plane) it cannot, and their time texts denote nothing.
bool QtReadsItsOwnTexts(const QLocale& locale, const QString& dateFormat, const QString& timeFormat) {
  const QDate date(2021, 6, 15);
  for (const QTime time : {QTime(1, 5, 2), QTime(13, 45, 30)}) {
    if (locale.toTime(locale.toString(time, timeFormat), timeFormat) != time) return false;
  }
  return locale.toDate(locale.toString(date, dateFormat), dateFormat).isValid();
}

// Every locale writes time texts without a zone and, wherever Qt can read its
// own date and time texts, reads back exactly the timestamp it wrote: the
// split between date and time and the two-digit years included.
TEST(QtTimeTextLocale, EveryLocaleReadsBackWhatItWrote) {
  const Timestamp samples[] = {
      29221.0,                                         // 1980-01-01, midnight
      44362.0 + 49530.0 / 86400.0,                     // 2021-06-15 13:45:30
      static_cast<double>(DaysSinceEpoch(2079, 12, 31)) + 86398.0 / 86400.0,
      static_cast<double>(DaysSinceEpoch(1999, 2, 28)) + 2.0 / 86400.0,
  };
  int readable = 0;
  const QList<QLocale> all =
      QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
  for (const QLocale& qtLocale : all) {
    const QtTimeTextLocale locale(qtLocale);
    const std::string name = qtLocale.name().toStdString();
    EXPECT_FALSE(locale.timeFormat().contains(u't')) << name;
    if (!QtReadsItsOwnTexts(qtLocale, locale.dateFormat(), locale.timeFormat())) continue;
    ++readable;
    for (const Timestamp t : samples) {
      const std::string text = TimeText(t, locale);
      const std::optional<Timestamp> back = TimeTextToTimestamp(text, locale);
      ASSERT_TRUE(back.has_value()) << name << " [" << text << "]";
      EXPECT_EQ(MillisecondCount(*back), MillisecondCount(t)) << name << " [" << text << "]";
    }
  }
  EXPECT_GT(readable, all.size() * 9 / 10);
}

}  // namespace
}  // namespace quill
