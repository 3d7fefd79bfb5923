#pragma once

#include <cstddef>
#include <vector>

#include "app/book_row.h"

namespace quill {

// The sort state of the list of found books and the sort that a click on a
// column header runs. The state lives as long as the process: refilling the
// list does not reset it.
//
// Texts are compared by UTF-16 code units after folding the letters a to z to
// upper case; nothing else is folded and no locale is used, so an underscore
// sorts after every letter.
class ListSort {
 public:
  // Column 0 compares the captions (file names), column 1 the paths.
  static constexpr int kFileNameColumn = 0;
  static constexpr int kPathColumn = 1;

  // A click on the header of `column`: stores it as the sort column, sorts
  // under the present direction and then inverts the direction, so the first
  // click after start sorts descending and every further click on either
  // header alternates. Returns the new order of the rows as indices into
  // `rows`; rows whose texts compare equal keep their relative order.
  std::vector<std::size_t> ColumnClick(const std::vector<BookRow>& rows, int column);

  // The direction flag: true when the next sort is ascending.
  bool ascending() const { return ascending_; }
  // The column clicked last.
  int column() const { return column_; }

 private:
  bool ascending_ = false;
  int column_ = kFileNameColumn;
};

}  // namespace quill
