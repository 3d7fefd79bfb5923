#pragma once

#include <string_view>

#include "shell/user_registry.h"

namespace quill {

// The current user's registry on Windows: HKEY_CURRENT_USER itself. Every
// change is written through at once, as the registry stores it.
class Win32Registry final : public UserRegistry {
 public:
  Lookup QueryValue(std::string_view keyPath, std::string_view name) override;
  bool CreateKey(std::string_view keyPath) override;
  bool SetValue(std::string_view keyPath, std::string_view name,
                const RegistryValue& value) override;
  bool Flush() override { return true; }
};

}  // namespace quill
