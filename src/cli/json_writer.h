#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Writes JSON text into a string, indented two spaces a level, with commas
// and nesting kept by the writer. Strings are written as valid JSON whatever
// their bytes: quotes, backslashes and control characters are escaped, and a
// byte sequence that is not UTF-8 (a file name on a system that allows any
// bytes) becomes U+FFFD, since JSON text must be UTF-8.
//
// The caller may take the text written so far (Take) at any point, so a long
// array can be streamed out without being held whole.
class JsonWriter {
 public:
  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }

  // The key of the next member of the object being written.
  void Key(std::string_view key);

  void String(std::string_view value);
  void Number(std::int64_t value);
  void Bool(bool value);
  void Null();

  // A member in one call: Key then the value.
  void Member(std::string_view key, std::string_view value) {
    Key(key);
    String(value);
  }
  void Member(std::string_view key, const char* value) {
    Key(key);
    String(value);
  }
  void Member(std::string_view key, std::int64_t value) {
    Key(key);
    Number(value);
  }
  void Member(std::string_view key, int value) {
    Key(key);
    Number(value);
  }
  void Member(std::string_view key, bool value) {
    Key(key);
    Bool(value);
  }
  void Member(std::string_view key, const std::vector<std::string>& values);

  // The text written since the last Take; a finished document ends in a line feed.
  std::string Take();

  // The JSON form of a string, quotes included.
  static std::string Quoted(std::string_view value);

 private:
  struct Level {
    bool empty = true;
  };
  void Open(char bracket);
  void Close(char bracket);
  // Starts a value: a separator and indentation, unless it follows a key.
  void BeginValue();
  void NewLine();

  std::string out_;
  std::vector<Level> levels_;
  bool afterKey_ = false;
};

}  // namespace quill
