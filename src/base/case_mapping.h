#pragma once

namespace quill {

// The Unicode simple upper-case mapping of one code point (one code point to
// one, no context): the system's own character tables, independent of the
// user's language. A code point without an upper-case form maps to itself.
char32_t SimpleUpperCase(char32_t codePoint) noexcept;

}  // namespace quill
