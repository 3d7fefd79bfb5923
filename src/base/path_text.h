#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quill {

// File paths and UTF-8 text, on every platform. The core keeps text as UTF-8
// in std::string, but a path made from a plain std::string is read in the
// platform's narrow encoding, which on Windows is not UTF-8; these two
// conversions say the encoding.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8Of(const std::filesystem::path& path);

}  // namespace quill
