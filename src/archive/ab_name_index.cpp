#include "archive/ab_name_index.h"

#include <cstdint>

#include "base/text.h"

namespace quill {

NameIndex::NameIndex() : buckets_(kBuckets) {}

std::size_t NameIndex::BucketOf(std::string_view upperName) {
  // FNV-1a: cheap and spreads path-like names well.
  std::uint32_t hash = 2166136261u;
  for (const char c : upperName) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  }
  return hash % kBuckets;
}

void NameIndex::Add(std::string_view name, std::size_t index) {
  std::string upperName = UpperAscii(name);
  const std::size_t bucket = BucketOf(upperName);
  buckets_[bucket].push_back({std::move(upperName), index});
}

std::optional<std::size_t> NameIndex::FindLatest(std::string_view name) const {
  const std::string upperName = UpperAscii(name);
  const std::vector<Slot>& bucket = buckets_[BucketOf(upperName)];
  // Slots were added in ascending index order, so the last match is the latest.
  for (auto slot = bucket.rbegin(); slot != bucket.rend(); ++slot) {
    if (slot->upperName == upperName) return slot->index;
  }
  return std::nullopt;
}

void NameIndex::Clear() {
  for (auto& bucket : buckets_) bucket.clear();
}

}  // namespace quill
