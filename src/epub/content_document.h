#pragma once

#include <string_view>

namespace quill {

// Whether an archive entry is a content document: its name's extension (see
// ExtensionOf), lower-cased in the letters A to Z only, is ".xhtml", ".html"
// or ".htm". "OEBPS/Text.d/chapter" has the extension ".d/chapter" and is none.
bool IsContentDocument(std::string_view name);

}  // namespace quill
