#pragma once

#include <cstddef>
#include <vector>

#include "viewer/time_text_locale.h"
#include "viewer/zip_view_item.h"

namespace quill {

// The zip view's sort state and the sort that a click on a column header
// runs. The state belongs to the one zip view window and lives for the whole
// run: openings do not reset it.
//
// Column 0 orders the captions by UTF-16 code units after folding the letters
// a to z to upper case (nothing else is folded, no locale is used). Column 1
// orders the time texts by the timestamps they denote under the locale that
// wrote them (CompareDateTexts). Columns 2 to 5 order by the recorded values:
// the sizes in bytes (not their texts), the CRC-32 and the method as unsigned
// numbers. Column 6 holds the same comment on every row and, like any other
// column, leaves the order as it is. A row without sub-items, or whose time
// text denotes no time, comes before every row that has a value. Rows that
// compare equal keep their order, so every sort is a permutation of the rows.
class ZipViewSort {
 public:
  static constexpr int kNameColumn = 0;
  static constexpr int kTimeColumn = 1;

  // A click on the header of `column`: stores it as the sort column, sorts
  // under the present direction (ascending when the flag is set, descending
  // otherwise), then inverts the flag, whichever column was clicked. Returns
  // the new order as indices into `items`.
  std::vector<std::size_t> ColumnClick(const std::vector<ZipViewItem>& items, int column,
                                       const TimeTextLocale& locale);

  // The ascending flag: true when the next sort is ascending.
  bool ascending() const { return ascending_; }
  // The column clicked last.
  int column() const { return column_; }

 private:
  bool ascending_ = false;
  int column_ = kNameColumn;
};

}  // namespace quill
