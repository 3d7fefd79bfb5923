#include "archive/extract_path_guard.h"

#include "archive/archive_path.h"

namespace quill {
namespace {

// "..", and "..." or ". ." which Windows trims to dots only.
bool IsDotsSegment(std::string_view segment) {
  return segment.find_first_not_of(". ") == std::string_view::npos;
}

}  // namespace

GuardedPath GuardedExtractPath(std::string_view entryName, bool isDirectory, bool keepFolders) {
  std::string name = ArchivePath(std::string(entryName));
  if (isDirectory && !name.empty() && name.back() == '\\') name.pop_back();
  if (name.empty() || name.find('\0') != std::string::npos) {
    return {std::nullopt, "its name names no file"};
  }
  if (name.front() == '\\' || name.find(':') != std::string::npos) {
    return {std::nullopt, "its name is absolute"};
  }
  // On Windows "a\\b" can read as a network path, and a doubled separator
  // hides an empty segment: neither is a name that a book needs.
  if (name.find("\\\\") != std::string::npos) {
    return {std::nullopt, "its name holds two separators in a row"};
  }
  std::vector<std::string> segments;
  for (const std::string_view segment : ArchivePathSegments(name)) {
    if (segment == ".") continue;
    if (IsDotsSegment(segment)) return {std::nullopt, "its name holds a \"..\" segment"};
    segments.emplace_back(segment);
  }
  if (segments.empty()) return {std::nullopt, "its name names no file"};
  if (!keepFolders) segments.erase(segments.begin(), segments.end() - 1);
  return {std::move(segments), {}};
}

}  // namespace quill
