#pragma once

#include <filesystem>

namespace quill {

// Shows the file or folder at the path selected in a file-manager window on
// its parent folder. True when the platform's file manager accepted the
// request; false, with nothing shown, when nothing exists at the path or no
// file manager can be asked. Only the desktop program offers this: its
// backends live in the window library (on POSIX systems the desktop's file
// manager is asked over the session bus, and where none answers the parent
// folder is opened, without the selection, by the desktop's default handler
// for folders; false only when that fails too).
bool SelectInExplorer(const std::filesystem::path& path);

}  // namespace quill
