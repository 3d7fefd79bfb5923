#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "shell/registry_value.h"

namespace quill {

// The current user's part of the registry (HKEY_CURRENT_USER): keys named by
// their path below it ("Software\Quillmere\apppath"), each holding named
// values with their types. Each platform has one backend; OpenUserRegistry
// gives it.
class UserRegistry {
 public:
  enum class KeyState {
    kOpened,      // the key exists and could be read
    kMissing,     // the key does not exist
    kUnreadable,  // the key may exist but cannot be opened
  };

  struct Lookup {
    KeyState key = KeyState::kMissing;
    std::optional<RegistryValue> value;  // only when the key was opened
  };

  virtual ~UserRegistry() = default;

  // The value of that name in the key. Never raises.
  virtual Lookup QueryValue(std::string_view keyPath, std::string_view name) = 0;

  // Creates the key with any missing parent keys; an existing key is success.
  // False when it cannot be created. Never raises.
  virtual bool CreateKey(std::string_view keyPath) = 0;

  // Sets the value in an existing key, overwriting a value of that name
  // whatever its type. False when it cannot be written. Never raises.
  virtual bool SetValue(std::string_view keyPath, std::string_view name,
                        const RegistryValue& value) = 0;

  // Makes every value set so far durable. A backend that writes through at
  // once answers true; one that collects changes stores them all or none.
  // False when they could not be stored. Never raises.
  virtual bool Flush() = 0;
};

// The platform's registry of the current user.
std::unique_ptr<UserRegistry> OpenUserRegistry();

}  // namespace quill
