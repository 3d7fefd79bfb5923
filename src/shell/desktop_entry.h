#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quill {

// The keys of a desktop launcher (a ".desktop" file of the freedesktop.org
// desktop entry format) that the application list needs.
struct DesktopEntry {
  std::string exec;  // the command line of the "Exec" key, unescaped
  std::string icon;  // the "Icon" key: a theme icon name or an absolute path
};

// Reads the keys of the "[Desktop Entry]" group; other groups (the launcher's
// actions) and comments are passed over. Nothing when the text has no such group.
std::optional<DesktopEntry> ParseDesktopEntry(std::string_view text);

// The program that a launcher's command line starts: its first word, with
// the quoting of the format undone. A leading "env NAME=value ..." is passed
// over, since it only sets the environment of the real program. Empty when
// the command line names no program.
std::string DesktopEntryProgram(std::string_view exec);

}  // namespace quill
