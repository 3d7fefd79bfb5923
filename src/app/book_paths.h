#pragma once

#include <string>
#include <vector>

namespace quill {

// Paths handed over at once, by a drop on the main window or on the desktop
// program's command line, sorted the way the add commands take them: EPUB
// files for one "Add file", folders for "Add folder with subfolders" each in
// turn. Whatever is neither (another kind of file, a path that names nothing)
// is left out.
struct BookPaths {
  std::vector<std::string> files;    // in the order given
  std::vector<std::string> folders;  // in the order given
  std::vector<std::string> ignored;  // in the order given

  bool empty() const { return files.empty() && folders.empty(); }
};

// A path is a folder when a folder exists there (a link counts as its
// target), and a book file when its name ends in ".epub", letter case aside,
// whether or not a file exists there: "Add file" skips a missing one itself.
BookPaths SortBookPaths(const std::vector<std::string>& paths);

}  // namespace quill
