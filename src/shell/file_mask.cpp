#include "shell/file_mask.h"

#include <algorithm>
#include <cstddef>

namespace quill {

namespace {

// The number of bytes of the UTF-8 character that starts at `pos`; a byte that
// cannot start a sequence counts as a character of its own.
std::size_t CharacterLength(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return std::min(length, text.size() - pos);
}

}  // namespace

// Walks mask and name together; on a mismatch it returns to the last "*" and
// lets it swallow one more character. Each "*" thus needs no recursion, and the
// work stays bounded by the product of the two lengths.
bool MaskMatches(std::string_view mask, std::string_view name) {
  constexpr std::size_t kNoStar = std::string_view::npos;
  std::size_t m = 0, n = 0;
  std::size_t afterStar = kNoStar, swallowedUpTo = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      afterStar = ++m;
      swallowedUpTo = n;
    } else if (m < mask.size() && mask[m] == '?') {
      ++m;
      n += CharacterLength(name, n);
    } else if (m < mask.size() && mask[m] == name[n]) {
      ++m;  // equal UTF-8 sequences are compared byte by byte
      ++n;
    } else if (afterStar != kNoStar) {
      swallowedUpTo += CharacterLength(name, swallowedUpTo);
      n = swallowedUpTo;
      m = afterStar;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace quill
