#pragma once

#include <string>

namespace quill {

// The user's temporary directory, ending in a separator, where unpacked books
// go; empty when the platform cannot give one. On POSIX systems, where the
// temporary directory is shared by every user, it is a folder of the user's
// own inside it, "${TMPDIR:-/tmp}/quillmere-<uid>/": created with access for
// the user alone, and refused (empty) unless it is a real folder, not a link,
// owned by the user, so that no one else can redirect what is unpacked there.
std::string TemporaryFolderPath();

// Where TemporaryFolderPath looks, whether or not it can be used there, to
// name it when it cannot; empty when the platform names no place at all.
std::string TemporaryFolderPlace();

}  // namespace quill
