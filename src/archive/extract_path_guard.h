#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace quill {

// The one check that every path passes before an extraction writes anything.
// Answers where the entry lands under the base folder, or, when the entry
// must not be written, why not: an empty name, a NUL byte, an absolute name (a
// leading separator, a drive letter or any ":", two separators in a row), a
// segment of dots (".." and the forms that some systems read as ".."), or a
// path that leads through a link already on disk below the base folder.
// "/" and "\" both separate segments; a "." segment is dropped. A folder entry
// loses its trailing separator; without `keepFolders` only the last segment
// is kept.
struct GuardedPath {
  std::optional<std::filesystem::path> target;
  std::string_view refusal;  // why there is no target, in words
};
GuardedPath GuardedExtractPath(const std::filesystem::path& base, std::string_view entryName,
                               bool isDirectory, bool keepFolders);

}  // namespace quill
