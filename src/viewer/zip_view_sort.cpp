#include "viewer/zip_view_sort.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/text.h"
#include "viewer/time_text.h"

namespace quill {
namespace {

// Remembers what the locale read from each text, so that a sort reads every
// distinct text once rather than at every comparison.
class RememberingLocale final : public TimeTextLocale {
 public:
  explicit RememberingLocale(const TimeTextLocale& locale) : locale_(locale) {}

  std::string ShortDate(Timestamp t) const override { return locale_.ShortDate(t); }
  std::string LongTime(Timestamp t) const override { return locale_.LongTime(t); }
  std::optional<double> ReadShortDate(std::string_view text) const override {
    return Remembered(dates_, text,
                      [this](std::string_view t) { return locale_.ReadShortDate(t); });
  }
  std::optional<double> ReadLongTime(std::string_view text) const override {
    return Remembered(times_, text, [this](std::string_view t) { return locale_.ReadLongTime(t); });
  }

 private:
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  using Memory = std::unordered_map<std::string, std::optional<double>, TextHash, std::equal_to<>>;

  template <typename Read>
  static std::optional<double> Remembered(Memory& memory, std::string_view text, Read read) {
    if (const auto known = memory.find(text); known != memory.end()) return known->second;
    return memory.emplace(std::string(text), read(text)).first->second;
  }

  const TimeTextLocale& locale_;
  mutable Memory dates_;
  mutable Memory times_;
};

// A recorded value of the row for columns 2 to 5; nothing for a row without
// sub-items and for every other column.
std::optional<std::uint32_t> RecordedValue(const ZipViewItem& item, int column) {
  if (!item.fields) return std::nullopt;
  switch (column) {
    case 2:
      return item.fields->compressedSize;
    case 3:
      return item.fields->uncompressedSize;
    case 4:
      return item.fields->crc32;
    case 5:
      return item.fields->compressionMethod;
    default:
      return std::nullopt;
  }
}

int CompareValues(std::optional<std::uint32_t> a, std::optional<std::uint32_t> b) {
  if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
  return *a < *b ? -1 : (*a > *b ? 1 : 0);
}

std::string_view TimeTextOf(const ZipViewItem& item) {
  return item.subItems.empty() ? std::string_view() : std::string_view(item.subItems.front());
}

// What one sort compares: the items, their captions folded once, and the
// locale that reads the time texts back.
struct SortRun {
  const std::vector<ZipViewItem>& items;
  std::vector<std::string> foldedCaptions;
  RememberingLocale locale;
};

// Orders two rows on the sort column in the orientation of the ascending flag:
// Item1 against Item2 when ascending, Item2 against Item1 when descending.
int ListView1Compare(const SortRun& run, std::size_t Item1, std::size_t Item2, int column,
                     bool ascending) {
  if (!ascending) std::swap(Item1, Item2);
  switch (column) {
    case ZipViewSort::kNameColumn:
      return CompareUtf16(run.foldedCaptions[Item1], run.foldedCaptions[Item2]);
    case ZipViewSort::kTimeColumn:
      return CompareDateTexts(TimeTextOf(run.items[Item1]), TimeTextOf(run.items[Item2]),
                              run.locale);
    default:
      return CompareValues(RecordedValue(run.items[Item1], column),
                           RecordedValue(run.items[Item2], column));
  }
}

}  // namespace

std::vector<std::size_t> ZipViewSort::ColumnClick(const std::vector<ZipViewItem>& items, int column,
                                                  const TimeTextLocale& locale) {
  column_ = column;
  SortRun run{items, {}, RememberingLocale(locale)};
  if (column_ == kNameColumn) {
    run.foldedCaptions.reserve(items.size());
    for (const ZipViewItem& item : items) run.foldedCaptions.push_back(UpperAscii(item.caption));
  }

  std::vector<std::size_t> order(items.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return ListView1Compare(run, a, b, column_, ascending_) < 0;
  });
  ascending_ = !ascending_;
  return order;
}

}  // namespace quill
