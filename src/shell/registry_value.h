#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

// The types of registry values, numbered as the registry numbers them. A value
// may carry any other number too; those have no name here.
enum class RegistryType : std::uint32_t {
  kNone = 0,
  kString = 1,        // REG_SZ
  kExpandString = 2,  // REG_EXPAND_SZ
  kBinary = 3,        // REG_BINARY
  kDword = 4,         // REG_DWORD, little-endian
  kMultiString = 7,   // REG_MULTI_SZ
  kQword = 11,        // REG_QWORD, little-endian
};

// One registry value: its type and its data bytes exactly as the registry
// holds them (text as UTF-16LE with its terminating NUL, numbers little-endian).
struct RegistryValue {
  RegistryType type = RegistryType::kNone;
  std::string data;

  bool operator==(const RegistryValue&) const = default;
};

// A REG_SZ value holding the UTF-8 text, with the terminator REG_SZ carries.
RegistryValue StringValue(std::string_view text);

// A REG_DWORD value.
RegistryValue DwordValue(std::uint32_t number);

}  // namespace quill
