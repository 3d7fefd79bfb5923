#include "base/case_mapping.h"

#include <windows.h>

namespace quill {

char32_t SimpleUpperCase(char32_t cp) noexcept {
  if (cp < 0x80) return (cp >= 'a' && cp <= 'z') ? cp - 32 : cp;
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return cp;
  // The invariant locale's upper-casing maps each UTF-16 character (a
  // surrogate pair for code points beyond U+FFFF) to exactly one.
  wchar_t units[2];
  int length = 1;
  if (cp < 0x10000) {
    units[0] = static_cast<wchar_t>(cp);
  } else {
    units[0] = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    length = 2;
  }
  wchar_t upper[2];
  if (::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, units, length, upper, length, nullptr,
                      nullptr, 0) != length) {
    return cp;
  }
  if (length == 1) return upper[0];
  if (upper[0] < 0xD800 || upper[0] > 0xDBFF || upper[1] < 0xDC00 || upper[1] > 0xDFFF) return cp;
  return 0x10000 + ((static_cast<char32_t>(upper[0]) - 0xD800) << 10) + (upper[1] - 0xDC00);
}

}  // namespace quill
