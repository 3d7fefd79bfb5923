#pragma once

#include <cstdint>
#include <string_view>

namespace quill {

// What a walk over every entry of an open TZipFile reads, without copies (the
// views are valid until the reader closes): the raw name bytes, the general
// purpose flag, the stored modification time, and the entry's one decoded
// name, the same that extraction gives it.
struct ZipEntryView {
  std::string_view fileName;
  std::uint16_t flag = 0;
  std::uint32_t modifiedDateTime = 0;
  std::string_view decodedName;
};

}  // namespace quill
