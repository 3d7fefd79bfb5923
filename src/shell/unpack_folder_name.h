#pragma once

#include <string>

namespace quill {

// The name of the folder that a book is unpacked into: the file name of its
// path without the folder and without its last extension (everything from
// the last "." of the name on). A name without "." stays whole; a name that
// is only an extension (".epub") gives an empty name.
// "/books/my.book.final.epub" gives "my.book.final".
std::string UnpackFolderName(const std::string& bookPath);

}  // namespace quill
