#include "archive/ab_zip_directory.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "archive/ab_extra_field.h"
#include "archive/ab_name_decoding.h"
#include "base/byte_reader.h"
#include "base/error_kinds.h"
#include "base/read_only_file.h"

namespace quill {
namespace {

constexpr std::uint32_t kEndRecordSignature = 0x06054B50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr std::uint32_t kZip64EndRecordSignature = 0x06064B50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;

constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kZip64EndRecordSize = 56;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kSearchBlock = 64 * 1024;

constexpr std::uint16_t kMarker16 = 0xFFFF;
constexpr std::uint32_t kMarker32 = 0xFFFFFFFF;

const char kInvalidArchive[] = "Érvénytelen fájl – nem PKZip fájl";
const char kStreamReadError[] = "Stream read error";

// The bytes at the offset, fewer at the end of the file.
std::string ReadBytes(const ReadOnlyFile& file, std::uint64_t offset, std::size_t count) {
  std::string bytes(count, '\0');
  bytes.resize(file.ReadAt(offset, std::as_writable_bytes(std::span(bytes.data(), count))));
  return bytes;
}

// Exactly count bytes at the offset, or EReadError.
std::string ReadExactly(const ReadOnlyFile& file, std::uint64_t offset, std::size_t count) {
  std::string bytes = ReadBytes(file, offset, count);
  if (bytes.size() != count) throw EReadError(kStreamReadError);
  return bytes;
}

std::uint32_t U32At(std::string_view bytes, std::size_t at) {
  ByteReader reader(bytes);
  reader.Seek(at);
  return reader.U32().value_or(0);
}

std::uint16_t U16At(std::string_view bytes, std::size_t at) {
  ByteReader reader(bytes);
  reader.Seek(at);
  return reader.U16().value_or(0);
}

// Searches backwards, block by block, for the highest offset at or below
// `highest` at which accept(offset, bytes) holds for the `width` bytes there.
// The first block read is the one at the end, so a normal archive costs one read.
template <typename Accept>
std::optional<std::uint64_t> SearchBackwards(const ReadOnlyFile& file, std::uint64_t highest,
                                             std::size_t width, Accept accept) {
  std::uint64_t top = highest + 1;  // candidates lie below top
  while (top > 0) {
    const std::uint64_t start = top > kSearchBlock ? top - kSearchBlock : 0;
    const std::string block =
        ReadBytes(file, start, static_cast<std::size_t>(top - start) + width - 1);
    for (std::uint64_t at = top; at-- > start;) {
      const std::size_t local = static_cast<std::size_t>(at - start);
      if (local + width <= block.size() &&
          accept(at, std::string_view(block).substr(local, width))) {
        return at;
      }
    }
    top = start;
  }
  return std::nullopt;
}

struct DirectoryLocation {
  std::uint64_t entryCount = 0;
  std::uint64_t offset = 0;
};

bool HoldsZip64Markers(std::string_view endRecord) {
  for (std::size_t at : {4, 6, 8, 10}) {
    if (U16At(endRecord, at) == kMarker16) return true;
  }
  return U32At(endRecord, 12) == kMarker32 || U32At(endRecord, 16) == kMarker32;
}

DirectoryLocation ReadZip64Location(const ReadOnlyFile& file, std::uint64_t endRecordOffset) {
  if (endRecordOffset < kZip64LocatorSize) throw EAbZipInvalid(kInvalidArchive);
  const auto locator = SearchBackwards(file, endRecordOffset - kZip64LocatorSize, 4,
                                       [](std::uint64_t, std::string_view bytes) {
                                         return U32At(bytes, 0) == kZip64LocatorSignature;
                                       });
  if (!locator) throw EAbZipInvalid(kInvalidArchive);
  const std::string locatorBytes = ReadExactly(file, *locator, kZip64LocatorSize);
  ByteReader locatorReader(locatorBytes);
  locatorReader.Skip(8);
  const std::uint64_t recordOffset = *locatorReader.U64();

  const std::string record = ReadExactly(file, recordOffset, kZip64EndRecordSize);
  if (U32At(record, 0) != kZip64EndRecordSignature) throw EAbZipInvalid(kInvalidArchive);
  ByteReader reader(record);
  reader.Seek(32);
  DirectoryLocation location;
  location.entryCount = *reader.U64();
  reader.Skip(8);  // directory size: the headers are read by count
  location.offset = *reader.U64();
  return location;
}

DirectoryLocation ReadDirectoryLocation(const ReadOnlyFile& file, std::uint64_t endRecordOffset) {
  const std::string endRecord = ReadExactly(file, endRecordOffset, kEndRecordSize);
  if (U32At(endRecord, 0) != kEndRecordSignature) throw EAbZipInvalid(kInvalidArchive);
  if (HoldsZip64Markers(endRecord)) return ReadZip64Location(file, endRecordOffset);
  return {U16At(endRecord, 10), U32At(endRecord, 16)};
}

// Reads a file forwards through a buffer, so a directory of many small headers
// costs few system calls.
class SequentialReader {
 public:
  SequentialReader(const ReadOnlyFile& file, std::uint64_t offset) : file_(file), offset_(offset) {}

  // Exactly count bytes, or EReadError.
  std::string Read(std::size_t count) {
    std::string out;
    while (out.size() < count) {
      if (next_ == buffer_.size()) Refill();
      if (buffer_.empty()) throw EReadError(kStreamReadError);
      const std::size_t n = std::min(count - out.size(), buffer_.size() - next_);
      out.append(buffer_, next_, n);
      next_ += n;
    }
    return out;
  }

 private:
  void Refill() {
    offset_ += buffer_.size();
    buffer_ = ReadBytes(file_, offset_, kSearchBlock);
    next_ = 0;
  }

  const ReadOnlyFile& file_;
  std::uint64_t offset_;
  std::string buffer_;
  std::size_t next_ = 0;
};

// Replaces the header's markers by the values of the ZIP64 extended
// information field, which holds only those whose header field is a marker.
void ApplyZip64Field(TAbZipItem& item) {
  const auto field = FindExtraField(item.extraField, kZip64ExtraId);
  if (!field) return;
  ByteReader reader(*field);
  const auto replace = [&](auto& value, auto marker, auto read) {
    if (value != marker) return;
    const auto wide = read();
    if (!wide) throw EReadError(kStreamReadError);
    value = *wide;
  };
  replace(item.uncompressedSize, std::uint64_t{kMarker32}, [&] { return reader.U64(); });
  replace(item.compressedSize, std::uint64_t{kMarker32}, [&] { return reader.U64(); });
  replace(item.localHeaderOffset, std::uint64_t{kMarker32}, [&] { return reader.U64(); });
  replace(item.diskNumberStart, std::uint32_t{kMarker16}, [&] { return reader.U32(); });
}

TAbZipItem ReadCentralHeader(SequentialReader& reader) {
  const std::string fixedFields = reader.Read(kCentralHeaderSize);
  ByteReader header(fixedFields);
  if (*header.U32() != kCentralHeaderSignature) throw EAbZipInvalid(kInvalidArchive);
  TAbZipItem item;
  item.versionMadeBy = *header.U16();
  item.versionNeeded = *header.U16();
  item.flag = *header.U16();
  item.compressionMethod = *header.U16();
  item.dosTime = *header.U16();
  item.dosDate = *header.U16();
  item.crc32 = *header.U32();
  item.compressedSize = *header.U32();
  item.uncompressedSize = *header.U32();
  const std::uint16_t nameLength = *header.U16();
  const std::uint16_t extraLength = *header.U16();
  const std::uint16_t commentLength = *header.U16();
  item.diskNumberStart = *header.U16();
  item.internalAttributes = *header.U16();
  item.externalAttributes = *header.U32();
  item.localHeaderOffset = *header.U32();
  item.rawName = reader.Read(nameLength);
  item.extraField = reader.Read(extraLength);
  item.comment = reader.Read(commentLength);
  ApplyZip64Field(item);
  item.fileName = DecodeEntryName(item);
  return item;
}

}  // namespace

std::optional<std::uint64_t> FindEndRecord(const ReadOnlyFile& file) {
  const std::uint64_t size = file.Size();
  if (size < kEndRecordSize) return std::nullopt;
  const auto record = SearchBackwards(file, size - kEndRecordSize, kEndRecordSize,
                                      [&](std::uint64_t at, std::string_view bytes) {
                                        return U32At(bytes, 0) == kEndRecordSignature &&
                                               U16At(bytes, 20) <= size - (at + kEndRecordSize);
                                      });
  if (!record) return std::nullopt;
  // Disk 0, or the ZIP64 marker that sends the reader to the ZIP64 record.
  const std::uint16_t disk = U16At(ReadExactly(file, *record, kEndRecordSize), 4);
  if (disk != 0 && disk != kMarker16) return std::nullopt;
  return record;
}

std::vector<TAbZipItem> ReadZipDirectory(const ReadOnlyFile& file, std::uint64_t endRecordOffset) {
  const DirectoryLocation location = ReadDirectoryLocation(file, endRecordOffset);
  SequentialReader reader(file, location.offset);
  std::vector<TAbZipItem> items;
  // The stored count is not trusted for the reservation: every header takes
  // at least its fixed bytes of the file.
  items.reserve(static_cast<std::size_t>(
      std::min<std::uint64_t>(location.entryCount, file.Size() / kCentralHeaderSize)));
  for (std::uint64_t i = 0; i < location.entryCount; ++i)
    items.push_back(ReadCentralHeader(reader));
  return items;
}

}  // namespace quill
