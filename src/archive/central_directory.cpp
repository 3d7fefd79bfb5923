#include "archive/central_directory.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <string>

#include "archive/archive_error_kinds.h"
#include "archive/backward_scan.h"
#include "archive/entry_name_decoding.h"
#include "archive/extra_field.h"
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

constexpr std::uint16_t kMarker16 = 0xFFFF;
constexpr std::uint32_t kMarker32 = 0xFFFFFFFF;

using Fault = ZipDirectoryFault::Kind;
// A declared directory size sizes the directory's first read, up to this much.
constexpr std::uint64_t kLargestDirectoryRead = 16u << 20;

std::string_view AsText(std::span<const std::byte> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Exactly count bytes at the offset, or a short-read fault. The view lasts until the
// window's next read.
std::string_view BytesExactly(FileWindow& window, std::uint64_t offset, std::size_t count,
                              std::size_t readAhead = 0) {
  const std::span<const std::byte> bytes = window.Bytes(offset, count, readAhead);
  if (bytes.size() != count) throw ZipDirectoryFault(Fault::kShortRead);
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

// The ZIP64 end record's location of the directory; nothing when no locator
// stands before the end record or the record it points at lacks its signature.
std::optional<DirectoryLocation> ReadZip64Location(FileWindow& window,
                                                   std::uint64_t endRecordOffset) {
  if (endRecordOffset < kZip64LocatorSize) return std::nullopt;
  BackwardScan scan(window, endRecordOffset - kZip64LocatorSize + 1, 4);
  const auto locator = scan.NextSignature(kZip64LocatorSignature, 0);
  if (!locator) return std::nullopt;
  ByteReader locatorReader(BytesExactly(window, locator->position, kZip64LocatorSize));
  locatorReader.Skip(8);
  const std::uint64_t recordOffset = *locatorReader.U64();

  const std::string_view record = BytesExactly(window, recordOffset, kZip64EndRecordSize);
  if (U32At(record, 0) != kZip64EndRecordSignature) return std::nullopt;
  ByteReader reader(record);
  reader.Seek(32);
  DirectoryLocation location;
  location.entryCount = *reader.U64();
  location.size = *reader.U64();
  location.offset = *reader.U64();
  return location;
}

DirectoryLocation ReadDirectoryLocation(FileWindow& window, std::uint64_t endRecordOffset,
                                        Zip64Locator rule, bool& zip64RecordMissing) {
  const std::string_view endRecord = BytesExactly(window, endRecordOffset, kEndRecordSize);
  const DirectoryLocation plain{U16At(endRecord, 10), U32At(endRecord, 16), U32At(endRecord, 12)};
  if (!HoldsZip64Markers(endRecord)) return plain;
  std::optional<DirectoryLocation> location;
  try {
    location = ReadZip64Location(window, endRecordOffset);
  } catch (const ZipDirectoryFault&) {
    // A ZIP64 record cut short is no record to a reader that can do without.
    if (rule == Zip64Locator::kRequired) throw;
  }
  if (location) return *location;
  zip64RecordMissing = true;
  if (rule == Zip64Locator::kOptional) return plain;
  throw ZipDirectoryFault(Fault::kNoZip64Record);
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
    if (!wide) throw ZipDirectoryFault(Fault::kShortRead);
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
  const std::span<const std::byte> fixed = window.Bytes(position, kCentralHeaderSize, readAhead);
  ByteReader header(fixed);
  const std::optional<std::uint32_t> signature = header.U32();
  if (fixed.size() < kCentralHeaderSize) {
    throw ZipDirectoryFault(signature == kCentralHeaderSignature ? Fault::kShortRead
                                                                 : Fault::kHeaderCut);
  }
  if (*signature != kCentralHeaderSignature) throw ZipDirectoryFault(Fault::kHeaderSignature);
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

ZipItemList ReadZipDirectory(FileWindow& window, std::uint64_t endRecordOffset, Zip64Locator rule) {
  bool zip64RecordMissing = false;
  const DirectoryLocation location =
      ReadDirectoryLocation(window, endRecordOffset, rule, zip64RecordMissing);
  const std::uint64_t fileSize = window.FileSize();
  const std::uint64_t room = location.offset < fileSize ? fileSize - location.offset : 0;
  // The declared size, where it is believable, has the whole directory read at once.
  const auto readAhead =
      static_cast<std::size_t>(std::min({location.size, room, kLargestDirectoryRead}));
  ZipItemList list;
  list.zip64RecordMissing = zip64RecordMissing;
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
