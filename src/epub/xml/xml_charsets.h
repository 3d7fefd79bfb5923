#pragma once

#include <string_view>

namespace quill {

// Whether a character-set name that an XML declaration gives is one the
// model knows: a common name or alias, compared without regard to the case
// of A to Z. The model reads UTF-8 whatever the name; the table only decides
// which declared names a parse accepts.
bool IsKnownCharset(std::string_view name);

}  // namespace quill
