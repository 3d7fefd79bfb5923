#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/zip_view_row.h"

namespace quill {

class BookArchive;

// An error that ended a listing: its kind name and its message.
struct ZipViewFailure {
  std::string kind;
  std::string message;
};

// The content documents of a book in archive order, the archive comment, and
// the error that ended the listing early, if one did. The rows read before
// the error stay, the failing document's row included (without fields) when
// its time was what failed.
struct ZipViewListing {
  std::vector<ZipViewRow> rows;
  std::string comment;  // the archive's comment, shown on every row
  std::optional<ZipViewFailure> failure;
};

// The images of the zip view's list, by index.
enum ZipViewImage : int {
  kSortArrowsImage = 0,  // the header of the time column
  kXmlPageImage = 1,     // a ".xhtml" row
  kHtmPageImage = 2,     // a ".html" or ".htm" row
};

// Whether the zip view reads the book at all: a file exists at the path (a
// link counts as its target) and it carries a ZIP end record. Never raises.
bool CanListBook(const std::filesystem::path& book) noexcept;
bool CanListBook(BookArchive& book) noexcept;

// Reads the book's central directory and lists its content documents (see
// IsContentDocument) in archive order. Opens the file for reading only and
// releases it before returning. Never raises for an error of the archive or
// of a stored time: that error ends the listing and is reported in `failure`.
ZipViewListing ListContentDocuments(const std::filesystem::path& book);
// The same through a book archive that is already open (the file is not opened again).
ZipViewListing ListContentDocuments(const std::shared_ptr<BookArchive>& book);

// The image of a listed row, from the name's extension folded in A to Z only.
ZipViewImage RowImage(std::string_view name);

// The text of the message box that reports a failed listing: the kind name,
// the message, the book's path and "No ModifiedDateTime ?", each pair
// separated by a line feed followed by a carriage return.
std::string ZipViewFailureText(const ZipViewFailure& failure, std::string_view bookPath);

}  // namespace quill
