#pragma once

#include <windows.h>

#include <optional>

#include "base/file_identity.h"
#include "base/timestamp.h"

// What the Windows file classes share with the file-system functions.
namespace quill {

// The file time of a date and time taken as local time; false when there is none.
bool LocalFileTime(Timestamp localTime, FILETIME& time) noexcept;

// The identity of the open file or folder (volume serial number and file
// index); nothing when the system does not tell it.
std::optional<FileIdentity> IdentityOfHandle(HANDLE handle) noexcept;

}  // namespace quill
