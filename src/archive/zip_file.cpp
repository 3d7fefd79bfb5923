#include "archive/zip_file.h"

#include <algorithm>
#include <array>

#include "archive/end_record.h"
#include "archive/file_window.h"
#include "base/byte_reader.h"
#include "base/error_kinds.h"
#include "base/text.h"

namespace quill {
namespace {

constexpr std::array<std::byte, 4> kCentralHeaderSignature = {
    std::byte{0x50}, std::byte{0x4B}, std::byte{0x01}, std::byte{0x02}};
constexpr std::size_t kFixedFieldsSize = 42;  // the header after its signature
constexpr std::size_t kHeaderSize = kCentralHeaderSignature.size() + kFixedFieldsSize;
// A stored directory size or offset can be anything; a first read sized from
// them is capped so that a lying record costs little.
constexpr std::uint64_t kLargestFirstRead = 16u << 20;

[[noreturn]] void RaiseReadError() { throw EZipException("Error reading zip file"); }

template <typename Field>
bool Take(ByteReader& in, Field& field) {
  std::optional<Field> value;
  if constexpr (sizeof(Field) == 2) {
    value = in.U16();
  } else {
    value = in.U32();
  }
  if (value) field = *value;
  return value.has_value();
}

bool TakeFixedFields(ByteReader& in, TZipHeader& h) {
  return Take(in, h.MadeByVersion) && Take(in, h.RequiredVersion) && Take(in, h.Flag) &&
         Take(in, h.CompressionMethod) && Take(in, h.ModifiedDateTime) && Take(in, h.CRC32) &&
         Take(in, h.CompressedSize) && Take(in, h.UncompressedSize) &&
         Take(in, h.FileNameLength) && Take(in, h.ExtraFieldLength) &&
         Take(in, h.FileCommentLength) && Take(in, h.DiskNumberStart) &&
         Take(in, h.InternalAttributes) && Take(in, h.ExternalAttributes) &&
         Take(in, h.LocalHeaderOffset);
}

bool TakeVariableParts(ByteReader& in, TZipHeader& h) {
  auto name = in.Bytes(h.FileNameLength);
  auto extra = in.Bytes(h.ExtraFieldLength);
  auto comment = in.Bytes(h.FileCommentLength);
  if (!name || !extra || !comment) return false;
  h.FileName = std::move(*name);
  h.ExtraField = std::move(*extra);
  h.FileComment = std::move(*comment);
  return true;
}

// How much of the directory to read at once. A normal directory ends where
// the end record begins and is as large as declared; the smaller of the two
// is read in one go. Neither figure limits what is parsed.
std::size_t DirectoryReadAhead(const EndRecord& end) {
  std::uint64_t expected = end.directorySize;
  if (end.directoryOffset < end.position) {
    expected = std::min<std::uint64_t>(expected, end.position - end.directoryOffset);
  }
  return static_cast<std::size_t>(std::min(expected, kLargestFirstRead));
}

// Reads the headers that the end record announces, walking from the offset
// it gives; the directory's declared size is not consulted.
std::vector<TZipHeader> ReadCentralDirectory(FileWindow& window, const EndRecord& end) {
  std::vector<TZipHeader> headers;
  const std::uint64_t size = window.FileSize();
  const std::uint64_t room = end.directoryOffset < size ? size - end.directoryOffset : 0;
  headers.reserve(std::min<std::uint64_t>(end.totalEntries, room / kHeaderSize));
  const std::size_t readAhead = DirectoryReadAhead(end);

  std::uint64_t position = end.directoryOffset;
  for (std::uint32_t i = 0; i < end.totalEntries; ++i) {
    const auto signature = window.Bytes(position, kCentralHeaderSignature.size(), readAhead);
    if (!std::equal(signature.begin(), signature.end(), kCentralHeaderSignature.begin(),
                    kCentralHeaderSignature.end())) {
      throw EZipException("Invalid Zip Central Header signature");
    }
    TZipHeader header;
    ByteReader fixed(window.Bytes(position + kCentralHeaderSignature.size(), kFixedFieldsSize,
                                  readAhead));
    if (!TakeFixedFields(fixed, header)) RaiseReadError();
    const std::size_t variableSize = std::size_t{header.FileNameLength} +
                                     header.ExtraFieldLength + header.FileCommentLength;
    ByteReader variable(window.Bytes(position + kHeaderSize, variableSize, readAhead));
    if (!TakeVariableParts(variable, header)) RaiseReadError();
    headers.push_back(std::move(header));
    position += kHeaderSize + variableSize;
  }
  return headers;
}

}  // namespace

bool TZipFile::IsValid(const std::filesystem::path& path) noexcept {
  try {
    const ReadOnlyFile file = ReadOnlyFile::Open(path, ReadOnlyFile::Sharing::kNone);
    return EndRecord::IsIn(file);
  } catch (...) {
    return false;
  }
}

void TZipFile::Open(const std::filesystem::path& path) {
  Close();
  ReadOnlyFile file = ReadOnlyFile::Open(path, ReadOnlyFile::Sharing::kNone);
  if (file.Size() == 0) throw EZipException("Stream read error");
  FileWindow window(file);
  std::optional<EndRecord> end = EndRecord::Find(window);
  if (!end) RaiseReadError();
  headers_ = ReadCentralDirectory(window, *end);
  comment_ = std::move(end->comment);
  file_.emplace(std::move(file));
  mode_ = TZipMode::zmRead;
}

void TZipFile::Close() noexcept {
  file_.reset();
  headers_.clear();
  comment_.clear();
  mode_ = TZipMode::zmClosed;
}

void TZipFile::RequireOpen() const {
  if (mode_ != TZipMode::zmRead) throw EZipException("File must be open");
}

int TZipFile::FileCount() const {
  RequireOpen();
  return static_cast<int>(headers_.size());
}

std::vector<std::string> TZipFile::FileNames() const {
  RequireOpen();
  std::vector<std::string> names;
  names.reserve(headers_.size());
  for (const TZipHeader& header : headers_) {
    names.push_back(header.FileNameCodePage() == kCodePageUtf8 ? SanitizeUtf8(header.FileName)
                                                               : Cp437ToUtf8(header.FileName));
  }
  return names;
}

TZipHeader TZipFile::FileInfo(int index) const {
  RequireOpen();
  if (index < 0 || static_cast<std::size_t>(index) >= headers_.size()) {
    throw EArgumentOutOfRangeException("Argument out of range");
  }
  return headers_[static_cast<std::size_t>(index)];
}

std::span<const TZipHeader> TZipFile::Headers() const {
  RequireOpen();
  return headers_;
}

std::string TZipFile::Comment() const { return Cp437ToUtf8(comment_); }

}  // namespace quill
