#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quill {

// Header IDs of the extra fields that extraction reads.
inline constexpr std::uint16_t kZip64ExtraId = 0x0001;
inline constexpr std::uint16_t kUnicodePathExtraId = 0x7075;
inline constexpr std::uint16_t kNucxExtraId = 0x554E;

// The data of the first field with the ID in an extra field block (a sequence
// of ID, size and data). Nothing when no such field stands there; a field
// whose stated size runs past the block ends the walk.
std::optional<std::string_view> FindExtraField(std::string_view extraField, std::uint16_t id);

}  // namespace quill
