#pragma once

#include <filesystem>

#include "archive/unpack_report.h"

namespace quill {

// Unpacks every entry of the archive into the folder, each under its own
// relative path. The folder is created with every missing folder above it
// first; when that fails, an Exception "Nem tudom a könyvtárat létrehozni : "
// followed by the folder reaches the caller and the archive is not opened. A
// link at the folder's own place is followed.
// Every later error is shown in an error box and the answer is false (what was
// unpacked before it stays); otherwise the answer is true. Entries left out
// and entries whose data fails its checksum are not shown here: they are
// collected in the report, when one is given, for the caller to tell, with
// the files that the folder holds afterwards and the book does not name.
bool UnpackToFolder(const std::filesystem::path& archivePath, const std::filesystem::path& folder,
                    UnpackReport* report = nullptr);

}  // namespace quill
