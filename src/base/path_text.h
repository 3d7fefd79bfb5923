#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quill {

// File paths and UTF-8 text, on every platform. The core keeps text as UTF-8
// in std::string, but a path made from a plain std::string is read in the
// platform's narrow encoding, which on Windows is not UTF-8; these two
// conversions say the encoding. On POSIX they keep the bytes as they are; on
// Windows ill-formed UTF-8, and UTF-16 that no UTF-8 can express, become U+FFFD
// instead of failing.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8Of(const std::filesystem::path& path);

// The file-name part of a UTF-8 path, as the platform sees it: after the last
// separator, or after a drive's colon where drives exist.
std::string FileNameOf(std::string_view path);

}  // namespace quill
