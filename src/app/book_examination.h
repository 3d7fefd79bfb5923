#pragma once

#include <filesystem>

#include "app/check_outcome.h"

namespace quill {

// The modification check of one EPUB file, from the file itself: a cheap test
// that a valid archive exists at the path, an independent reading of the
// package, the spine path list, and the check of the stored times against the
// reference time at the time resolution (an item index, 0 "Day" to 4 "Full").
// Every failure on the way is kCannotExamine: a missing file, an invalid
// archive, a package that does not read, any error raised. Never raises; the
// package reader may show its own messages.
CheckOutcome ExamineBook(const std::filesystem::path& path, int timeResolution);

// Whether the book is confirmed unchanged: ExamineBook(...).unchanged().
bool IsUnchanged(const std::filesystem::path& path, int timeResolution);

}  // namespace quill
