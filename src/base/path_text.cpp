#include "base/path_text.h"

namespace quill {

std::string FileNameOf(std::string_view path) { return Utf8Of(PathFromUtf8(path).filename()); }

}  // namespace quill
