#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace quill {

// What the unpack command made of one book.
struct BookUnpacking {
  enum class Status : std::uint8_t {
    kUnpacked,            // every entry is in `folder`
    kNoFile,              // no file exists at the path; nothing was read
    kPackageUnreadable,   // the package reader did not read the package; nothing unpacked
    kNoTemporaryFolder,   // no target was chosen and the platform gives no temporary folder
    kFailed,              // the unpack failed part-way; its error has been shown
  };

  Status status = Status::kNoFile;
  std::filesystem::path folder;  // the target folder, once one was chosen

  // Unpacks the book the way the unpack command does: the package is read
  // first, and only a book whose package reads (Ok, with its EpubPath) is
  // unpacked, from EpubPath into `target`, or else into the temporary folder
  // followed by the book's name without its last extension. The reader and
  // the unpack show their own messages. A target folder that cannot be
  // created raises the unpack's Exception.
  static BookUnpacking Run(const std::filesystem::path& book,
                           const std::optional<std::filesystem::path>& target = std::nullopt);
};

}  // namespace quill
