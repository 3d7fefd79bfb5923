#include "base/time_resolution.h"

#include <gtest/gtest.h>

#include "base/timestamp.h"
#include "raised_error.h"

namespace quill {
namespace {

using testing::RaisedBy;

Timestamp At(int day, int hour, int minute, int second) {
  const double milliseconds = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0;
  return static_cast<double>(DaysSinceEpoch(2021, 6, day)) + milliseconds / kMillisecondsPerDay;
}

TEST(SameAtResolution, HourMinuteAndSecondMeasureTheDistance) {
  EXPECT_TRUE(SameAtResolution(2, At(15, 10, 0, 0), At(15, 10, 59, 58)));
  EXPECT_FALSE(SameAtResolution(2, At(15, 10, 0, 0), At(15, 11, 0, 0)));
  EXPECT_TRUE(SameAtResolution(2, At(15, 10, 59, 58), At(15, 11, 0, 0)));  // different clock hours
  EXPECT_TRUE(SameAtResolution(2, At(15, 23, 30, 0), At(16, 0, 10, 0)));
  EXPECT_TRUE(SameAtResolution(3, At(15, 10, 0, 58), At(15, 10, 1, 2)));
  EXPECT_FALSE(SameAtResolution(3, At(15, 10, 0, 0), At(15, 10, 1, 0)));
  EXPECT_FALSE(SameAtResolution(4, At(15, 10, 0, 0), At(15, 10, 0, 2)));
  EXPECT_TRUE(SameAtResolution(4, 100.0, 100.0 + 999.0 / kMillisecondsPerDay));
  EXPECT_TRUE(SameAtResolution(0, At(15, 10, 0, 0), At(15, 10, 0, 0)));
  EXPECT_FALSE(SameAtResolution(0, 100.0, 100.0 + 1.0 / kMillisecondsPerDay));
}

TEST(SameAtResolution, DayIsTheCalendarDayOfTheDocument) {
  EXPECT_TRUE(SameAtResolution(1, At(15, 0, 0, 0), At(15, 23, 59, 58)));
  EXPECT_TRUE(SameAtResolution(1, At(15, 23, 59, 58), At(15, 0, 0, 0)));
  EXPECT_FALSE(SameAtResolution(1, At(15, 23, 59, 58), At(16, 0, 0, 0)));
  EXPECT_FALSE(SameAtResolution(1, At(15, 23, 30, 0), At(16, 0, 10, 0)));
}

TEST(SameAtResolution, RefusesOtherValues) {
  EXPECT_EQ(RaisedBy([] { SameAtResolution(5, 1.0, 1.0); }),
            "Exception: Invalid resolution value (5) provided.");
  EXPECT_EQ(RaisedBy([] { SameAtResolution(-1, 1.0, 1.0); }),
            "Exception: Invalid resolution value (-1) provided.");
}

TEST(SameAtTimeResolution, EachItemSelectsItsComparison) {
  // 10:00:00 against the next day, 10:59:58, 10:00:58, 999 ms later and itself.
  const Timestamp reference = At(15, 10, 0, 0);
  const Timestamp sameHour = At(15, 10, 59, 58);
  const Timestamp sameMinute = At(15, 10, 0, 58);
  const Timestamp sameSecond = reference + 999.0 / kMillisecondsPerDay;
  const auto answers = [&](Timestamp document) {
    std::string out;
    for (int item = kResolutionDay; item <= kResolutionFull; ++item) {
      out += SameAtTimeResolution(item, reference, document) ? '=' : '-';
    }
    return out;
  };
  EXPECT_EQ(answers(At(16, 10, 0, 0)), "-----");
  EXPECT_EQ(answers(sameHour), "==---");
  EXPECT_EQ(answers(sameMinute), "===--");
  EXPECT_EQ(answers(sameSecond), "====-");
  EXPECT_EQ(answers(reference), "=====");
  EXPECT_EQ(RaisedBy([] { SameAtTimeResolution(-1, 1.0, 1.0); }),
            "EArgumentOutOfRangeException: Argument out of range");
  EXPECT_EQ(RaisedBy([] { SameAtTimeResolution(5, 1.0, 1.0); }),
            "EArgumentOutOfRangeException: Argument out of range");
}

TEST(SameTimestamp, ComparesDayAndMillisecondOfDay) {
  EXPECT_TRUE(SameTimestamp(44362.5, 44362.5));
  EXPECT_FALSE(SameTimestamp(44362.5, 44362.5 + 1.0 / kMillisecondsPerDay));
  EXPECT_FALSE(SameTimestamp(44362.0, 44363.0));
  EXPECT_TRUE(SameTimestamp(-1.25, -1.25));
}

}  // namespace
}  // namespace quill
