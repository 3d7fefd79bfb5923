#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quill::testing {

// A JSON value read by a strict parser, for checking what the program writes:
// the text must be valid JSON (RFC 8259) in valid UTF-8, or Parse raises.
// Objects keep their keys in order.
class JsonValue {
 public:
  enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };

  static JsonValue Parse(std::string_view text);

  Type type() const { return type_; }
  bool IsNull() const { return type_ == Type::kNull; }
  bool Bool() const;
  double Number() const;
  const std::string& String() const;
  const std::vector<JsonValue>& Array() const;
  std::size_t Size() const;  // of an array or object

  // The member of an object; raises when there is none.
  const JsonValue& operator[](std::string_view key) const;
  const JsonValue& operator[](std::size_t index) const { return Array().at(index); }
  bool Has(std::string_view key) const;
  std::vector<std::string> Keys() const;
  // The strings of an array of strings.
  std::vector<std::string> Strings() const;

 private:
  friend class JsonParser;
  Type type_ = Type::kNull;
  bool bool_ = false;
  double number_ = 0;
  std::string string_;
  std::vector<JsonValue> items_;
  std::vector<std::pair<std::string, JsonValue>> members_;
};

}  // namespace quill::testing
