#pragma once

#include "base/timestamp.h"

// What the POSIX file classes share with the file-system functions.
namespace quill {

// An errno in the numbering of CreateDirectories' codes.
int SystemErrorCode(int error) noexcept;

// Sets the last-write time of the open file or folder from a time taken as
// local time; false when that cannot be done.
bool SetLocalFileTime(int descriptor, Timestamp localTime) noexcept;

}  // namespace quill
