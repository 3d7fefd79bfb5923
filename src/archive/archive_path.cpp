#include "archive/archive_path.h"

#include <algorithm>

namespace quill {

std::string ArchivePath(std::string storedName) {
  std::replace(storedName.begin(), storedName.end(), '/', '\\');
  return storedName;
}

bool IsArchivePath(std::string_view storedName, std::string_view archivePath) {
  // Compared in place: the walk runs once per entry and document.
  if (storedName.size() != archivePath.size()) return false;
  for (std::size_t i = 0; i < storedName.size(); ++i) {
    const char c = storedName[i] == '/' ? '\\' : storedName[i];
    if (c != archivePath[i]) return false;
  }
  return true;
}

std::string_view ArchiveFolder(std::string_view archivePath) {
  const std::size_t slash = archivePath.rfind('\\');
  return slash == std::string_view::npos ? std::string_view() : archivePath.substr(0, slash);
}

std::vector<std::string_view> ArchivePathSegments(std::string_view archivePath) {
  std::vector<std::string_view> segments;
  AnyArchivePathSegment(archivePath, [&](std::string_view segment) {
    segments.push_back(segment);
    return false;
  });
  return segments;
}

}  // namespace quill
