#include "app/content_document.h"

#include <string>

#include "base/text.h"

namespace quill {

bool IsContentDocument(std::string_view name) {
  const std::string extension = LowerAscii(ExtensionOf(name));
  return extension == ".xhtml" || extension == ".html" || extension == ".htm";
}

}  // namespace quill
