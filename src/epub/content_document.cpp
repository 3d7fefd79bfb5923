#include "epub/content_document.h"

#include "base/text.h"

namespace quill {

bool IsContentDocument(std::string_view name) {
  // Folding A to Z and comparing with lower-case texts is equality ignoring
  // the case of A to Z.
  const std::string_view extension = ExtensionOf(name);
  return SameTextAscii(extension, ".xhtml") || SameTextAscii(extension, ".html") ||
         SameTextAscii(extension, ".htm");
}

}  // namespace quill
