#include "base/byte_reader.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(ByteReader, ReadsLittleEndianAndRefusesShortReads) {
  ByteReader reader(std::string_view("\x01\x02\x03\x04\x05", 5));
  EXPECT_EQ(reader.U16(), 0x0201);
  EXPECT_EQ(reader.U16(), 0x0403);
  EXPECT_EQ(reader.U16(), std::nullopt);  // one byte left
  EXPECT_EQ(reader.position(), 4u);       // a failed read does not move
  EXPECT_EQ(reader.BytesUpTo(10), "\x05");
  EXPECT_FALSE(reader.Seek(6));
  EXPECT_TRUE(reader.Seek(5));
  EXPECT_EQ(reader.Bytes(1), std::nullopt);
}

}  // namespace
}  // namespace quill
