#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Finds entries by name, ignoring the case of the letters A to Z, through a
// hash of the upper-cased names, so a lookup does not scan the entry list.
class NameIndex {
 public:
  NameIndex();

  // Adds the name of the entry at the index; indices are added in ascending order.
  void Add(std::string_view name, std::size_t index);

  // The highest index whose name equals the given one, A to Z folded; nothing
  // when no name matches.
  std::optional<std::size_t> FindLatest(std::string_view name) const;

  void Clear();

 private:
  struct Slot {
    std::string upperName;
    std::size_t index;
  };
  static constexpr std::size_t kBuckets = 1021;

  static std::size_t BucketOf(std::string_view upperName);

  std::vector<std::vector<Slot>> buckets_;
};

}  // namespace quill
