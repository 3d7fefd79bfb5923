#include "archive/end_record.h"

#include <algorithm>
#include <array>
#include <span>

#include "base/byte_reader.h"

namespace quill {
namespace {

constexpr std::array<std::byte, 4> kSignature = {std::byte{0x50}, std::byte{0x4B},
                                                 std::byte{0x05}, std::byte{0x06}};
constexpr std::uint64_t kRecordSize = 22;  // signature and fields, without the comment
constexpr std::uint64_t kSearchedBytes = 65535;
// The stepped search reads 1024 new bytes each time, plus the 4 before them
// so that a signature across the step is seen.
constexpr std::uint64_t kStep = 1024;
// The first read of the tail when the directory is wanted too: enough for the
// end record and the whole directory of a typical book.
constexpr std::size_t kTailRead = 16u << 10;

// Offset within bytes (which start at file offset `start`) of the signature
// nearest their end whose fields lie within the file.
std::optional<std::size_t> FindSignature(std::span<const std::byte> bytes, std::uint64_t start,
                                         std::uint64_t fileSize) {
  if (bytes.size() < kSignature.size()) return std::nullopt;
  for (std::size_t i = bytes.size() - kSignature.size() + 1; i-- > 0;) {
    if (std::equal(kSignature.begin(), kSignature.end(), bytes.begin() + i) &&
        start + i + kRecordSize <= fileSize) {
      return i;
    }
  }
  return std::nullopt;
}

// Decodes the record from the bytes that start at its signature and run to
// the end of the file.
EndRecord Decode(std::span<const std::byte> tail, std::uint64_t position) {
  ByteReader in(tail);
  EndRecord record;
  record.position = position;
  in.Skip(kSignature.size());
  in.Skip(6);  // this disk, directory's disk, entries on this disk: not used
  record.totalEntries = in.U16().value_or(0);
  record.directorySize = in.U32().value_or(0);
  record.directoryOffset = in.U32().value_or(0);
  const std::uint16_t commentLength = in.U16().value_or(0);
  record.comment = in.BytesUpTo(commentLength);
  return record;
}

}  // namespace

bool EndRecord::IsIn(const ReadOnlyFile& file) {
  const std::uint64_t size = file.Size();
  const std::uint64_t searched = std::min(size, kSearchedBytes);
  std::array<std::byte, kStep + 4> chunk;
  std::uint64_t back = 4;
  while (back < searched) {
    back = std::min(back + kStep, searched);
    const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), back));
    const std::span<std::byte> bytes(chunk.data(), length);
    if (file.ReadAt(size - back, bytes) < length) return false;
    if (FindSignature(bytes, size - back, size)) return true;
  }
  return false;
}

std::optional<EndRecord> EndRecord::Find(FileWindow& window) {
  // The same positions as IsIn examines, in at most two reads: a tail that
  // holds a normal archive's record, then, only when the record is not there
  // (a long archive comment), the whole searched stretch.
  const std::uint64_t size = window.FileSize();
  const auto searched = static_cast<std::size_t>(std::min(size, kSearchedBytes));
  for (const std::size_t length : {std::min(searched, kTailRead), searched}) {
    const std::uint64_t start = size - length;
    const std::span<const std::byte> tail = window.Bytes(start, length);
    if (tail.size() < length) return std::nullopt;  // the file shrank meanwhile
    if (const auto at = FindSignature(tail, start, size)) {
      return Decode(tail.subspan(*at), start + *at);
    }
    if (length == searched) break;
  }
  return std::nullopt;
}

}  // namespace quill
