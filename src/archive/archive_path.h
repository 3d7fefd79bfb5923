#pragma once

// Archive paths: an entry's stored name read with "\" for every "/". The
// package's paths, the check's keys and the extraction's targets all meet in
// this form.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// The archive path of a stored name (or of a "/"-separated package path).
std::string ArchivePath(std::string storedName);

// Whether the stored name, read as an archive path, is exactly the archive path.
bool IsArchivePath(std::string_view storedName, std::string_view archivePath);

// The text before the last "\"; empty when there is none.
std::string_view ArchiveFolder(std::string_view archivePath);

// The "\"-separated segments of an archive path, empty ones included: "a\b\"
// has "a", "b" and "", and the empty path has one empty segment.
std::vector<std::string_view> ArchivePathSegments(std::string_view archivePath);

// Whether any of those segments meets the test; the walk stops at the first
// that does and makes no list.
template <typename Test>
bool AnyArchivePathSegment(std::string_view archivePath, Test test) {
  std::size_t start = 0;
  while (start <= archivePath.size()) {
    const std::size_t end = std::min(archivePath.find('\\', start), archivePath.size());
    if (test(archivePath.substr(start, end - start))) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace quill
