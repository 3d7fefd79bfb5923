#pragma once

#include <QString>

namespace quill {

// One of the program's fixed UTF-8 texts (a caption, a message) as a Qt string.
inline QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace quill
