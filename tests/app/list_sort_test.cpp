#include "app/list_sort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quill {
namespace {

std::vector<std::string> Names(const std::vector<BookRow>& rows,
                               const std::vector<std::size_t>& order) {
  std::vector<std::string> names;
  for (std::size_t index : order) names.push_back(rows[index].fileName);
  return names;
}

std::vector<std::string> Paths(const std::vector<BookRow>& rows,
                               const std::vector<std::size_t>& order) {
  std::vector<std::string> paths;
  for (std::size_t index : order) paths.push_back(rows[index].path);
  return paths;
}

const std::vector<BookRow> kRows = {
    {"b.epub", "/lib/1/b.epub"}, {"C.epub", "/lib/3/C.epub"}, {"a.epub", "/lib/2/a.epub"}};

TEST(ListSort, FirstClickSortsDescendingThenEveryClickAlternates) {
  ListSort sort;
  EXPECT_FALSE(sort.ascending());
  EXPECT_EQ(Names(kRows, sort.ColumnClick(kRows, ListSort::kFileNameColumn)),
            (std::vector<std::string>{"C.epub", "b.epub", "a.epub"}));
  EXPECT_TRUE(sort.ascending());
  EXPECT_EQ(Names(kRows, sort.ColumnClick(kRows, ListSort::kFileNameColumn)),
            (std::vector<std::string>{"a.epub", "b.epub", "C.epub"}));
}

TEST(ListSort, DirectionAlternatesAcrossBothColumns) {
  ListSort sort;
  sort.ColumnClick(kRows, ListSort::kFileNameColumn);  // descending
  EXPECT_EQ(Paths(kRows, sort.ColumnClick(kRows, ListSort::kPathColumn)),
            (std::vector<std::string>{"/lib/1/b.epub", "/lib/2/a.epub", "/lib/3/C.epub"}));
  EXPECT_EQ(sort.column(), ListSort::kPathColumn);
  EXPECT_EQ(Paths(kRows, sort.ColumnClick(kRows, ListSort::kPathColumn)),
            (std::vector<std::string>{"/lib/3/C.epub", "/lib/2/a.epub", "/lib/1/b.epub"}));
}

TEST(ListSort, FoldsOnlyTheLettersAToZ) {
  // "a" and "A" are equal and keep their order; an underscore follows every
  // folded letter; accented letters are not folded and sort by code unit.
  const std::vector<BookRow> rows = {{"_x", ""},      {"A", "first"}, {"\u00e9", ""},
                                     {"a", "second"}, {"\u00c9", ""}, {"Z", ""}};
  ListSort sort;
  sort.ColumnClick(rows, ListSort::kFileNameColumn);  // descending
  const std::vector<std::size_t> order = sort.ColumnClick(rows, ListSort::kFileNameColumn);
  EXPECT_EQ(Names(rows, order),
            (std::vector<std::string>{"A", "a", "Z", "_x", "\u00c9", "\u00e9"}));
  EXPECT_EQ(rows[order[0]].path, "first");
}

TEST(ListSort, OrdersByUtf16CodeUnitsNotCodePoints) {
  // U+1F4D6 is stored as surrogates D83D DCD6, which come before U+FF21.
  const std::vector<BookRow> rows = {{"\uff21", ""}, {"\U0001F4D6", ""}};
  ListSort sort;
  sort.ColumnClick(rows, ListSort::kFileNameColumn);
  EXPECT_EQ(Names(rows, sort.ColumnClick(rows, ListSort::kFileNameColumn)),
            (std::vector<std::string>{"\U0001F4D6", "\uff21"}));
}

TEST(ListSort, StateOutlivesTheRowsItSorted) {
  ListSort sort;
  sort.ColumnClick(kRows, ListSort::kPathColumn);
  EXPECT_TRUE(sort.ColumnClick({}, ListSort::kFileNameColumn).empty());
  // Two clicks so far: the third sorts descending again, on the new rows.
  const std::vector<BookRow> refilled = {{"x", ""}, {"y", ""}};
  EXPECT_EQ(Names(refilled, sort.ColumnClick(refilled, ListSort::kFileNameColumn)),
            (std::vector<std::string>{"y", "x"}));
}

}  // namespace
}  // namespace quill
