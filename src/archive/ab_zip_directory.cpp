#include "archive/ab_zip_directory.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <string>

#include "archive/ab_extra_field.h"
#include "archive/ab_name_decoding.h"
#include "archive/archive_error_kinds.h"
#include "archive/file_window.h"
#include "base/byte_reader.h"

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

// The first block that the end record's search reads: a normal archive's end
// record and, for a book, its whole central directory lie in it, so the
// directory costs no further read.
constexpr std::size_t kFirstSearchBlock = 8 * 1024;
// A declared directory size sizes the directory's first read, up to this much.
constexpr std::uint64_t kLargestDirectoryRead = 16u << 20;

std::string_view AsText(std::span<const std::byte> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Exactly count bytes at the offset, or EReadError. The view lasts until the
// window's next read.
std::string_view BytesExactly(FileWindow& window, std::uint64_t offset, std::size_t count,
                              std::size_t readAhead = 0) {
  const std::span<const std::byte> bytes = window.Bytes(offset, count, readAhead);
  if (bytes.size() != count) throw EReadError(kStreamReadError);
  return AsText(bytes);
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
// The first block read is a small one at the end, so a normal archive costs
// one read; later blocks are larger.
template <typename Accept>
std::optional<std::uint64_t> SearchBackwards(FileWindow& window, std::uint64_t highest,
                                             std::size_t width, Accept accept) {
  std::uint64_t top = highest + 1;  // candidates lie below top
  std::size_t blockSize = kFirstSearchBlock;
  while (top > 0) {
    const std::uint64_t start = top > blockSize ? top - blockSize : 0;
    const std::string_view block =
        AsText(window.Bytes(start, static_cast<std::size_t>(top - start) + width - 1));
    for (std::uint64_t at = top; at-- > start;) {
      const std::size_t local = static_cast<std::size_t>(at - start);
      if (local + width <= block.size() && accept(at, block.substr(local, width))) return at;
    }
    top = start;
    blockSize = kSearchBlock;
  }
  return std::nullopt;
}

struct DirectoryLocation {
  std::uint64_t entryCount = 0;
  std::uint64_t offset = 0;
  std::uint64_t size = 0;  // as declared: it sizes the first read, the count rules
};

bool HoldsZip64Markers(std::string_view endRecord) {
  for (std::size_t at : {4, 6, 8, 10}) {
    if (U16At(endRecord, at) == kMarker16) return true;
  }
  return U32At(endRecord, 12) == kMarker32 || U32At(endRecord, 16) == kMarker32;
}

DirectoryLocation ReadZip64Location(FileWindow& window, std::uint64_t endRecordOffset) {
  if (endRecordOffset < kZip64LocatorSize) throw EAbZipInvalid(kInvalidArchive);
  const auto locator = SearchBackwards(window, endRecordOffset - kZip64LocatorSize, 4,
                                       [](std::uint64_t, std::string_view bytes) {
                                         return U32At(bytes, 0) == kZip64LocatorSignature;
                                       });
  if (!locator) throw EAbZipInvalid(kInvalidArchive);
  ByteReader locatorReader(BytesExactly(window, *locator, kZip64LocatorSize));
  locatorReader.Skip(8);
  const std::uint64_t recordOffset = *locatorReader.U64();

  const std::string_view record = BytesExactly(window, recordOffset, kZip64EndRecordSize);
  if (U32At(record, 0) != kZip64EndRecordSignature) throw EAbZipInvalid(kInvalidArchive);
  ByteReader reader(record);
  reader.Seek(32);
  DirectoryLocation location;
  location.entryCount = *reader.U64();
  location.size = *reader.U64();
  location.offset = *reader.U64();
  return location;
}

DirectoryLocation ReadDirectoryLocation(FileWindow& window, std::uint64_t endRecordOffset) {
  const std::string_view endRecord = BytesExactly(window, endRecordOffset, kEndRecordSize);
  if (U32At(endRecord, 0) != kEndRecordSignature) throw EAbZipInvalid(kInvalidArchive);
  if (HoldsZip64Markers(endRecord)) return ReadZip64Location(window, endRecordOffset);
  return {U16At(endRecord, 10), U32At(endRecord, 16), U32At(endRecord, 12)};
}

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

// Where an entry's texts lie in the directory's text buffer. While the buffer
// still grows, the entry's views have the right lengths but point elsewhere
// (into the window, or at a decoded name about to go away).
struct TextOffsets {
  std::size_t variable = 0;  // raw name, extra field and comment in a row
  std::size_t fileName = 0;
};

// Appends bytes to the text buffer and returns where they start.
std::size_t AppendText(std::vector<char>& texts, std::string_view bytes) {
  const std::size_t start = texts.size();
  texts.insert(texts.end(), bytes.begin(), bytes.end());
  return start;
}

// The header at the position, moving the position past it. Its fixed part
// and its variable part are each taken from the window in one request; its
// texts are appended to the buffer, at the returned offsets.
TextOffsets ReadCentralHeader(FileWindow& window, std::uint64_t& position, std::size_t readAhead,
                              TAbZipItem& item, std::vector<char>& texts) {
  ByteReader header(BytesExactly(window, position, kCentralHeaderSize, readAhead));
  if (*header.U32() != kCentralHeaderSignature) throw EAbZipInvalid(kInvalidArchive);
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
  position += kCentralHeaderSize;
  const std::size_t variableLength = std::size_t{nameLength} + extraLength + commentLength;
  const std::string_view variable = BytesExactly(window, position, variableLength, readAhead);
  position += variableLength;
  item.rawName = variable.substr(0, nameLength);
  item.extraField = variable.substr(nameLength, extraLength);
  item.comment = variable.substr(std::size_t{nameLength} + extraLength);
  ApplyZip64Field(item);
  TextOffsets offsets;
  offsets.variable = AppendText(texts, variable);
  if (NameReadsAsStored(item)) {
    offsets.fileName = offsets.variable;
    item.fileName = item.rawName;
  } else {
    const std::string decoded = DecodeEntryName(item);
    offsets.fileName = AppendText(texts, decoded);
    item.fileName = decoded;
  }
  return offsets;
}

// Points the entry's views at its texts in the finished buffer.
void PlaceTexts(TAbZipItem& item, const TextOffsets& offsets, const std::vector<char>& texts) {
  const auto at = [&](std::size_t offset, std::size_t length) {
    return std::string_view(texts.data() + offset, length);
  };
  item.rawName = at(offsets.variable, item.rawName.size());
  item.extraField = at(offsets.variable + item.rawName.size(), item.extraField.size());
  item.comment =
      at(offsets.variable + item.rawName.size() + item.extraField.size(), item.comment.size());
  item.fileName = at(offsets.fileName, item.fileName.size());
}

}  // namespace

std::optional<std::uint64_t> FindEndRecord(FileWindow& window) {
  const std::uint64_t size = window.FileSize();
  if (size < kEndRecordSize) return std::nullopt;
  const auto record = SearchBackwards(window, size - kEndRecordSize, kEndRecordSize,
                                      [&](std::uint64_t at, std::string_view bytes) {
                                        return U32At(bytes, 0) == kEndRecordSignature &&
                                               U16At(bytes, 20) <= size - (at + kEndRecordSize);
                                      });
  if (!record) return std::nullopt;
  // Disk 0, or the ZIP64 marker that sends the reader to the ZIP64 record.
  const std::uint16_t disk = U16At(BytesExactly(window, *record, kEndRecordSize), 4);
  if (disk != 0 && disk != kMarker16) return std::nullopt;
  return record;
}

ZipItemList ReadZipDirectory(FileWindow& window, std::uint64_t endRecordOffset) {
  const DirectoryLocation location = ReadDirectoryLocation(window, endRecordOffset);
  const std::uint64_t fileSize = window.FileSize();
  const std::uint64_t room = location.offset < fileSize ? fileSize - location.offset : 0;
  // The declared size, where it is believable, has the whole directory read at once.
  const auto readAhead =
      static_cast<std::size_t>(std::min({location.size, room, kLargestDirectoryRead}));
  ZipItemList list;
  std::vector<TextOffsets> offsets;
  // The stored count is not trusted for the reservation: every header takes
  // at least its fixed bytes of the file.
  const auto expected = static_cast<std::size_t>(
      std::min<std::uint64_t>(location.entryCount, room / kCentralHeaderSize));
  list.items.reserve(expected);
  offsets.reserve(expected);
  list.texts.reserve(readAhead);
  std::uint64_t position = location.offset;
  for (std::uint64_t i = 0; i < location.entryCount; ++i) {
    offsets.push_back(
        ReadCentralHeader(window, position, readAhead, list.items.emplace_back(), list.texts));
  }
  for (std::size_t i = 0; i < list.items.size(); ++i) {
    PlaceTexts(list.items[i], offsets[i], list.texts);
  }
  return list;
}

}  // namespace quill
