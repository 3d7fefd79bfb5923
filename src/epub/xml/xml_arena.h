#pragma once

#include <algorithm>
#include <memory_resource>
#include <string_view>

namespace quill {

// A copy of text in the arena that holds a parsed XML tree; it stays, unchanged,
// until the arena is released.
inline std::string_view CopyToArena(std::pmr::memory_resource& arena, std::string_view text) {
  if (text.empty()) return {};
  char* copy = std::pmr::polymorphic_allocator<char>(&arena).allocate(text.size());
  std::copy(text.begin(), text.end(), copy);
  return {copy, text.size()};
}

}  // namespace quill
