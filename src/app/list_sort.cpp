#include "app/list_sort.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>

#include "base/text.h"

namespace quill {
namespace {

const std::string& ColumnText(const BookRow& row, int column) {
  return column == ListSort::kFileNameColumn ? row.fileName : row.path;
}

// The comparison of two rows' folded texts: A's against B's when ascending,
// B's against A's when descending.
int ListView1Compare(std::string_view foldedA, std::string_view foldedB, bool ascending) {
  return ascending ? CompareUtf16(foldedA, foldedB) : CompareUtf16(foldedB, foldedA);
}

}  // namespace

std::vector<std::size_t> ListSort::ColumnClick(const std::vector<BookRow>& rows, int column) {
  column_ = column;
  // Folding each text once keeps a sort of many rows free of per-comparison copies.
  std::vector<std::string> folded;
  folded.reserve(rows.size());
  for (const BookRow& row : rows) folded.push_back(UpperAscii(ColumnText(row, column_)));

  std::vector<std::size_t> order(rows.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return ListView1Compare(folded[a], folded[b], ascending_) < 0;
  });
  ascending_ = !ascending_;
  return order;
}

}  // namespace quill
