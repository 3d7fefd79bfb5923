#include "base/case_mapping.h"

#include <locale.h>
#include <cwctype>

namespace quill {
namespace {

// The C.UTF-8 locale gives the Unicode simple case mappings without depending
// on the user's environment; without it only A to Z fold.
locale_t CaseLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return locale;
}

}  // namespace

char32_t SimpleUpperCase(char32_t cp) noexcept {
  if (cp < 0x80) return (cp >= 'a' && cp <= 'z') ? cp - 32 : cp;
  const locale_t locale = CaseLocale();
  if (locale == static_cast<locale_t>(0)) return cp;
  return static_cast<char32_t>(towupper_l(static_cast<wint_t>(cp), locale));
}

}  // namespace quill
