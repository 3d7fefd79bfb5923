#include "shell/registry_value.h"

#include "base/text.h"

namespace quill {

RegistryValue StringValue(std::string_view text) {
  return {RegistryType::kString, Utf8ToUtf16Le(text) + std::string(2, '\0')};
}

RegistryValue DwordValue(std::uint32_t number) {
  std::string data;
  for (int i = 0; i < 4; ++i) data += static_cast<char>((number >> (8 * i)) & 0xFF);
  return {RegistryType::kDword, data};
}

}  // namespace quill
