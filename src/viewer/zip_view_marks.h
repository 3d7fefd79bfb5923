#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "viewer/time_text_locale.h"
#include "viewer/zip_view_listing.h"

namespace quill {

// How a row of the zip view stands out.
enum class ZipViewMark : std::uint8_t { kNone, kReference, kDiffers };

// What the zip view marks in a book's listing at a time resolution, by the
// modification check's own rules: the reference document (the last content
// document in archive order) and every spine document whose stored time is
// not the reference time at that resolution.
struct ZipViewMarks {
  enum class Basis : std::uint8_t {
    kCompared,         // the spine documents were compared with the reference
    kNoSpine,          // the package's spine could not be read
    kUnreadableTimes,  // the listing ended at an error, so the reference is unknown
  };

  Basis basis = Basis::kCompared;
  std::vector<ZipViewMark> marks;  // one per row of the listing, in its order
  int spineDocuments = 0;          // listed rows that the spine names
  int differing = 0;               // spine documents whose time differs
  std::optional<std::size_t> referenceRow;
  int timeResolution = 0;
};

// The archive paths of the book's spine documents, read from its package
// without showing the package reader's messages (the book has been read
// before it is viewed); nothing when the package does not read.
std::optional<std::vector<std::string>> ReadSpinePaths(const std::filesystem::path& book);

// Compares every listed spine document with the reference at the time
// resolution (an item index, 0 "Day" to 4 "Full"). Spine paths and entry names
// meet without regard to letter case. Without spine paths nothing is marked.
ZipViewMarks MarkSpineDocuments(const ZipViewListing& listing,
                                const std::optional<std::vector<std::string>>& spinePaths,
                                int timeResolution);

// The status bar's sentence about the marks: how many of the spine documents
// differ from the reference time (written as the time column writes it) and
// the reference document, at the resolution's name, or that all agree, or why
// nothing could be compared.
std::string ZipViewMarksText(const ZipViewMarks& marks, const ZipViewListing& listing,
                             const TimeTextLocale& locale);

}  // namespace quill
