#include "viewer/time_text.h"

#include <gtest/gtest.h>

#include "fixed_time_text_locale.h"

namespace quill {
namespace {

using testing::FixedTimeTextLocale;

// 2021-06-15 and the same day at 13:45:30.
constexpr Timestamp kJune15 = 44362.0;
constexpr Timestamp kJune15Afternoon = 44362.0 + 49530.0 / 86400.0;

TEST(TimeText, WritesDateBlankTimeAndTheDateAloneAtMidnight) {
  const FixedTimeTextLocale locale;
  EXPECT_EQ(TimeText(kJune15Afternoon, locale), "2021-06-15 13:45:30");
  EXPECT_EQ(TimeText(kJune15, locale), "2021-06-15");
  EXPECT_EQ(TimeText(kJune15 + 2.0 / 86400.0, locale), "2021-06-15 00:00:02");
  EXPECT_EQ(TimeText(29221.0, locale), "1980-01-01");
}

TEST(TimeText, ReadsBackWhatItWrote) {
  for (const char* separator : {"-", ". "}) {  // ". " puts blanks into the date itself
    const FixedTimeTextLocale locale(separator);
    for (const Timestamp t : {kJune15, kJune15Afternoon, 29221.0, 29221.0 + 86399.0 / 86400.0}) {
      const std::optional<Timestamp> back = TimeTextToTimestamp(TimeText(t, locale), locale);
      ASSERT_TRUE(back.has_value()) << TimeText(t, locale);
      EXPECT_EQ(MillisecondCount(*back), MillisecondCount(t)) << TimeText(t, locale);
    }
  }
}

TEST(TimeText, TextsThatDenoteNoTimeReadAsNothing) {
  const FixedTimeTextLocale locale;
  for (const char* text : {"", " ", "2021-06-15 ", "2021-06-15 25:00:00", "2021-13-01", "13:45:30",
                           "2021-06-15  13:45:30", "2021-06-15 13:45:30 x"}) {
    EXPECT_FALSE(TimeTextToTimestamp(text, locale).has_value()) << '"' << text << '"';
  }
}

TEST(CompareDateTexts, OrdersByTheDenotedTimestamp) {
  const FixedTimeTextLocale locale;
  EXPECT_EQ(CompareDateTexts("2021-06-15", "2021-06-15 00:00:02", locale), -1);
  EXPECT_EQ(CompareDateTexts("2021-06-15 13:45:30", "2021-06-14 23:59:58", locale), 1);
  EXPECT_EQ(CompareDateTexts("2021-06-15 13:45:30", "2021-06-15 13:45:30", locale), 0);
  // Same day, same millisecond, written differently.
  EXPECT_EQ(CompareDateTexts("2021-06-15", "2021-06-15 00:00:00", locale), 0);
}

TEST(CompareDateTexts, ATextWithoutATimeComesFirstAndEqualsAnother) {
  const FixedTimeTextLocale locale;
  EXPECT_EQ(CompareDateTexts("", "1980-01-01", locale), -1);
  EXPECT_EQ(CompareDateTexts("1980-01-01", "garbage", locale), 1);
  EXPECT_EQ(CompareDateTexts("", "garbage", locale), 0);
}

TEST(CompareTimestamps, ComparesWholeMillisecondsNotTheFractionsNoise) {
  const Timestamp t = kJune15Afternoon;
  EXPECT_EQ(CompareTimestamps(t, t + 1e-12), 0);
  EXPECT_EQ(CompareTimestamps(t, t + 1.0 / kMillisecondsPerDay), -1);
  EXPECT_EQ(CompareTimestamps(t + 1.0, t), 1);
  EXPECT_EQ(CompareTimestamps(std::nullopt, 0.0), -1);
}

}  // namespace
}  // namespace quill
