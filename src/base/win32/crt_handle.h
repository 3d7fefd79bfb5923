#pragma once

#include <windows.h>

namespace quill {

// The file classes keep a C runtime descriptor, the same kind of handle that
// they keep on POSIX systems; on Windows the descriptor owns the system's
// file handle, and closing it closes that.
//
// Hands a file handle over to a new descriptor; -1 (with the handle closed)
// when the runtime has no descriptor left.
int AdoptFileHandle(HANDLE handle, int flags) noexcept;

// The file handle behind a descriptor.
HANDLE FileHandleOf(int descriptor) noexcept;

}  // namespace quill
