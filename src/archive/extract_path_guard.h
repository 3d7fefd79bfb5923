#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// The one check that every entry name passes before an extraction writes
// anything. Answers the names of the folders and the file (or folder) under
// which the entry lands below the base folder, one segment each, or, when the
// entry must not be written, why not: a name that names no file (empty, or a
// NUL byte), an absolute name (a leading separator, a drive letter or any
// ":"), two separators in a row, or a segment of dots (".." and the forms that
// some systems read as "..") however it would resolve.
// "/" and "\" both separate segments; a "." segment is dropped. A folder entry
// loses its trailing separator; without `keepFolders` only the last segment
// is kept. Links on disk are the writer's to refuse, as it opens each segment.
struct GuardedPath {
  std::optional<std::vector<std::string>> segments;
  std::string_view refusal;  // why there are no segments, in words
};
GuardedPath GuardedExtractPath(std::string_view entryName, bool isDirectory, bool keepFolders);

}  // namespace quill
