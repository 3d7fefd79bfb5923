#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quill {

// Whether the file name's extension, exactly as written, marks a shortcut
// that the application list replaces by its target: ".lnk", and on POSIX
// also ".desktop" (a desktop launcher).
bool IsShortcutName(const std::filesystem::path& path);

// The full path of the program that a shortcut leads to; empty when it cannot
// be resolved. On POSIX a desktop launcher leads to the program of its "Exec"
// line, looked up in PATH when it has no folder; a symbolic link leads to the
// file it finally points to; a ".lnk" file cannot be resolved.
std::string ResolveShortcut(const std::filesystem::path& path);

}  // namespace quill
