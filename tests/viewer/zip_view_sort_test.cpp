#include "viewer/zip_view_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "fixed_time_text_locale.h"

namespace quill {
namespace {

using testing::FixedTimeTextLocale;

constexpr Timestamp kJune15 = 44362.0;
constexpr double kSecond = 1.0 / 86400.0;

ZipViewItem Item(std::string name, Timestamp modified, std::uint32_t size = 0) {
  ZipViewFields fields;
  fields.modified = modified;
  fields.compressedSize = size;
  fields.uncompressedSize = size;
  fields.crc32 = size;
  fields.compressionMethod = static_cast<std::uint16_t>(size % 9);
  return MakeZipViewItem({std::move(name), fields}, "comment", FixedTimeTextLocale(), ".");
}

// The zip view's rows after a click on `column`, as the list applies an order.
class SortedRows {
 public:
  explicit SortedRows(std::vector<ZipViewItem> items) : items_(std::move(items)) {}

  void Click(int column) {
    const std::vector<std::size_t> order = sort.ColumnClick(items_, column, locale_);
    std::vector<ZipViewItem> sorted;
    for (const std::size_t index : order) sorted.push_back(items_[index]);
    items_ = std::move(sorted);
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const ZipViewItem& item : items_) captions.push_back(item.caption);
    return captions;
  }
  std::vector<ZipViewItem>& items() { return items_; }

  ZipViewSort sort;

 private:
  std::vector<ZipViewItem> items_;
  FixedTimeTextLocale locale_;
};

TEST(ZipViewSort, NamesSortZToAFirstThenAToZFoldingOnlyAToZ) {
  SortedRows rows({Item("b.xhtml", kJune15), Item("_c.xhtml", kJune15), Item("A.xhtml", kJune15),
                   Item("a.xhtml", kJune15), Item("\xC3\xA9.xhtml", kJune15)});
  rows.Click(ZipViewSort::kNameColumn);
  // "é" (U+00E9) is not folded and sorts above every ASCII character; "_"
  // sorts after the letters because they fold to upper case.
  EXPECT_EQ(rows.Captions(), (std::vector<std::string>{"\xC3\xA9.xhtml", "_c.xhtml", "b.xhtml",
                                                       "A.xhtml", "a.xhtml"}));
  rows.Click(ZipViewSort::kNameColumn);
  EXPECT_EQ(rows.Captions(), (std::vector<std::string>{"A.xhtml", "a.xhtml", "b.xhtml", "_c.xhtml",
                                                       "\xC3\xA9.xhtml"}));
}

TEST(ZipViewSort, TheDirectionAlternatesAcrossColumnsAndTimesSortByTheirValue) {
  SortedRows rows({Item("a.xhtml", kJune15 + 10 * kSecond), Item("b.xhtml", kJune15),
                   Item("c.xhtml", kJune15 - 1 + 86398 * kSecond), Item("d.xhtml", kJune15 + 366)});
  rows.Click(ZipViewSort::kNameColumn);  // descending
  EXPECT_TRUE(rows.sort.ascending());
  rows.Click(ZipViewSort::kTimeColumn);  // ascending: oldest first, the midnight row included
  EXPECT_EQ(rows.Captions(),
            (std::vector<std::string>{"c.xhtml", "b.xhtml", "a.xhtml", "d.xhtml"}));
  EXPECT_EQ(rows.sort.column(), ZipViewSort::kTimeColumn);
  rows.Click(ZipViewSort::kTimeColumn);
  EXPECT_EQ(rows.Captions(),
            (std::vector<std::string>{"d.xhtml", "a.xhtml", "b.xhtml", "c.xhtml"}));
}

TEST(ZipViewSort, RowsWithoutATimeComeFirstAscendingAndLastDescending) {
  std::vector<ZipViewItem> items{Item("a.xhtml", kJune15 + 1), Item("b.xhtml", kJune15)};
  items.push_back(MakeZipViewItem({"failed.xhtml", std::nullopt}, "", FixedTimeTextLocale(), "."));
  items.push_back(Item("odd.xhtml", kJune15));
  items.back().subItems[0] = "not a time";
  SortedRows rows(std::move(items));
  rows.Click(ZipViewSort::kTimeColumn);  // descending
  EXPECT_EQ(rows.Captions(),
            (std::vector<std::string>{"a.xhtml", "b.xhtml", "failed.xhtml", "odd.xhtml"}));
  rows.Click(ZipViewSort::kTimeColumn);  // ascending; the two without a time keep their order
  EXPECT_EQ(rows.Captions(),
            (std::vector<std::string>{"failed.xhtml", "odd.xhtml", "b.xhtml", "a.xhtml"}));
  EXPECT_TRUE(rows.items()[0].subItems.empty());  // the row is moved, never changed
}

TEST(ZipViewSort, SizeCrcAndMethodColumnsSortByTheRecordedNumbers) {
  // 900 bytes against 1.5 KB: the texts would order the other way.
  SortedRows rows({Item("a.xhtml", kJune15, 1536), Item("b.xhtml", kJune15, 900),
                   Item("c.xhtml", kJune15, 0xFFFFFFFFu)});
  rows.Click(2);  // descending
  EXPECT_EQ(rows.Captions(), (std::vector<std::string>{"c.xhtml", "a.xhtml", "b.xhtml"}));
  rows.Click(4);  // ascending by CRC-32 as an unsigned number
  EXPECT_EQ(rows.Captions(), (std::vector<std::string>{"b.xhtml", "a.xhtml", "c.xhtml"}));
}

TEST(ZipViewSort, EveryColumnLeavesTheRowsAPermutationOfWhatTheyWere) {
  std::mt19937 random(7);
  std::vector<ZipViewItem> items;
  for (int i = 0; i < 300; ++i) {
    items.push_back(Item("doc" + std::to_string(random() % 50) + ".xhtml",
                         kJune15 + static_cast<double>(random() % 20) * kSecond,
                         static_cast<std::uint32_t>(random())));
    if (i % 37 == 0) items.back().subItems.clear();
  }
  SortedRows rows(items);
  const auto key = [](const ZipViewItem& item) {
    return item.caption + '|' + (item.subItems.empty() ? "-" : item.subItems[0] + item.subItems[3]);
  };
  std::vector<std::string> expected;
  for (const ZipViewItem& item : items) expected.push_back(key(item));
  std::sort(expected.begin(), expected.end());
  for (const int column : {0, 1, 2, 3, 4, 5, 6, 7, 1, 6, 2}) {
    rows.Click(column);
    std::vector<std::string> now;
    for (const ZipViewItem& item : rows.items()) now.push_back(key(item));
    std::sort(now.begin(), now.end());
    EXPECT_EQ(now, expected) << "column " << column;
  }
}

TEST(ZipViewSort, TheCommentColumnKeepsTheOrderButStillTurnsTheDirection) {
  SortedRows rows({Item("b.xhtml", kJune15), Item("a.xhtml", kJune15), Item("c.xhtml", kJune15)});
  rows.Click(6);
  EXPECT_EQ(rows.Captions(), (std::vector<std::string>{"b.xhtml", "a.xhtml", "c.xhtml"}));
  EXPECT_TRUE(rows.sort.ascending());
  EXPECT_EQ(rows.sort.column(), 6);
}

}  // namespace
}  // namespace quill
