#include "archive/zip_file.h"

#include <algorithm>

#include "archive/archive_error_kinds.h"
#include "archive/book_archive.h"
#include "archive/central_directory.h"
#include "base/text.h"

namespace quill {
namespace {

// A 64-bit value in a 32-bit header field: the ZIP64 marker when it does not fit.
template <typename Narrow>
Narrow Clamped(std::uint64_t value) {
  return static_cast<Narrow>(std::min<std::uint64_t>(value, Narrow(~Narrow{0})));
}

// The directory of the archive, or the reader's own error for why it cannot be read.
const ZipItemList& ReadDirectory(BookArchive& archive) {
  try {
    return archive.DirectoryForZipFile();
  } catch (const ZipDirectoryFault& fault) {
    switch (fault.kind()) {
      case ZipDirectoryFault::Kind::kEmptyFile:
        throw EZipException("Stream read error");
      case ZipDirectoryFault::Kind::kHeaderSignature:
      case ZipDirectoryFault::Kind::kHeaderCut:  // a short read is no signature either
        throw EZipException("Invalid Zip Central Header signature");
      default:
        throw EZipException("Error reading zip file");
    }
  }
}

}  // namespace

bool TZipFile::IsValid(const std::filesystem::path& path) noexcept {
  try {
    return BookArchive(path, ReadOnlyFile::Sharing::kNone).HasEndRecordInTail();
  } catch (...) {
    return false;
  }
}

void TZipFile::Open(const std::filesystem::path& path) {
  Close();
  Open(std::make_shared<BookArchive>(path, ReadOnlyFile::Sharing::kNone));
}

void TZipFile::Open(std::shared_ptr<BookArchive> archive) {
  Close();
  items_ = &ReadDirectory(*archive).items;
  archive_ = std::move(archive);
  mode_ = TZipMode::zmRead;
}

void TZipFile::Close() noexcept {
  archive_.reset();
  items_ = nullptr;
  mode_ = TZipMode::zmClosed;
}

int TZipFile::FileCount() const {
  if (mode_ != TZipMode::zmRead) throw EZipException("File must be open");
  return static_cast<int>(items_->size());
}

const TAbZipItem& TZipFile::Item(int index) const {
  if (index < 0 || index >= FileCount()) {
    throw EArgumentOutOfRangeException("Argument out of range");
  }
  return (*items_)[static_cast<std::size_t>(index)];
}

std::vector<std::string> TZipFile::FileNames() const {
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(FileCount()));
  for (const TAbZipItem& item : *items_) {
    const std::string_view name = item.rawName;
    if (IsAscii(name)) {
      names.emplace_back(name);  // the same text in either code page
    } else {
      names.push_back(item.HasUtf8Name() ? SanitizeUtf8(name) : Cp437ToUtf8(name));
    }
  }
  return names;
}

TZipHeader TZipFile::FileInfo(int index) const {
  const TAbZipItem& item = Item(index);
  TZipHeader header;
  header.MadeByVersion = item.versionMadeBy;
  header.RequiredVersion = item.versionNeeded;
  header.Flag = item.flag;
  header.CompressionMethod = item.compressionMethod;
  header.ModifiedDateTime = item.DosDateTime();
  header.CRC32 = item.crc32;
  header.CompressedSize = Clamped<std::uint32_t>(item.compressedSize);
  header.UncompressedSize = Clamped<std::uint32_t>(item.uncompressedSize);
  header.FileNameLength = static_cast<std::uint16_t>(item.rawName.size());
  header.ExtraFieldLength = static_cast<std::uint16_t>(item.extraField.size());
  header.FileCommentLength = static_cast<std::uint16_t>(item.comment.size());
  header.DiskNumberStart = Clamped<std::uint16_t>(item.diskNumberStart);
  header.InternalAttributes = item.internalAttributes;
  header.ExternalAttributes = item.externalAttributes;
  header.LocalHeaderOffset = Clamped<std::uint32_t>(item.localHeaderOffset);
  header.FileName = item.rawName;
  header.ExtraField = item.extraField;
  header.FileComment = item.comment;
  return header;
}

ZipEntryView TZipFile::Entry(int index) const {
  const TAbZipItem& item = Item(index);
  return {item.rawName, item.flag, item.DosDateTime(), item.fileName};
}

std::string TZipFile::Comment() const {
  return archive_ ? Cp437ToUtf8(archive_->RawComment()) : std::string();
}

}  // namespace quill
