#pragma once

// Archive paths: an entry's stored name read with "\" for every "/". The
// package's paths, the check's keys and the extraction's targets all meet in
// this form.

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

}  // namespace quill
