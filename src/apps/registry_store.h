#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shell/registry_value.h"

namespace quill {

class UserRegistry;

// Reads and writes the named values of one key of the current user's
// registry, the key being the root path given at creation. Reading follows
// the registry's value types: a number may have been stored as text, and
// text as binary data. Writing creates the key with its parents when needed.
class RegistryStore {
 public:
  // The registry must outlive the store.
  RegistryStore(UserRegistry& registry, std::string rootPath);

  // The stored number, or the default when the key or the value is missing,
  // the value is not a number, or it cannot be read. Text (REG_SZ,
  // REG_EXPAND_SZ) is parsed as a decimal integer; REG_DWORD, REG_QWORD and
  // REG_BINARY of at most 8 bytes are read little-endian; either way the low
  // 32 bits count. Raises ERegistryError "Unable to open key "<root path>\<name>"
  // for read" when the key exists but cannot be opened.
  std::int32_t ReadInteger(std::string_view name, std::int32_t defaultValue);

  // The stored text, or the default when the key or the value is missing or
  // of another type. REG_SZ, REG_EXPAND_SZ and REG_BINARY data count as
  // UTF-16 text whose last character, the terminator, is dropped;
  // environment variables are not expanded. Raises as ReadInteger does.
  std::string ReadString(std::string_view name, std::string_view defaultValue);

  // Whether a value of that name is stored, whatever its type. Raises as
  // ReadInteger does.
  bool ValueExists(std::string_view name) { return Query(name).has_value(); }

  // Store the value as REG_DWORD or REG_SZ, overwriting a value of the same
  // name whatever its type. Raise ERegistryError "Unable to create key
  // '<root path>'" when the key cannot be created, and "Unable to open key
  // "HKEY_CURRENT_USER\<root path>" for write" when the value cannot be set.
  void WriteInteger(std::string_view name, std::int32_t value);
  void WriteString(std::string_view name, std::string_view value);

  // Makes the values written so far durable (on POSIX the registry file is
  // replaced, all values or none). Raises the write error of WriteString.
  void Flush();

 private:
  // The value, nothing when the key or the value is missing; raises the read error.
  std::optional<RegistryValue> Query(std::string_view name);
  void OpenForWrite();
  [[noreturn]] void RaiseWriteError() const;

  UserRegistry& registry_;
  std::string rootPath_;
};

}  // namespace quill
