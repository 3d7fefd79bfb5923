#include "archive/extract_path_guard.h"

#include <algorithm>
#include <string>
#include <vector>

#include "archive/archive_path.h"
#include "base/file_system.h"
#include "base/path_text.h"
#include "base/text.h"

namespace quill {
namespace {

// A name that could leave its folder or name no file at all on some system.
bool IsAbsoluteOrStrange(std::string_view name) {
  return name.empty() || name.find('\0') != std::string_view::npos ||
         name.find(':') != std::string_view::npos || name.front() == '\\' ||
         name.find("\\\\") != std::string_view::npos;
}

// "..", and "..." or ". ." which Windows trims to dots only.
bool IsDotsSegment(std::string_view segment) {
  return segment.find_first_not_of(". ") == std::string_view::npos;
}

std::optional<std::vector<std::string>> SafeSegments(std::string_view name) {
  std::vector<std::string> segments;
  for (const std::string_view segment : ArchivePathSegments(name)) {
    if (segment != ".") {
      if (IsDotsSegment(segment)) return std::nullopt;
      segments.emplace_back(segment);
    }
  }
  if (segments.empty()) return std::nullopt;
  return segments;
}

}  // namespace

GuardedPath GuardedExtractPath(const std::filesystem::path& base, std::string_view entryName,
                               bool isDirectory, bool keepFolders) {
  constexpr std::string_view kNameRefused =
      "its name is absolute, leads out of the folder or names no file";
  std::string name = ArchivePath(std::string(entryName));
  if (isDirectory && !name.empty() && name.back() == '\\') name.pop_back();
  if (IsAbsoluteOrStrange(name)) return {std::nullopt, kNameRefused};
  auto segments = SafeSegments(name);
  if (!segments) return {std::nullopt, kNameRefused};
  if (!keepFolders) segments->erase(segments->begin(), segments->end() - 1);

  std::filesystem::path target = base;
  for (const std::string& segment : *segments) {
    target /= PathFromUtf8(segment);
    // A link below the base could point anywhere; nothing is written through one.
    if (IsLink(target)) return {std::nullopt, "a link stands in its way"};
  }
  return {target, {}};
}

}  // namespace quill
