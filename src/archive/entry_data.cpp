#include "archive/entry_data.h"

#include <zlib.h>
#include <algorithm>
#include <cstddef>
#include <memory>
#include <span>
#include <string>

#include "base/byte_reader.h"
#include "base/error.h"
#include "base/read_only_file.h"

namespace quill {
namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;
constexpr std::size_t kChunk = 64 * 1024;
// Room for a local header's name and extra field, which are read along with
// the header: most names are well under this, and a longer one costs a read.
constexpr std::size_t kNameAndExtraGuess = 512;

// Hands out an entry's stored bytes chunk by chunk, the bytes read with the
// local header first; the last chunk ends where the data or the file ends.
class DataReader {
 public:
  // The buffer is as large as a chunk or the rest of the data, whichever is
  // smaller; a package document is mostly all in the head and needs none.
  explicit DataReader(const ReadOnlyFile& archive, const EntryDataLocation& location)
      : archive_(archive),
        head_(location.head),
        offset_(location.offset + location.head.size()),
        remaining_(location.size - location.head.size()),
        capacity_(static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, remaining_))),
        buffer_(std::make_unique_for_overwrite<char[]>(capacity_)) {}

  // The next chunk of at most `limit` bytes; empty when the data is used up.
  std::string_view Next(std::size_t limit = kChunk) {
    if (!head_.empty()) {
      const std::string_view chunk = head_.substr(0, limit);
      head_.remove_prefix(chunk.size());
      return chunk;
    }
    const auto want =
        static_cast<std::size_t>(std::min<std::uint64_t>({limit, capacity_, remaining_}));
    const std::size_t got =
        archive_.ReadAt(offset_, std::as_writable_bytes(std::span(buffer_.get(), want)));
    offset_ += got;
    remaining_ -= got;
    if (got < want) remaining_ = 0;  // the file ends inside the data
    return std::string_view(buffer_.get(), got);
  }

 private:
  const ReadOnlyFile& archive_;
  std::string_view head_;
  std::uint64_t offset_;
  std::uint64_t remaining_;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;
};

// Passes chunks to the sink and, when asked to, keeps the running CRC-32 of
// what it wrote.
class ChecksummedSink {
 public:
  ChecksummedSink(EntrySink& sink, bool summing) : sink_(sink), summing_(summing) {}

  bool Write(std::string_view chunk) {
    if (summing_) {
      crc_ = crc32(crc_, reinterpret_cast<const Bytef*>(chunk.data()),
                   static_cast<uInt>(chunk.size()));
    }
    return sink_.Write(chunk);
  }
  std::uint32_t crc() const { return static_cast<std::uint32_t>(crc_); }

 private:
  EntrySink& sink_;
  bool summing_;
  uLong crc_ = crc32(0, nullptr, 0);
};

// A raw inflate stream (window bits -15: no zlib header or trailer), ended on
// every path.
class RawInflater {
 public:
  RawInflater() { ready_ = inflateInit2(&stream_, -15) == Z_OK; }
  ~RawInflater() {
    if (ready_) inflateEnd(&stream_);
  }
  RawInflater(const RawInflater&) = delete;
  RawInflater& operator=(const RawInflater&) = delete;

  bool ready() const { return ready_; }
  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ready_ = false;
};

bool CopyStored(DataReader& input, std::uint64_t size, ChecksummedSink& output) {
  for (std::uint64_t remaining = size; remaining > 0;) {
    const std::string_view chunk =
        input.Next(static_cast<std::size_t>(std::min<std::uint64_t>(remaining, kChunk)));
    if (chunk.empty() || !output.Write(chunk)) return false;
    remaining -= chunk.size();
  }
  return true;
}

// Inflates until the declared size is reached: output beyond it is never
// produced, whatever the stream would go on to yield.
bool Inflate(DataReader& input, std::uint64_t size, ChecksummedSink& output) {
  RawInflater inflater;
  if (!inflater.ready()) return false;
  z_stream& z = inflater.stream();
  // Output never exceeds the declared size, so a small entry needs a small buffer.
  const auto capacity = static_cast<std::size_t>(std::min<std::uint64_t>(size, kChunk));
  const auto out = std::make_unique_for_overwrite<char[]>(capacity);
  bool inputUsedUp = false;
  for (std::uint64_t remaining = size; remaining > 0;) {
    if (z.avail_in == 0 && !inputUsedUp) {
      const std::string_view chunk = input.Next();
      inputUsedUp = chunk.empty();
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(chunk.data()));
      z.avail_in = static_cast<uInt>(chunk.size());
    }
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, capacity));
    z.next_out = reinterpret_cast<Bytef*>(out.get());
    z.avail_out = static_cast<uInt>(want);
    const int result = inflate(&z, Z_NO_FLUSH);
    const std::size_t produced = want - z.avail_out;
    if (produced > 0 && !output.Write(std::string_view(out.get(), produced))) return false;
    remaining -= produced;
    if (result == Z_STREAM_END) return remaining == 0;
    // Z_BUF_ERROR only says no progress was possible: fatal once the input is used up.
    if (result == Z_BUF_ERROR ? inputUsedUp : result != Z_OK) return false;
  }
  return true;
}

// Up to `size` bytes from the entry's local header on; nothing when the read fails.
std::optional<std::string> ReadFromLocalHeader(const ReadOnlyFile& archive, const TAbZipItem& item,
                                               std::size_t size) {
  std::string bytes(size, '\0');
  try {
    bytes.resize(archive.ReadAt(item.localHeaderOffset, std::as_writable_bytes(std::span(bytes))));
  } catch (const Error&) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

std::optional<EntryDataLocation> LocateEntryData(const ReadOnlyFile& archive,
                                                 const TAbZipItem& item) {
  if ((item.versionNeeded & 0xFF) > kHighestVersionNeeded) return std::nullopt;
  // One read for the header, its name and extra field (their length guessed)
  // and the data's first chunk; when that fails, only the header's own bytes
  // decide whether the entry can be located.
  std::optional<std::string> read = ReadFromLocalHeader(
      archive, item,
      kLocalHeaderSize + kNameAndExtraGuess +
          static_cast<std::size_t>(std::min<std::uint64_t>(item.compressedSize, kChunk)));
  if (!read) read = ReadFromLocalHeader(archive, item, kLocalHeaderSize);
  if (!read || read->size() < kLocalHeaderSize) return std::nullopt;
  std::string& bytes = *read;
  ByteReader reader(std::string_view(bytes).substr(0, kLocalHeaderSize));
  if (*reader.U32() != kLocalHeaderSignature) return std::nullopt;
  if (item.IsEncrypted()) return std::nullopt;  // no password is ever set
  reader.Seek(26);
  const std::uint16_t nameLength = *reader.U16();
  const std::uint16_t extraLength = *reader.U16();
  const std::size_t dataStart = kLocalHeaderSize + nameLength + extraLength;
  EntryDataLocation location{item.localHeaderOffset + dataStart, item.compressedSize, {}};
  if (dataStart < bytes.size()) {
    bytes.erase(0, dataStart);
    bytes.resize(
        static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), item.compressedSize)));
    location.head = std::move(bytes);
  }
  return location;
}

DecodeOutcome DecodeEntryData(const ReadOnlyFile& archive, const TAbZipItem& item,
                              const EntryDataLocation& location, EntrySink& sink,
                              ChecksumCheck check) {
  if (item.uncompressedSize == 0) return DecodeOutcome::kDone;
  DataReader input(archive, location);
  const bool verify = check == ChecksumCheck::kVerify;
  ChecksummedSink output(sink, verify);
  bool decoded = false;
  try {
    switch (item.compressionMethod) {
      case kStored:
        decoded = CopyStored(input, item.uncompressedSize, output);
        break;
      case kDeflated:
        decoded = Inflate(input, item.uncompressedSize, output);
        break;
      default:
        // Shrink, reduce, implode, Deflate64, bzip2, LZMA, WavPack, PPMd and
        // unknown methods: books never use them, so such entries fail.
        return DecodeOutcome::kUnsupportedMethod;
    }
  } catch (const Error&) {
    decoded = false;  // a read error of the archive fails only this entry
  }
  if (!decoded) return DecodeOutcome::kFailed;
  if (!verify) return DecodeOutcome::kDone;
  return output.crc() == item.crc32 ? DecodeOutcome::kDone : DecodeOutcome::kChecksumMismatch;
}

}  // namespace quill
