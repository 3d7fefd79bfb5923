#pragma once

#include <filesystem>
#include <string>

namespace quill {

// Whether a file offered to the application list (by a drop) is an
// application: its extension, with A to Z folded, is ".exe" or ".lnk"; on
// POSIX, where programs carry no extension, also a ".desktop" launcher or any
// regular file that may be executed. A link counts as the file it points to.
// Whether the file exists is the caller's test.
bool IsApplicationFile(const std::filesystem::path& path);

// The mask of the application file type of the file dialog, masks separated
// by ";": "*.exe;*.lnk", and "*.desktop" beside them on POSIX.
std::string ApplicationFileMask();

}  // namespace quill
