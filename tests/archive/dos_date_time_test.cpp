#include "archive/dos_date_time.h"

#include <gtest/gtest.h>

#include "raised_error.h"
#include "zip_writer.h"

namespace quill {
namespace {

using testing::DosDateTime;
using testing::RaisedBy;

constexpr const char* kBadDate = "EConvertError: Invalid argument to date encode";
constexpr const char* kBadTime = "EConvertError: Invalid argument to time encode";

TEST(DosDateTimeToTimestamp, ConvertsTheWorkedValues) {
  EXPECT_EQ(DosDateTimeToTimestamp(0x00210000), 29221.0);  // 1980-01-01 00:00:00
  EXPECT_DOUBLE_EQ(DosDateTimeToTimestamp(0x52CF6DAF), 44362.0 + 49530.0 / 86400.0);
  EXPECT_DOUBLE_EQ(DosDateTimeToTimestamp(DosDateTime(2020, 2, 29, 23, 59, 58)),
                   43890.0 + 86398.0 / 86400.0);
  EXPECT_EQ(DosDateTimeToTimestamp(DosDateTime(2107, 12, 31, 0, 0, 0)), 75971.0);
}

TEST(DosDateTimeToTimestamp, RaisesForImpossibleDates) {
  EXPECT_EQ(RaisedBy([] { DosDateTimeToTimestamp(0); }), kBadDate);
  for (const auto& [year, month, day] : {std::tuple{2021, 6, 0},
                                         {2021, 0, 15},
                                         {2021, 13, 1},
                                         {2020, 2, 30},
                                         {2021, 2, 29},
                                         {2100, 2, 29},
                                         {2021, 4, 31}}) {
    SCOPED_TRACE(::testing::PrintToString(std::tuple{year, month, day}));
    EXPECT_EQ(RaisedBy([&] { DosDateTimeToTimestamp(DosDateTime(year, month, day, 12, 0, 0)); }),
              kBadDate);
  }
  EXPECT_EQ(RaisedBy([] { DosDateTimeToTimestamp(DosDateTime(2000, 2, 29, 0, 0, 0)); }),
            "nothing raised");
}

TEST(DosDateTimeToTimestamp, RaisesForImpossibleTimesAfterCheckingTheDate) {
  EXPECT_EQ(RaisedBy([] { DosDateTimeToTimestamp(DosDateTime(2021, 6, 15, 24, 0, 0)); }), kBadTime);
  EXPECT_EQ(RaisedBy([] { DosDateTimeToTimestamp(DosDateTime(2021, 6, 15, 10, 60, 0)); }),
            kBadTime);
  EXPECT_EQ(RaisedBy([] { DosDateTimeToTimestamp(DosDateTime(2021, 6, 15, 10, 0, 60)); }),
            kBadTime);
  // Both parts impossible: the date is reported.
  EXPECT_EQ(RaisedBy([] { DosDateTimeToTimestamp(DosDateTime(2021, 0, 0, 31, 63, 62)); }),
            kBadDate);
}

}  // namespace
}  // namespace quill
