#pragma once

#include <filesystem>
#include <memory>

#include "app/check_outcome.h"

namespace quill {

class BookArchive;
class TEpuB;
class UserMessageLog;

// The modification check of one EPUB file, from the file itself: a cheap test
// that a valid archive exists at the path, an independent reading of the
// package, the spine path list, and the check of the stored times against the
// reference time at the time resolution (an item index, 0 "Day" to 4 "Full").
// Every failure on the way is kCannotExamine: a missing file, an invalid
// archive, a package that does not read, any error raised. Never raises; the
// package reader may show its own messages.
CheckOutcome ExamineBook(const std::filesystem::path& path, int timeResolution);

// The same through a book archive that is already open: the validity test,
// the package reading and the check all read that one archive.
CheckOutcome ExamineBook(const std::shared_ptr<BookArchive>& archive, int timeResolution);

// The same for a book whose package `reading` has just read through the same
// archive, showing what `shown` holds. The package is not read again: the
// same archive gives the same package and the same messages, so what that
// reading showed is shown again where the second reading would show it.
CheckOutcome ExamineReadBook(const std::shared_ptr<BookArchive>& archive, const TEpuB& reading,
                             const UserMessageLog& shown, int timeResolution);

// Whether the book is confirmed unchanged: ExamineBook(...).unchanged().
bool IsUnchanged(const std::filesystem::path& path, int timeResolution);

}  // namespace quill
