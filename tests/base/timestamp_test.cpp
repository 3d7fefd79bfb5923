#include "base/timestamp.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quill {
namespace {

TEST(Timestamp, DaysAreCountedFromTheLastDaysOf1899) {
  EXPECT_EQ(DaysSinceEpoch(1899, 12, 30), 0);
  EXPECT_EQ(DaysSinceEpoch(1980, 1, 1), 29221);
  EXPECT_EQ(DaysSinceEpoch(2021, 6, 15), 44362);
  EXPECT_EQ(DaysSinceEpoch(1899, 12, 29), -1);
}

TEST(Timestamp, DayCountsTurnBackIntoTheirCalendarDates) {
  // Every day from 1600 to 2400 (leap days of 1600, 2000 and 2400, none in
  // 1700, 1800, 1900 and 2100) and back again.
  for (std::int64_t days = DaysSinceEpoch(1600, 1, 1); days <= DaysSinceEpoch(2400, 12, 31);
       ++days) {
    const CivilDate date = DateFromDays(days);
    ASSERT_EQ(DaysSinceEpoch(static_cast<int>(date.year), date.month, date.day), days) << days;
    ASSERT_GE(date.day, 1);
    ASSERT_LE(date.day, DaysInMonth(static_cast<int>(date.year), date.month));
  }
  const CivilDate epoch = DateFromDays(0);
  EXPECT_EQ(std::make_tuple(epoch.year, epoch.month, epoch.day), std::make_tuple(1899, 12, 30));
  const CivilDate leapDay = DateFromDays(DaysSinceEpoch(2000, 2, 29));
  EXPECT_EQ(std::make_tuple(leapDay.year, leapDay.month, leapDay.day),
            std::make_tuple(2000, 2, 29));
}

TEST(Timestamp, MillisecondCountRoundsHalfToEven) {
  EXPECT_EQ(MillisecondCount(1.0), 86400000);
  EXPECT_EQ(MillisecondCount(0.5 / kMillisecondsPerDay), 0);
  EXPECT_EQ(MillisecondCount(1.5 / kMillisecondsPerDay), 2);
  EXPECT_EQ(MillisecondCount(44362.0 + 49530.0 / 86400.0), 44362LL * 86400000 + 49530000);
}

TEST(Timestamp, LeapYearsFollowTheGregorianRule) {
  EXPECT_TRUE(IsLeapYear(2020));
  EXPECT_FALSE(IsLeapYear(2021));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_EQ(DaysInMonth(2020, 2), 29);
  EXPECT_EQ(DaysInMonth(2100, 2), 28);
}

}  // namespace
}  // namespace quill
