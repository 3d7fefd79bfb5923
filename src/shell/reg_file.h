#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "shell/registry_value.h"

namespace quill {

// Registry keys and values in the text format of registry exports
// ("Windows Registry Editor Version 5.00"): each key as its full name in
// brackets, root key first, followed by its values, one a line:
//
//   [HKEY_CURRENT_USER\Software\Quillmere\apppath]
//   "Count"=dword:00000002
//   "Path0"="C:\\Tools\\reader.exe"
//   "Data"=hex(b):01,00,00,00,00,00,00,00
//
// Key and value names compare ignoring case, as the registry compares them;
// the spelling of the first occurrence is kept. The empty value name is the
// key's default value, written "@".
class RegFile {
 public:
  // Reads the text tolerantly: UTF-8 with or without a byte-order mark, or
  // UTF-16 with one (as registry exports are), LF or CRLF line ends. A line
  // that cannot be understood is skipped and everything else is kept; damaged
  // input never raises. "[-key]" removes a key with its subkeys, "name"=- a value.
  // A key takes at most 16 384 values from the text; its value lines after
  // that are skipped (and a Format leaves them out), so a huge file costs no
  // more than that.
  static RegFile Parse(std::string_view bytes);

  // The text of all keys and values, as UTF-8 with LF line ends. Parsing it
  // gives the same keys and values back, whatever their types and bytes.
  std::string Format() const;

  bool HasKey(std::string_view key) const;
  // The value, or null when the key or the value does not exist.
  const RegistryValue* Find(std::string_view key, std::string_view name) const;

  // Adds the key when it is missing.
  void AddKey(std::string_view key);
  // Sets the value, overwriting one of the same name whatever its type, and
  // adds the key when it is missing.
  void Set(std::string_view key, std::string_view name, RegistryValue value);
  // Removes the key and every key below it.
  void RemoveKey(std::string_view key);
  void RemoveValue(std::string_view key, std::string_view name);

 private:
  struct Value {
    std::string name;
    RegistryValue value;
  };
  struct Key {
    std::string name;
    std::vector<Value> values;                           // in the order they were first set
    std::unordered_map<std::string, std::size_t> index;  // folded name -> values position
  };

  std::optional<std::size_t> KeyIndex(std::string_view key) const;
  static void SetValueOf(Key& target, std::string_view name, RegistryValue value);
  static void RemoveValueOf(Key& target, std::string_view name);
  Key& KeyNamed(std::string_view key);

  std::vector<Key> keys_;
};

}  // namespace quill
