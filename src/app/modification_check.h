#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/check_outcome.h"

namespace quill {

class BookArchive;

// The check with its reasons: which spine document differs from which
// reference, that no spine document was found, or what kept the archive from
// being examined. The same rules as SpineTimesMatch, which answers
// CheckSpineTimes(...).unchanged(). Never raises.
CheckOutcome CheckSpineTimes(const std::filesystem::path& archivePath,
                             const std::vector<std::string>& spinePaths, int timeResolution);

// The same, reading the directory of a book archive that is already open.
CheckOutcome CheckSpineTimes(const std::shared_ptr<BookArchive>& archive,
                             const std::vector<std::string>& spinePaths, int timeResolution);

// Whether the content documents that a book's spine lists all carry the
// reference time at the given time resolution (an item index, 0 "Day" to
// 4 "Full"). The reference time is that of the last content document in
// archive order, spine or not. Only the archive's directory is read; the
// file is opened read-only and left untouched.
//
// True means unchanged: at least one spine document was found and every one
// found matches. Anything else is false: a differing document, no spine
// document in the archive, or any error (missing file, broken directory, an
// impossible stored time on any content document). Never raises.
//
// Entries are found by archive path ignoring letter case (Unicode simple case
// mapping). An entry's name is the one decoded name that extraction gives it
// too (DecodeEntryName), so a document that the package reader can read is
// also found here, in any archive the extractor reads, ZIP64 included.
bool SpineTimesMatch(const std::filesystem::path& archivePath,
                     const std::vector<std::string>& spinePaths, int timeResolution);

}  // namespace quill
