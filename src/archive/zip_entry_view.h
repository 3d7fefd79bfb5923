#pragma once

#include <cstdint>
#include <string_view>

namespace quill {

// What a walk over every entry of an open TZipFile reads, without copies: the
// raw name bytes (a view valid until the reader closes), the general purpose
// flag that tells how to decode them, and the stored modification time.
struct ZipEntryView {
  std::string_view fileName;
  std::uint16_t flag = 0;
  std::uint32_t modifiedDateTime = 0;
};

}  // namespace quill
