#pragma once

#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "archive/central_directory.h"
#include "archive/end_record.h"
#include "archive/file_window.h"
#include "base/read_only_file.h"

namespace quill {

// One book's archive for one examination: the file, opened read-only once,
// and its central directory, decoded once. The directory reader (TZipFile),
// the extractor (TAbUnZipper) and everything built on them read through it,
// each by its own rules for finding the end record and in its own words for
// what goes wrong; where both rules find the same record, they share one
// decoded directory. Nothing is kept beyond the object's life, so a file that
// changes between two examinations is read afresh.
//
// Opening never raises: a failure is kept and raised again, in the asking
// reader's words, every time that reader asks. One thread at a time.
class BookArchive {
 public:
  BookArchive(const std::filesystem::path& path, ReadOnlyFile::Sharing sharing);
  BookArchive(const BookArchive&) = delete;
  BookArchive& operator=(const BookArchive&) = delete;

  // The archive of a book that others may read meanwhile.
  static std::shared_ptr<BookArchive> Open(const std::filesystem::path& path) {
    return std::make_shared<BookArchive>(path, ReadOnlyFile::Sharing::kAll);
  }

  const std::filesystem::path& Path() const { return path_; }

  // Whether the file opened.
  bool IsOpen() const { return !openError_; }

  // Reads the bytes [offset, offset + count) now, for the readers that come
  // later (ReadOnlyFile::ReadAhead). Only valid when the file opened.
  void ReadAhead(std::uint64_t offset, std::size_t count) { file_->ReadAhead(offset, count); }

  // The directory reader's validity test: an end record in the last 65557
  // bytes (the record and the longest comment). False when the file could not
  // be opened or its tail not read; Failure() then tells why.
  bool HasEndRecordInTail();

  // The error, as raised, that kept the file from being opened or its tail
  // from being read by HasEndRecordInTail(); none when both went well, so a
  // false answer then means that the file is no archive.
  std::exception_ptr Failure() const { return openError_ ? openError_ : tailError_; }

  // The directory as the directory reader reads it, and the archive comment's
  // raw bytes. Raises EFOpenError as the file system raised it,
  // ZipDirectoryFault, or EReadError when the system fails a read.
  const ZipItemList& DirectoryForZipFile();
  const std::string& RawComment();

  // The directory as the extractor reads it. Raises as DirectoryForZipFile.
  const ZipItemList& DirectoryForUnzipper();

  // The open file. Only valid once a directory has been given.
  const ReadOnlyFile& File() const { return *file_; }

 private:
  struct Reading {
    std::shared_ptr<const ZipItemList> directory;
    std::exception_ptr error;
    std::optional<std::uint64_t> endRecord;
  };

  const ZipItemList& Answer(const Reading& reading) const;
  void ReadForZipFile();
  void ReadForUnzipper();
  // The directory at the end record, shared with the other reader's when it
  // found the same record.
  std::shared_ptr<const ZipItemList> DirectoryAt(std::uint64_t endRecord, Zip64Locator rule,
                                                 const Reading& other);

  std::filesystem::path path_;
  std::optional<ReadOnlyFile> file_;
  std::exception_ptr openError_;  // as the file system raised it
  std::exception_ptr tailError_;  // a failed read of the tail, as raised
  std::optional<FileWindow> window_;
  std::optional<EndRecordSearch> search_;
  std::optional<Reading> forZipFile_;
  std::optional<Reading> forUnzipper_;
  std::string comment_;
};

}  // namespace quill
