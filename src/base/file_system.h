#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace quill {

// Whether a regular file exists at the path; a link counts as its target, a
// folder does not count. Never raises.
bool FileExists(const std::filesystem::path& path) noexcept;

// Whether a folder exists at the path (a link counts as its target). Never raises.
bool DirectoryExists(const std::filesystem::path& path) noexcept;

// Whether a symbolic link (or another kind of redirection) stands at the path
// itself; the link is not followed. Never raises.
bool IsLink(const std::filesystem::path& path) noexcept;

// The size of the file in bytes, or nothing when it cannot be obtained.
std::optional<std::uint64_t> FileSize(const std::filesystem::path& path) noexcept;

// Creates the folder and every missing folder above it; an existing folder is
// success. Returns 0, or a system error code numbered as the system's error
// messages are keyed: 2 file not found, 3 path not found (also a file in the
// way), 4 too many open files, 5 access denied, any other the platform's own.
int CreateDirectories(const std::filesystem::path& path) noexcept;

// Removes a file (a link itself, not its target); false when nothing was removed.
bool RemoveFile(const std::filesystem::path& path) noexcept;

}  // namespace quill
