#pragma once

#include <filesystem>
#include <string_view>

namespace quill {

// Replaces the file's content with the bytes so that a reader, or the next
// run after a crash or a power loss, finds either the old content or the new
// one, never a mixture: the bytes go to a temporary file in the same folder,
// which is flushed to the disk and then renamed over the file. The file's
// permissions are kept; a new file is readable by its owner only. False when
// anything fails, and then the old file is untouched and no temporary file
// is left behind.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) noexcept;

}  // namespace quill
