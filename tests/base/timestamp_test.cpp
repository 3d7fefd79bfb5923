#include "base/timestamp.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(Timestamp, DaysAreCountedFromTheLastDaysOf1899) {
  EXPECT_EQ(DaysSinceEpoch(1899, 12, 30), 0);
  EXPECT_EQ(DaysSinceEpoch(1980, 1, 1), 29221);
  EXPECT_EQ(DaysSinceEpoch(2021, 6, 15), 44362);
  EXPECT_EQ(DaysSinceEpoch(1899, 12, 29), -1);
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
