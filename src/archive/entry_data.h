#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "archive/directory_entry.h"

namespace quill {

class ReadOnlyFile;

// Where an entry's stored data lies in the archive: right after its local
// header's name and extra field, as long as the central directory's
// compressed size says. The data's first bytes (all of a small entry's) come
// with the local header in one read and are kept here.
struct EntryDataLocation {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  std::string head;  // the first bytes of the data, at most one chunk
};

// Receives an entry's decoded data, chunk by chunk.
class EntrySink {
 public:
  virtual ~EntrySink() = default;
  // Takes the next chunk; false stops the decoding (the entry then fails).
  virtual bool Write(std::string_view chunk) = 0;
};

enum class DecodeOutcome {
  kDone,               // all declared bytes written, checksum equal
  kChecksumMismatch,   // all declared bytes written, but the CRC-32 differs
  kUnsupportedMethod,  // a compression method other than stored and Deflate
  kFailed,             // corrupt or short data, or the sink refused
};

// The highest version needed to extract (its low byte) that an entry may ask for.
inline constexpr std::uint8_t kHighestVersionNeeded = 63;

// Locates the entry's data: nothing when the entry cannot be extracted at all
// (a version needed above 6.3, no local header signature at the stored
// offset, encryption) or the local header cannot be read.
std::optional<EntryDataLocation> LocateEntryData(const ReadOnlyFile& archive,
                                                 const TAbZipItem& item);

// Whether decoding verifies the CRC-32 of what it writes. A caller that keeps
// whatever an entry yields, and reports nothing, has no use for the sum.
enum class ChecksumCheck { kVerify, kSkip };

// Decodes the located data (stored or Deflate) into the sink, computing the
// CRC-32 of what it writes unless told to skip it (the outcome is then never
// kChecksumMismatch). Never writes more than the entry's declared
// uncompressed size, and holds at most the head and one chunk of input and one
// of output in memory at a time. An entry whose uncompressed size is 0 writes nothing and
// is done. Raises nothing that concerns the data: every such fault is kFailed.
DecodeOutcome DecodeEntryData(const ReadOnlyFile& archive, const TAbZipItem& item,
                              const EntryDataLocation& location, EntrySink& sink,
                              ChecksumCheck check = ChecksumCheck::kVerify);

}  // namespace quill
