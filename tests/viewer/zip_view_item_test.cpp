#include "viewer/zip_view_item.h"

#include <gtest/gtest.h>

#include "fixed_time_text_locale.h"

namespace quill {
namespace {

TEST(ZipViewItem, WritesTheSixSubItemsInColumnOrder) {
  ZipViewFields fields;
  fields.modified = 44362.0;  // 2021-06-15 at midnight
  fields.compressedSize = 1152;
  fields.uncompressedSize = 1048577;
  fields.crc32 = 0xFFFFFFFFu;
  fields.compressionMethod = 8;
  const ZipViewItem item = MakeZipViewItem({"Text/Chapter1.XHTML", fields}, "A comment",
                                           testing::FixedTimeTextLocale(), ",");
  EXPECT_EQ(item.caption, "Text/Chapter1.XHTML");
  EXPECT_EQ(item.image, kXmlPageImage);
  EXPECT_EQ(item.subItems, (std::vector<std::string>{"2021-06-15", "1,13 KB", "1 MB", "4294967295",
                                                     "8", "A comment"}));
}

TEST(ZipViewItem, ARowWithoutFieldsHasNoSubItems) {
  const ZipViewItem item = MakeZipViewItem({"index.htm", std::nullopt}, "A comment",
                                           testing::FixedTimeTextLocale(), ".");
  EXPECT_EQ(item.caption, "index.htm");
  EXPECT_EQ(item.image, kHtmPageImage);
  EXPECT_TRUE(item.subItems.empty());
}

}  // namespace
}  // namespace quill
