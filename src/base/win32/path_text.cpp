#include "base/path_text.h"

#include "base/win32/wide_text.h"

namespace quill {

// The system's own conversions, which never fail: a name that no text could
// come from still names its file, with U+FFFD in place of what cannot convert.
std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(WideOf(text));
}

std::string Utf8Of(const std::filesystem::path& path) { return Utf8OfWide(path.native()); }

}  // namespace quill
