#include "archive/entry_name_index.h"

#include <bit>

#include "base/text.h"

namespace quill {

std::uint32_t NameIndex::HashOf(std::string_view name) {
  // FNV-1a over the names folded A to Z: cheap and spreads path-like names well.
  std::uint32_t hash = 2166136261u;
  for (const char c : name) {
    const char folded = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    hash = (hash ^ static_cast<unsigned char>(folded)) * 16777619u;
  }
  return hash;
}

void NameIndex::Assign(const std::vector<TAbZipItem>& items) {
  Clear();
  items_ = &items;
}

std::optional<std::size_t> NameIndex::FindLatest(std::string_view name) const {
  if (items_ == nullptr || items_->empty()) return std::nullopt;
  if (!scanned_) {
    scanned_ = true;
    return ScanLatest(name);
  }
  if (slots_.empty()) BuildTable();
  const std::uint32_t hash = HashOf(name);
  std::optional<std::size_t> latest;
  // Every name of this hash lies in the run of occupied slots from its first
  // slot on; the run ends at an empty slot, of which there is always one.
  for (std::size_t slot = FirstSlot(hash); slots_[slot] != 0;
       slot = (slot + 1) & (slots_.size() - 1)) {
    const std::size_t index = slots_[slot] - 1;
    if (hashes_[index] == hash && SameTextAscii((*items_)[index].fileName, name) &&
        (!latest || index > *latest)) {
      latest = index;
    }
  }
  return latest;
}

std::optional<std::size_t> NameIndex::ScanLatest(std::string_view name) const {
  for (std::size_t index = items_->size(); index-- > 0;) {
    if (SameTextAscii((*items_)[index].fileName, name)) return index;
  }
  return std::nullopt;
}

void NameIndex::BuildTable() const {
  const std::vector<TAbZipItem>& items = *items_;
  hashes_.reserve(items.size());
  slots_.assign(std::bit_ceil(2 * items.size() + 1), 0);
  for (std::size_t i = 0; i < items.size(); ++i) {
    hashes_.push_back(HashOf(items[i].fileName));
    std::size_t slot = FirstSlot(hashes_.back());
    while (slots_[slot] != 0) slot = (slot + 1) & (slots_.size() - 1);
    slots_[slot] = static_cast<std::uint32_t>(i + 1);
  }
}

void NameIndex::Clear() {
  items_ = nullptr;
  scanned_ = false;
  hashes_.clear();
  slots_.clear();
}

}  // namespace quill
