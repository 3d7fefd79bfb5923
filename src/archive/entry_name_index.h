#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "archive/directory_entry.h"

namespace quill {

// Finds entries by name, ignoring the case of the letters A to Z. A single
// lookup walks the names, which costs less than hashing them all; from the
// second lookup on, a hash table over the names answers, so many lookups do
// not scan the entry list each time.
class NameIndex {
 public:
  // Indexes the entries' decoded names. The entries must stay in place, and
  // unchanged, for as long as the index is used.
  void Assign(const std::vector<TAbZipItem>& items);

  // The highest index whose name equals the given one, A to Z folded; nothing
  // when no name matches.
  std::optional<std::size_t> FindLatest(std::string_view name) const;

  void Clear();

 private:
  static std::uint32_t HashOf(std::string_view name);
  std::size_t FirstSlot(std::uint32_t hash) const { return hash & (slots_.size() - 1); }
  std::optional<std::size_t> ScanLatest(std::string_view name) const;
  void BuildTable() const;

  const std::vector<TAbZipItem>* items_ = nullptr;
  mutable bool scanned_ = false;               // a lookup has walked the names once
  mutable std::vector<std::uint32_t> hashes_;  // of the names, by index
  // Open addressing with linear probing: each slot holds an index plus 1, or
  // 0 when empty. Its size is a power of two, at least twice the name count.
  mutable std::vector<std::uint32_t> slots_;
};

}  // namespace quill
