#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/timestamp.h"

namespace quill {

// What the archive's central directory records about one content document
// and the zip view shows beside its name.
struct ZipViewFields {
  Timestamp modified = 0;  // converted from the stored MS-DOS date and time
  std::uint32_t compressedSize = 0;
  std::uint32_t uncompressedSize = 0;
  std::uint32_t crc32 = 0;
  std::uint16_t compressionMethod = 0;  // 0 stored, 8 deflated, ... as recorded
};

// One listed content document: its name as stored (decoded, "/" kept) and its
// recorded fields. The fields are missing on the row of the document whose
// stored time could not be converted, where the listing stopped.
struct ZipViewRow {
  std::string name;
  std::optional<ZipViewFields> fields;
};

}  // namespace quill
