#include "archive/book_archive.h"

#include "base/byte_reader.h"

namespace quill {
namespace {

using Fault = ZipDirectoryFault::Kind;

constexpr std::uint16_t kZip64DiskMarker = 0xFFFF;

// Whether the record belongs to disk 0 (or sends the reader to the ZIP64
// record): the extractor reads single-disk archives only.
bool OnFirstDisk(FileWindow& window, std::uint64_t endRecord) {
  ByteReader fields(window.Bytes(endRecord, EndRecordSearch::kRecordSize));
  fields.Seek(4);
  const std::uint16_t disk = fields.U16().value_or(0);
  return disk == 0 || disk == kZip64DiskMarker;
}

}  // namespace

BookArchive::BookArchive(const std::filesystem::path& path, ReadOnlyFile::Sharing sharing)
    : path_(path) {
  try {
    file_.emplace(ReadOnlyFile::Open(path, sharing));
    window_.emplace(*file_);
    search_.emplace(*window_);
  } catch (...) {
    openError_ = std::current_exception();
  }
}

bool BookArchive::HasEndRecordInTail() {
  if (!search_) return false;
  try {
    return search_->NearestInTail().has_value();
  } catch (...) {
    tailError_ = std::current_exception();  // a failed read finds nothing
    return false;
  }
}

const ZipItemList& BookArchive::Answer(const Reading& reading) const {
  if (reading.error) std::rethrow_exception(reading.error);
  return *reading.directory;
}

std::shared_ptr<const ZipItemList> BookArchive::DirectoryAt(std::uint64_t endRecord,
                                                            Zip64Locator rule,
                                                            const Reading& other) {
  const bool sameReading =
      other.directory && other.endRecord == endRecord &&
      (rule == Zip64Locator::kOptional || !other.directory->zip64RecordMissing);
  if (sameReading) return other.directory;
  return std::make_shared<const ZipItemList>(ReadZipDirectory(*window_, endRecord, rule));
}

void BookArchive::ReadForZipFile() {
  Reading& reading = forZipFile_.emplace();
  try {
    if (openError_) std::rethrow_exception(openError_);
    if (file_->Size() == 0) throw ZipDirectoryFault(Fault::kEmptyFile);
    reading.endRecord = search_->NearestInTail();
    if (!reading.endRecord) throw ZipDirectoryFault(Fault::kNoEndRecord);
    // The directory reader has no use for the ZIP64 records' absence: an end
    // record with a marker but no locator is read by its own values.
    reading.directory = DirectoryAt(*reading.endRecord, Zip64Locator::kOptional,
                                    forUnzipper_ ? *forUnzipper_ : Reading{});
    comment_ = EndRecordComment(*window_, *reading.endRecord);
  } catch (...) {
    reading.directory.reset();
    reading.error = std::current_exception();
  }
}

void BookArchive::ReadForUnzipper() {
  Reading& reading = forUnzipper_.emplace();
  try {
    if (openError_) std::rethrow_exception(openError_);
    if (file_->Size() == 0) throw ZipDirectoryFault(Fault::kEmptyFile);
    reading.endRecord = search_->NearestWithFittingComment();
    if (!reading.endRecord || !OnFirstDisk(*window_, *reading.endRecord)) {
      throw ZipDirectoryFault(Fault::kNoEndRecord);
    }
    reading.directory = DirectoryAt(*reading.endRecord, Zip64Locator::kRequired,
                                    forZipFile_ ? *forZipFile_ : Reading{});
  } catch (...) {
    reading.directory.reset();
    reading.error = std::current_exception();
  }
}

const ZipItemList& BookArchive::DirectoryForZipFile() {
  if (!forZipFile_) ReadForZipFile();
  return Answer(*forZipFile_);
}

const std::string& BookArchive::RawComment() {
  DirectoryForZipFile();
  return comment_;
}

const ZipItemList& BookArchive::DirectoryForUnzipper() {
  if (!forUnzipper_) ReadForUnzipper();
  return Answer(*forUnzipper_);
}

}  // namespace quill
