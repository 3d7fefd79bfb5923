#include "archive/unzipper.h"

#include <string>

#include "archive/entry_data.h"
#include "archive/central_directory.h"
#include "archive/archive_error_kinds.h"
#include "archive/book_archive.h"
#include "archive/dos_date_time.h"
#include "archive/extract_path_guard.h"
#include "base/file_system.h"
#include "base/memory_stream.h"
#include "base/path_text.h"
#include "base/writable_file.h"

namespace quill {
namespace {

// The message of a failed folder creation, by system error code.
std::string InOutErrorMessage(int code, const std::filesystem::path& folder) {
  switch (code) {
    case 2:
      return "The specified file was not found";
    case 3:
      return "Invalid file name - " + Utf8Of(folder);
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    default:
      return "I/O error " + std::to_string(code);
  }
}

class StreamSink final : public EntrySink {
 public:
  explicit StreamSink(MemoryStream& stream) : stream_(stream) {}
  bool Write(std::string_view chunk) override {
    stream_.Write(chunk);
    return true;
  }

 private:
  MemoryStream& stream_;
};

// Writes into the file, and remembers when the file refused, so that a full
// disk is not taken for damaged data.
class FileSink final : public EntrySink {
 public:
  explicit FileSink(WritableFile& file) : file_(file) {}
  bool Write(std::string_view chunk) override {
    failed_ = failed_ || !file_.Write(chunk);
    return !failed_;
  }
  bool failed() const { return failed_; }

 private:
  WritableFile& file_;
  bool failed_ = false;
};

// Why an entry's data could not be located, in the order in which the
// location tests it.
std::string WhyNotLocated(const TAbZipItem& item) {
  if ((item.versionNeeded & 0xFF) > kHighestVersionNeeded) {
    return "it needs a later version of the format";
  }
  if (item.IsEncrypted()) return "it is encrypted";
  return "its local header is missing or damaged";
}

// Why located data was not written in full.
std::string WhyNotDecoded(const TAbZipItem& item, DecodeOutcome outcome, bool writeFailed) {
  if (writeFailed) return "the file could not be written";
  if (outcome == DecodeOutcome::kUnsupportedMethod) {
    return "its compression method " + std::to_string(item.compressionMethod) + " is not supported";
  }
  return "its compressed data is damaged or cut short";
}

// Whether the stored attributes make the file read-only: from the Unix mode
// in the upper 16 bits when the entry comes from Unix or those bits are in
// use (owner-write clear), else from the MS-DOS attribute byte.
bool StoresReadOnly(const TAbZipItem& item) {
  constexpr std::uint32_t kUnixModeInUse = 0xFFFE0000;
  if (item.HostSystem() == TAbZipItem::kHostUnix ||
      (item.externalAttributes & kUnixModeInUse) != 0) {
    const std::uint32_t mode = item.externalAttributes >> 16;
    return (mode & 0x80) == 0;
  }
  return (item.externalAttributes & 0x01) != 0;
}

// Gives the extracted file or folder the entry's stored time, taken as local
// time, and its read-only state. An impossible stored time leaves both
// unset; a failure to set either is ignored. Folders are never made
// read-only: on POSIX that would stop the later entries inside them from
// being written.
void ApplyStoredTimeAndAttributes(const TAbZipItem& item, const std::filesystem::path& target) {
  Timestamp localTime = 0;
  try {
    localTime = DosDateTimeToTimestamp(item.DosDateTime());
  } catch (const EConvertError&) {
    return;
  }
  SetLastWriteTime(target, localTime);
  if (!item.IsDirectory() && StoresReadOnly(item)) SetReadOnly(target);
}

// The directory of the archive, or the component's own error for why it
// cannot be read. A file that cannot be opened raises EAbFileNotFound when it
// is missing (or a folder), EAbBadStream when it is empty (or its size cannot
// be known), each before any error of the opening itself: a normal open asks
// the file system nothing else, the other questions are asked only once the
// opening has failed.
const ZipItemList& ReadDirectory(BookArchive& archive) {
  try {
    return archive.DirectoryForUnzipper();
  } catch (const EFOpenError&) {
    if (!FileExists(archive.Path())) throw EAbFileNotFound("Fájl nem található");
    const auto size = FileSize(archive.Path());
    if (!size || *size == 0) throw EAbBadStream("Érvénytelen adatfolyam");
    throw;
  } catch (const ZipDirectoryFault& fault) {
    switch (fault.kind()) {
      case ZipDirectoryFault::Kind::kEmptyFile:
        throw EAbBadStream("Érvénytelen adatfolyam");
      case ZipDirectoryFault::Kind::kNoEndRecord:
        throw EAbUnhandledType("Hibas archívumtípus");
      case ZipDirectoryFault::Kind::kHeaderSignature:
      case ZipDirectoryFault::Kind::kNoZip64Record:
        throw EAbZipInvalid("Érvénytelen fájl – nem PKZip fájl");
      default:
        throw EReadError("Stream read error");
    }
  }
}

}  // namespace

void TAbUnZipper::SetFileName(const std::filesystem::path& path) {
  Close();
  if (!path.empty()) SetArchive(BookArchive::Open(path));
}

void TAbUnZipper::SetArchive(std::shared_ptr<BookArchive> archive) {
  Close();
  items_ = &ReadDirectory(*archive).items;
  names_.Assign(*items_);
  fileName_ = archive->Path();
  archive_ = std::move(archive);
}

void TAbUnZipper::Close() {
  archive_.reset();
  items_ = nullptr;
  names_.Clear();
  fileName_.clear();
}

const TAbZipItem& TAbUnZipper::Items(std::size_t index) const {
  if (index >= Count()) throw EArgumentOutOfRangeException("Argument out of range");
  return (*items_)[index];
}

void TAbUnZipper::ExtractEntryToStream(std::string_view name, MemoryStream& stream) {
  const auto index = names_.FindLatest(name);
  if (index) ExtractItemToStream(*index, stream);
}

void TAbUnZipper::ExtractItemToStream(std::size_t index, MemoryStream& stream) {
  const TAbZipItem& item = Items(index);
  if (item.uncompressedSize > kMaxStreamEntrySize) return;
  const auto location = LocateEntryData(archive_->File(), item);
  if (!location) return;
  StreamSink sink(stream);
  // Whatever the outcome, what was written stays in the stream and nothing
  // is reported: a damaged entry simply yields what could be decoded, so its
  // checksum is not even computed.
  DecodeEntryData(archive_->File(), item, *location, sink, ChecksumCheck::kSkip);
}

EntryExtraction TAbUnZipper::ExtractEntryToFolder(std::size_t index) {
  const TAbZipItem& item = Items(index);
  const bool createDirs = extractOptions_.contains(eoCreateDirs);
  const GuardedPath guarded = GuardedExtractPath(baseDirectory_, item.fileName, item.IsDirectory(),
                                                 extractOptions_.contains(eoRestorePath));
  if (!guarded.target) return EntryExtraction::LeftOut(std::string(guarded.refusal));
  const std::filesystem::path& target = *guarded.target;
  if (createDirs) CreateFolders(target.parent_path());
  EntryExtraction extraction;
  if (item.IsDirectory()) {
    if (createDirs) CreateFolders(target);
  } else {
    extraction = ExtractFile(item, target);
    if (extraction.result == EntryExtraction::Result::kLeftOut) return extraction;
  }
  ApplyStoredTimeAndAttributes(item, target);
  return extraction;
}

void TAbUnZipper::CreateFolders(const std::filesystem::path& folder) const {
  if (folder.empty() || DirectoryExists(folder)) return;
  const int code = CreateDirectories(folder);
  if (code != 0) throw EInOutError(InOutErrorMessage(code, folder));
}

EntryExtraction TAbUnZipper::ExtractFile(const TAbZipItem& item,
                                         const std::filesystem::path& target) const {
  const auto location = LocateEntryData(archive_->File(), item);
  // A file already at the target stays as it was.
  if (!location) return EntryExtraction::LeftOut(WhyNotLocated(item));
  auto file = WritableFile::Create(target);
  if (!file) return EntryExtraction::LeftOut("the file could not be created");
  FileSink sink(*file);
  const DecodeOutcome outcome = DecodeEntryData(archive_->File(), item, *location, sink);
  const bool closed = file->Close();
  const bool decoded =
      outcome == DecodeOutcome::kDone || outcome == DecodeOutcome::kChecksumMismatch;
  if (!decoded || !closed) {
    RemoveFile(target);
    return EntryExtraction::LeftOut(WhyNotDecoded(item, outcome, sink.failed() || !closed));
  }
  // A checksum mismatch keeps the data as written, and says so.
  if (outcome == DecodeOutcome::kChecksumMismatch) {
    return {EntryExtraction::Result::kChecksumMismatch,
            "unpacked, but its data does not match its stored CRC-32"};
  }
  return {};
}

}  // namespace quill
