#include "viewer/qt/qt_time_text_locale.h"

#include <gtest/gtest.h>

#include <QLocale>

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

// Locales of every shape of format: the zone after the time, before it, after
// a comma or in brackets; blanks, quoted words and day-period markers in the
// formats; two- and four-digit years; digits other than ASCII.
const char* const kLocales[] = {
    "C",      "en_US", "en_GB", "de_DE", "hu_HU", "ja_JP", "zh_CN", "zh_TW",  "zh_HK",
    "ko_KR",  "fr_FR", "fr_CA", "fr_CH", "ar_EG", "fa_IR", "ru_RU", "bg_BG",  "fi_FI",
    "da_DK",  "sq_AL", "es_ES", "ca_ES", "nn_NO", "eo",    "th_TH", "lo_LA",  "my_MM",
    "nds_DE", "hi_IN", "he_IL", "el_GR", "tr_TR", "pl_PL", "pt_BR", "nus_SS", "dz_BT"};

// Each locale writes time texts without a zone and reads back exactly the
// timestamp it wrote: the split between date and time and the two-digit
// years included.
TEST(QtTimeTextLocale, ReadsBackWhatItWrote) {
  const Timestamp samples[] = {
      29221.0,                      // 1980-01-01, midnight
      44362.0 + 49530.0 / 86400.0,  // 2021-06-15 13:45:30
      static_cast<double>(DaysSinceEpoch(2079, 12, 31)) + 86398.0 / 86400.0,
      static_cast<double>(DaysSinceEpoch(1999, 2, 28)) + 3902.0 / 86400.0,  // 01:05:02
  };
  for (const char* name : kLocales) {
    const QtTimeTextLocale locale{QLocale(QString::fromLatin1(name))};
    EXPECT_FALSE(locale.timeFormat().contains(u't')) << name;
    for (const Timestamp t : samples) {
      const std::string text = TimeText(t, locale);
      EXPECT_EQ(text.find("UTC"), std::string::npos) << name << " [" << text << "]";
      const std::optional<Timestamp> back = TimeTextToTimestamp(text, locale);
      ASSERT_TRUE(back.has_value()) << name << " [" << text << "]";
      EXPECT_EQ(MillisecondCount(*back), MillisecondCount(t)) << name << " [" << text << "]";
    }
  }
}

}  // namespace
}  // namespace quill
