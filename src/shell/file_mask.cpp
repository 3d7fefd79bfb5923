#include "shell/file_mask.h"

#include <cstddef>

namespace quill {

namespace {

// The number of bytes of the UTF-8 character that starts at `pos`; a byte that
// cannot start a sequence counts as a character of its own.
std::size_t CharacterLength(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 1;
  if (lead >= 0xF0) length = 4;
  else if (lead >= 0xE0) length = 3;
  else if (lead >= 0xC0) length = 2;
  return pos + length <= text.size() ? length : text.size() - pos;
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
