#include "archive/unzipper.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <string>
#include <variant>

#include "archive/archive_error_kinds.h"
#include "archive/book_archive.h"
#include "archive/central_directory.h"
#include "archive/dos_date_time.h"
#include "archive/entry_data.h"
#include "archive/extract_path_guard.h"
#include "base/file_system.h"
#include "base/memory_stream.h"
#include "base/path_text.h"
#include "base/target_folder.h"
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

// The entry's stored time, taken as local time; nothing when the stored date
// or time is impossible (the entry then keeps neither time nor attributes).
std::optional<Timestamp> StoredLocalTime(const TAbZipItem& item) {
  try {
    return DosDateTimeToTimestamp(item.DosDateTime());
  } catch (const EConvertError&) {
    return std::nullopt;
  }
}

// Where the located data ends in the archive; a size past any file's end
// reaches to the end of what offsets can say.
std::uint64_t DataEnd(const EntryDataLocation& location) {
  const std::uint64_t room = std::numeric_limits<std::uint64_t>::max() - location.offset;
  return location.offset + std::min(location.size, room);
}

// Why a folder on an entry's path cannot be used.
std::string WhyNoFolder(const TargetFolder::Failure& failure, const std::filesystem::path& folder) {
  if (failure.kind == TargetFolder::Failure::Kind::kLink) return "a link stands in its way";
  return "a folder on its path cannot be created: " + InOutErrorMessage(failure.code, folder);
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
  archiveIdentity_ = archive->File().Identity();
  archive_ = std::move(archive);
}

void TAbUnZipper::Close() {
  archive_.reset();
  items_ = nullptr;
  names_.Clear();
  fileName_.clear();
  archiveIdentity_.reset();
  written_.clear();
  claimed_.clear();
  unpacked_ = 0;
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
  const GuardedPath guarded = GuardedExtractPath(item.fileName, item.IsDirectory(),
                                                 extractOptions_.contains(eoRestorePath));
  if (!guarded.segments) return EntryExtraction::LeftOut(std::string(guarded.refusal));
  const std::vector<std::string>& segments = *guarded.segments;
  // Each folder is opened beneath the one before it, so a folder swapped for
  // a link meanwhile is refused rather than followed.
  const bool isDirectory = item.IsDirectory();
  const std::size_t folders = isDirectory ? segments.size() : segments.size() - 1;
  std::optional<TargetFolder> below;
  for (std::size_t i = 0; i < folders; ++i) {
    const TargetFolder& above = below ? *below : OpenBase();
    auto next = above.Subfolder(segments[i], createDirs);
    if (auto* failure = std::get_if<TargetFolder::Failure>(&next)) {
      return EntryExtraction::LeftOut(
          WhyNoFolder(*failure, above.Path() / PathFromUtf8(segments[i])));
    }
    below = std::move(std::get<TargetFolder>(next));
  }
  const TargetFolder& folder = below ? *below : OpenBase();
  if (isDirectory) {
    if (const auto time = StoredLocalTime(item)) folder.SetLastWriteTime(*time);
    return {};
  }
  return ExtractFile(item, folder, segments.back());
}

const TargetFolder& TAbUnZipper::OpenBase() {
  if (!base_) {
    if (extractOptions_.contains(eoCreateDirs) && !DirectoryExists(baseDirectory_)) {
      const int code = CreateDirectories(baseDirectory_);
      if (code != 0) throw EInOutError(InOutErrorMessage(code, baseDirectory_));
    }
    base_ = TargetFolder::Open(baseDirectory_);
    if (!base_) throw EInOutError(InOutErrorMessage(3, baseDirectory_));
  }
  return *base_;
}

std::optional<std::string> TAbUnZipper::Overreach(const TAbZipItem& item,
                                                  const EntryDataLocation& location) const {
  const std::uint64_t limit = archive_->File().Size() * kUnpackSizeFactor + kUnpackAllowance;
  if (item.uncompressedSize > limit - std::min(limit, unpacked_)) {
    return "the unpack would write more than " + std::to_string(kUnpackSizeFactor) +
           " times the book's size and " + std::to_string(kUnpackAllowance >> 20) + " MiB more";
  }
  // The claimed ranges never overlap one another, so only the neighbours of
  // this one's start can overlap it.
  const std::uint64_t start = item.localHeaderOffset;
  const std::uint64_t end = DataEnd(location);
  const auto after = claimed_.upper_bound(start);
  const bool overlaps = (after != claimed_.end() && after->first < end) ||
                        (after != claimed_.begin() && std::prev(after)->second > start);
  if (overlaps) return "its data overlaps the data of another entry";
  return std::nullopt;
}

EntryExtraction TAbUnZipper::ExtractFile(const TAbZipItem& item, const TargetFolder& folder,
                                         const std::string& name) {
  const auto location = LocateEntryData(archive_->File(), item);
  // A file already at the target stays as it was.
  if (!location) return EntryExtraction::LeftOut(WhyNotLocated(item));
  // Data that expands to nothing cannot be used to multiply what is written.
  if (item.uncompressedSize > 0) {
    if (auto why = Overreach(item, *location)) return EntryExtraction::LeftOut(std::move(*why));
  }
  const auto earlier = folder.IdentityOf(name);
  const bool replacesEarlier = earlier && written_.contains(*earlier);
  auto created = folder.NewFile(name, archiveIdentity_);
  if (auto* failure = std::get_if<TargetFolder::Failure>(&created)) {
    switch (failure->kind) {
      case TargetFolder::Failure::Kind::kLink:
        return EntryExtraction::LeftOut("a link stands in its way");
      case TargetFolder::Failure::Kind::kProtected:
        return EntryExtraction::LeftOut("it would replace the book being unpacked");
      case TargetFolder::Failure::Kind::kSystem:
        return EntryExtraction::LeftOut("the file could not be created");
    }
  }
  WritableFile& file = std::get<WritableFile>(created);
  if (replacesEarlier) written_.erase(*earlier);
  if (item.uncompressedSize > 0) claimed_.emplace(item.localHeaderOffset, DataEnd(*location));
  FileSink sink(file);
  const DecodeOutcome outcome = DecodeEntryData(archive_->File(), item, *location, sink);
  const bool decoded =
      outcome == DecodeOutcome::kDone || outcome == DecodeOutcome::kChecksumMismatch;
  // The time goes on last, once every byte is in; the read-only state after
  // it, since it takes away the right to set the time.
  const auto time = decoded ? StoredLocalTime(item) : std::nullopt;
  if (time) {
    file.SetLastWriteTime(*time);
    if (StoresReadOnly(item)) file.SetReadOnly();
  }
  const auto identity = file.Identity();
  const bool closed = file.Close();
  if (!decoded || !closed) {
    folder.RemoveFile(name);
    return EntryExtraction::LeftOut(WhyNotDecoded(item, outcome, sink.failed() || !closed));
  }
  unpacked_ += item.uncompressedSize;
  if (identity) written_.insert(*identity);
  // A checksum mismatch keeps the data as written, and says so.
  if (outcome == DecodeOutcome::kChecksumMismatch) {
    return {EntryExtraction::Result::kChecksumMismatch,
            std::string("unpacked, but its data does not match its stored CRC-32") +
                (replacesEarlier ? ", over the file of an earlier entry of the same name" : "")};
  }
  if (replacesEarlier) {
    return {EntryExtraction::Result::kReplacedEarlier,
            "unpacked over the file of an earlier entry of the same name"};
  }
  return {};
}

}  // namespace quill
