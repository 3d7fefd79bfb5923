#include "archive/extra_field.h"

#include "base/byte_reader.h"

namespace quill {

std::optional<std::string_view> FindExtraField(std::string_view extraField, std::uint16_t id) {
  ByteReader reader(extraField);
  while (reader.remaining() >= 4) {
    const std::uint16_t fieldId = *reader.U16();
    const std::uint16_t size = *reader.U16();
    if (size > reader.remaining()) break;
    if (fieldId == id) return extraField.substr(reader.position(), size);
    reader.Skip(size);
  }
  return std::nullopt;
}

}  // namespace quill
