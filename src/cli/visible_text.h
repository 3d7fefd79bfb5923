#pragma once

#include <string>
#include <string_view>

namespace quill {

// The text with every control character written out, so that a name cannot
// act on the terminal (recolour it, move the cursor) or break one line into
// two: TAB, line feed and carriage return as \t, \n and \r, the other C0
// controls and DEL as \xHH, the C1 controls (U+0080 to U+009F) as \uHHHH.
// Everything else, backslashes included, stays as it is.
std::string VisibleText(std::string_view text);

}  // namespace quill
