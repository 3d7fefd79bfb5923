#include "archive/zip_file.h"

#include <algorithm>

#include "archive/archive_error_kinds.h"
#include "archive/end_record.h"
#include "archive/file_window.h"
#include "base/byte_reader.h"
#include "base/text.h"

namespace quill {
namespace {

constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;  // 50 4B 01 02
constexpr std::size_t kFixedFieldsSize = 42;  // the header after its signature
constexpr std::size_t kHeaderSize = 4 + kFixedFieldsSize;
// A stored directory size or offset can be anything; a first read sized from
// them is capped so that a lying record costs little.
constexpr std::uint64_t kLargestFirstRead = 16u << 20;

[[noreturn]] void RaiseReadError() { throw EZipException("Error reading zip file"); }

// The fixed part of a central header. The block is checked for length once;
// each field is then read over the bounds-checked reader, whose checks the
// compiler folds into that one.
bool TakeFixedFields(ByteReader& in, TZipHeader& h) {
  if (in.remaining() < kFixedFieldsSize) return false;
  h.MadeByVersion = in.U16().value();
  h.RequiredVersion = in.U16().value();
  h.Flag = in.U16().value();
  h.CompressionMethod = in.U16().value();
  h.ModifiedDateTime = in.U32().value();
  h.CRC32 = in.U32().value();
  h.CompressedSize = in.U32().value();
  h.UncompressedSize = in.U32().value();
  h.FileNameLength = in.U16().value();
  h.ExtraFieldLength = in.U16().value();
  h.FileCommentLength = in.U16().value();
  h.DiskNumberStart = in.U16().value();
  h.InternalAttributes = in.U16().value();
  h.ExternalAttributes = in.U32().value();
  h.LocalHeaderOffset = in.U32().value();
  return true;
}

std::size_t VariableSize(const TZipHeader& h) {
  return std::size_t{h.FileNameLength} + h.ExtraFieldLength + h.FileCommentLength;
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

}  // namespace

// Reads the headers that the end record announces, walking from the offset
// it gives; the directory's declared size only sizes the reads.
TZipFile::Directory TZipFile::ReadCentralDirectory(FileWindow& window, const EndRecord& end) {
  Directory directory;
  const std::uint64_t size = window.FileSize();
  const std::uint64_t room = end.directoryOffset < size ? size - end.directoryOffset : 0;
  directory.headers.reserve(std::min<std::uint64_t>(end.totalEntries, room / kHeaderSize));
  const std::size_t readAhead = DirectoryReadAhead(end);
  directory.variableBytes.reserve(std::min<std::uint64_t>(readAhead, room));

  std::uint64_t position = end.directoryOffset;
  for (std::uint32_t i = 0; i < end.totalEntries; ++i) {
    ByteReader header(window.Bytes(position, kHeaderSize, readAhead));
    if (header.U32() != kCentralHeaderSignature) {  // a short read is no signature either
      throw EZipException("Invalid Zip Central Header signature");
    }
    HeldHeader& held = directory.headers.emplace_back();
    if (!TakeFixedFields(header, held.fields)) RaiseReadError();
    const std::size_t variableSize = VariableSize(held.fields);
    const auto variable = window.Bytes(position + kHeaderSize, variableSize, readAhead);
    if (variable.size() < variableSize) RaiseReadError();
    held.variableStart = directory.variableBytes.size();
    directory.variableBytes.append(reinterpret_cast<const char*>(variable.data()), variable.size());
    position += kHeaderSize + variableSize;
  }
  return directory;
}

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
  directory_ = ReadCentralDirectory(window, *end);
  comment_ = std::move(end->comment);
  file_.emplace(std::move(file));
  mode_ = TZipMode::zmRead;
}

void TZipFile::Close() noexcept {
  file_.reset();
  directory_ = {};
  comment_.clear();
  mode_ = TZipMode::zmClosed;
}

int TZipFile::FileCount() const {
  if (mode_ != TZipMode::zmRead) throw EZipException("File must be open");
  return static_cast<int>(directory_.headers.size());
}

const TZipFile::HeldHeader& TZipFile::Held(int index) const {
  if (index < 0 || index >= FileCount()) {
    throw EArgumentOutOfRangeException("Argument out of range");
  }
  return directory_.headers[static_cast<std::size_t>(index)];
}

std::vector<std::string> TZipFile::FileNames() const {
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(FileCount()));
  for (const HeldHeader& held : directory_.headers) {
    const std::string_view name = Variable(held, 0, held.fields.FileNameLength);
    if (IsAscii(name)) {
      names.emplace_back(name);  // the same text in either code page
    } else {
      names.push_back(held.fields.FileNameCodePage() == kCodePageUtf8 ? SanitizeUtf8(name)
                                                                      : Cp437ToUtf8(name));
    }
  }
  return names;
}

TZipHeader TZipFile::FileInfo(int index) const {
  const HeldHeader& held = Held(index);
  const TZipHeader& f = held.fields;
  TZipHeader header = f;
  header.FileName = Variable(held, 0, f.FileNameLength);
  header.ExtraField = Variable(held, f.FileNameLength, f.ExtraFieldLength);
  header.FileComment =
      Variable(held, std::size_t{f.FileNameLength} + f.ExtraFieldLength, f.FileCommentLength);
  return header;
}

ZipEntryView TZipFile::Entry(int index) const {
  const HeldHeader& held = Held(index);
  return {Variable(held, 0, held.fields.FileNameLength), held.fields.Flag,
          held.fields.ModifiedDateTime};
}

std::string TZipFile::Comment() const { return Cp437ToUtf8(comment_); }

}  // namespace quill
