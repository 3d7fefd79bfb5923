#include "viewer/size_text.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(SizeText, WritesTheWorkedValues) {
  struct Case {
    std::uint32_t count;
    const char* text;
  };
  const Case cases[] = {
      {0, " bytes"},           {1, "1 bytes"},       {1024, "1024 bytes"}, {1025, "1 KB"},
      {1152, "1.13 KB"},       {1536, "1.5 KB"},     {1048576, "1024 KB"}, {1048577, "1 MB"},
      {1073741824, "1024 MB"}, {1073741825, "1 GB"},
  };
  for (const Case& c : cases) EXPECT_EQ(SizeText(c.count, "."), c.text) << c.count;
}

TEST(SizeText, RoundsTheExactQuotientHalfAwayFromZero) {
  // 1029 / 1024 = 1.0048828125 and 1035 / 1024 = 1.0107421875: below and above
  // the half of a hundredth.
  EXPECT_EQ(SizeText(1029, "."), "1 KB");
  EXPECT_EQ(SizeText(1035, "."), "1.01 KB");
  // 1.125 exactly: the half rounds up.
  EXPECT_EQ(SizeText(1152, "."), "1.13 KB");
  // 1048575 / 1024 = 1023.999...: rounds up to a whole number and drops the separator.
  EXPECT_EQ(SizeText(1048575, "."), "1024 KB");
  // A fraction whose second digit rounds away: 1.1 exactly, written without the zero.
  EXPECT_EQ(SizeText(1126, "."), "1.1 KB");
  // The largest count stays in GB: 3.99999999907 rounds to 4.
  EXPECT_EQ(SizeText(4294967295u, "."), "4 GB");
}

TEST(SizeText, UsesTheLocalesDecimalSeparator) {
  EXPECT_EQ(SizeText(1152, ","), "1,13 KB");
  EXPECT_EQ(SizeText(1536, "\u066B"), "1\u066B5 KB");  // two bytes in UTF-8
  EXPECT_EQ(SizeText(1024, ","), "1024 bytes");        // no grouping
}

}  // namespace
}  // namespace quill
