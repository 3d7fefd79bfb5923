#pragma once

// Text helpers of the core. Text is UTF-8 in std::string throughout; these
// functions do exactly the foldings, orderings and decodings that the system's
// rules name, so that a reader can see which rule a caller follows.

#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

// Decodes bytes of IBM code page 437 to UTF-8.
std::string Cp437ToUtf8(std::string_view bytes);

// Decodes UTF-16LE code units to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

// Encodes UTF-8 text as UTF-16LE code units; ill-formed sequences become U+FFFD.
std::string Utf8ToUtf16Le(std::string_view text);

// Returns the bytes as UTF-8, with every ill-formed sequence replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view bytes);

// Whether the bytes are "UTF-8 by shape": at least one byte of 0x80 or more,
// every lead byte (C2-DF, E0-EF, F0-F4) followed by its continuation bytes
// (80-BF), no stray continuation byte and no byte C0, C1, F5-FF.
bool IsUtf8ByShape(std::string_view bytes);

// Whether every byte is below 0x80. Such bytes decode to themselves in UTF-8
// and in code page 437, and fold the same in every case mapping used here.
bool IsAscii(std::string_view bytes);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t codePoint);

// Decodes the code point that starts at text[pos] and moves pos past it. An
// ill-formed sequence yields U+FFFD and moves pos by one byte. pos < size.
char32_t NextUtf8CodePoint(std::string_view text, std::size_t& pos);

// Upper-cases or lower-cases the letters A to Z only; every other byte stays.
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);

// Equality ignoring the case of the letters A to Z only.
bool SameTextAscii(std::string_view a, std::string_view b);

// Three-way comparison of two UTF-8 texts in UTF-16 code-unit order (which
// differs from code-point order for characters beyond U+FFFF).
int CompareUtf16(std::string_view a, std::string_view b);

// Unicode-aware case-insensitive equality (simple case mapping of each code
// point), the comparison "as the user's locale defines it".
bool SameTextUnicode(std::string_view a, std::string_view b);

// Unicode simple upper-casing of a UTF-8 text.
std::string UpperUnicode(std::string_view text);
// The same, appended to `out`: a caller that upper-cases many texts reuses one buffer.
void AppendUpperUnicode(std::string& out, std::string_view text);

// The extension of a name: the text from its last "." to the end, provided no
// "\" and no ":" follows that "."; "/" does not end the search. Empty when the
// name has no such ".".
std::string_view ExtensionOf(std::string_view name);

}  // namespace quill
