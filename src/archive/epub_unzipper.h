#pragma once

#include <filesystem>

namespace quill {

// Unpacks every entry of the archive into the folder, each under its own
// relative path. The folder is created with every missing folder above it
// first; when that fails, an Exception "Nem tudom a könyvtárat létrehozni : "
// followed by the folder reaches the caller and the archive is not opened. A
// link standing at the folder's place counts as a folder that cannot be
// created: nothing is written through it.
// Every later error is shown in an error box and the answer is false (what was
// unpacked before it stays); otherwise the answer is true.
bool UnpackToFolder(const std::filesystem::path& archivePath, const std::filesystem::path& folder);

}  // namespace quill
