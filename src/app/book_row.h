#pragma once

#include <string>

namespace quill {

// One row of the main window's list of found books.
struct BookRow {
  std::string fileName;  // the caption: the file name with its extension, without the folder
  std::string path;      // the first sub-item: the book's full path, which every command reads
  std::string reason{};  // why the book is listed, in words (CheckReasonText); not a column
};

}  // namespace quill
