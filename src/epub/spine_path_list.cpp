#include "epub/spine_path_list.h"

#include <algorithm>
#include <optional>

#include "archive/archive_path.h"

namespace quill {
namespace {

std::optional<int> HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

// Decodes every "%XX" escape to its byte; a "%" without two hex digits stays
// as it is. A decoded "/" is a separator of the archive path like any other.
std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const auto high = HexValue(text[i + 1]);
      const auto low = HexValue(text[i + 2]);
      if (high && low) {
        const char byte = static_cast<char>(*high * 16 + *low);
        out += byte;
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return ArchivePath(std::move(out));
}

// Appends the "\"-separated segments of a relative path to a list of
// segments, dropping "." and letting ".." remove the last segment.
void AppendSegments(std::vector<std::string_view>& segments, std::string_view path) {
  for (const std::string_view segment : ArchivePathSegments(path)) {
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (segment != ".") {
      segments.push_back(segment);
    }
  }
}

std::string JoinSegments(const std::vector<std::string_view>& segments) {
  std::string out;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) out += '\\';
    out += segments[i];
  }
  return out;
}

// Whether the path holds a "." or ".." segment.
bool HasDotSegment(std::string_view path) {
  return AnyArchivePathSegment(path, [](std::string_view s) { return s == "." || s == ".."; });
}

// Whether the href needs no decoding and no resolving: joined to a folder
// without dot segments it already is its archive path. Most books' hrefs are
// of this kind.
bool IsPlainHref(std::string_view href) {
  const bool escapedOrSlashed =
      std::ranges::any_of(href, [](char c) { return c == '%' || c == '/'; });
  return !escapedOrSlashed && !href.starts_with('\\') && !HasDotSegment(href);
}

std::string SpinePath(std::string_view opfFolder, bool plainFolder, std::string_view href) {
  if (plainFolder && IsPlainHref(href)) {
    if (opfFolder.empty()) return std::string(href);
    std::string path;
    path.reserve(opfFolder.size() + 1 + href.size());
    path.append(opfFolder).append(1, '\\').append(href);
    return path;
  }
  const std::string decoded = PercentDecode(href);
  std::vector<std::string_view> segments;
  std::string_view relative = decoded;
  if (!relative.empty() && relative.front() == '\\') {
    relative.remove_prefix(1);  // from the archive's root
  } else if (!opfFolder.empty()) {
    AppendSegments(segments, opfFolder);
  }
  AppendSegments(segments, relative);
  return JoinSegments(segments);
}

}  // namespace

std::vector<std::string> BuildSpinePathList(std::string_view opfFolder,
                                            const std::vector<std::string>& spineHrefs) {
  std::vector<std::string> paths;
  paths.reserve(spineHrefs.size());
  const bool plainFolder = !HasDotSegment(opfFolder);
  for (const std::string& href : spineHrefs)
    paths.push_back(SpinePath(opfFolder, plainFolder, href));
  return paths;
}

}  // namespace quill
