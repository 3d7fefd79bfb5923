#include "base/memory_stream.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(MemoryStream, WritesOverwriteAndGrowAtThePosition) {
  MemoryStream stream;
  stream.Write("abcd");
  stream.SetPosition(2);
  stream.Write("XYZ");
  EXPECT_EQ(stream.Bytes(), "abXYZ");
  EXPECT_EQ(stream.Position(), 5u);
  stream.SetPosition(1);
  EXPECT_EQ(stream.Read(2), "bX");
  EXPECT_EQ(stream.Read(10), "YZ");  // short at the end
  EXPECT_EQ(stream.Read(1), "");
  stream.SetPosition(99);  // clamped to the end
  EXPECT_EQ(stream.Position(), 5u);
  stream.Clear();
  EXPECT_EQ(stream.Size(), 0u);
  EXPECT_EQ(stream.Position(), 0u);
}

}  // namespace
}  // namespace quill
