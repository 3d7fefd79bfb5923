#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "archive/unpack_report.h"

namespace quill {

// What the unpack command made of one book.
struct BookUnpacking {
  enum class Status : std::uint8_t {
    kUnpacked,           // every entry went through the unpack; `report` tells what was left out
    kNoFile,             // no file exists at the path; nothing was read
    kPackageUnreadable,  // the package reader did not read the package; nothing unpacked
    kNoTemporaryFolder,  // no target was chosen and the platform gives no temporary folder
    kFailed,             // the unpack failed part-way; its error has been shown
  };

  Status status = Status::kNoFile;
  // The target folder, once one was chosen; with kNoTemporaryFolder, the
  // place that could not be used (empty when the platform names none).
  std::filesystem::path folder;
  UnpackReport report;  // the entries written and the problems, once unpacking began

  // Whether the book is in the folder whole, every entry as stored.
  bool Complete() const { return status == Status::kUnpacked && report.problems.empty(); }

  // Unpacks the book the way the unpack command does: the package is read
  // first, and only a book whose package reads (Ok, with its EpubPath) is
  // unpacked, from EpubPath into `target`, or else into the temporary folder
  // followed by the book's name without its last extension. The reader and
  // the unpack show their own messages. A target folder that cannot be
  // created raises the unpack's Exception; so does a link standing at the
  // place of the folder in the temporary folder (a target the user names is
  // followed when it is a link).
  static BookUnpacking Run(const std::filesystem::path& book,
                           const std::optional<std::filesystem::path>& target = std::nullopt);
};

// The error box text that tells which entries an unpack left out or wrote
// with a failing checksum: one line for each of the first `shown`, then how
// many more there are; then the sentence on files in the folder that the
// book does not hold. Just that sentence when nothing was left out, and
// empty when there is nothing to tell.
std::string UnpackProblemsText(const UnpackReport& report, std::size_t shown = 20);

}  // namespace quill
