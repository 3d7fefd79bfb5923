#include "archive/ab_unzipper.h"

#include <string>

#include "archive/ab_entry_data.h"
#include "archive/ab_zip_directory.h"
#include "archive/book_archive.h"
#include "archive/dos_date_time.h"
#include "archive/extract_path_guard.h"
#include "base/error_kinds.h"
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

class FileSink final : public EntrySink {
 public:
  explicit FileSink(WritableFile& file) : file_(file) {}
  bool Write(std::string_view chunk) override { return file_.Write(chunk); }

 private:
  WritableFile& file_;
};

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

void TAbUnZipper::ExtractEntryToFolder(std::size_t index) {
  const TAbZipItem& item = Items(index);
  const bool createDirs = extractOptions_.contains(eoCreateDirs);
  const auto target = GuardedExtractPath(baseDirectory_, item.fileName, item.IsDirectory(),
                                         extractOptions_.contains(eoRestorePath));
  if (!target) return;
  if (createDirs) CreateFolders(target->parent_path());
  if (item.IsDirectory()) {
    if (createDirs) CreateFolders(*target);
  } else if (!ExtractFile(item, *target)) {
    return;
  }
  ApplyStoredTimeAndAttributes(item, *target);
}

void TAbUnZipper::CreateFolders(const std::filesystem::path& folder) const {
  if (folder.empty() || DirectoryExists(folder)) return;
  const int code = CreateDirectories(folder);
  if (code != 0) throw EInOutError(InOutErrorMessage(code, folder));
}

bool TAbUnZipper::ExtractFile(const TAbZipItem& item, const std::filesystem::path& target) const {
  const auto location = LocateEntryData(archive_->File(), item);
  if (!location) return false;  // a file already at the target stays as it was
  auto file = WritableFile::Create(target);
  if (!file) return false;
  FileSink sink(*file);
  const DecodeOutcome outcome = DecodeEntryData(archive_->File(), item, *location, sink);
  const bool closed = file->Close();
  // A checksum mismatch keeps the data as written: the entry counts as done.
  if (outcome == DecodeOutcome::kFailed || !closed) {
    RemoveFile(target);
    return false;
  }
  return true;
}

}  // namespace quill
