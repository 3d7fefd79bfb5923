#pragma once

#include <string_view>

namespace quill {

// Whether a wildcard mask matches the whole of a name. "*" stands for any run
// of characters, also none; "?" for exactly one character; every other
// character must equal the name's character at that place. Characters are
// compared exactly, so callers that want letter case ignored pass both texts
// upper-cased. Both texts are UTF-8; a character is one code point.
bool MaskMatches(std::string_view mask, std::string_view name);

}  // namespace quill
