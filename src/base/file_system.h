#pragma once

#include <filesystem>

namespace quill {

// Whether a regular file exists at the path; a link counts as its target, a
// folder does not count. Never raises.
bool FileExists(const std::filesystem::path& path) noexcept;

// Whether a folder exists at the path (a link counts as its target). Never raises.
bool DirectoryExists(const std::filesystem::path& path) noexcept;

}  // namespace quill
