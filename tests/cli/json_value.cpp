#include "json_value.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>

#include "base/text.h"

namespace quill::testing {

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : text_(text) {}

  JsonValue Document() {
    if (!IsAscii(text_) && !IsUtf8ByShape(text_)) Fail("not UTF-8");
    JsonValue value = Value(0);
    SkipSpace();
    if (pos_ != text_.size()) Fail("text after the value");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error("invalid JSON at " + std::to_string(pos_) + ": " + what);
  }
  void SkipSpace() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                   text_[pos_] == '\n' || text_[pos_] == '\r')) {
      ++pos_;
    }
  }
  bool Take(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }
  void Expect(char c) {
    SkipSpace();
    if (pos_ >= text_.size() || text_[pos_] != c) Fail(std::string("expected ") + c);
    ++pos_;
  }

  JsonValue Value(int depth) {
    if (depth > 100) Fail("too deep");
    SkipSpace();
    if (pos_ >= text_.size()) Fail("value expected");
    JsonValue value;
    const char c = text_[pos_];
    if (Take("null")) return value;
    if (Take("true") || Take("false")) {
      value.type_ = JsonValue::Type::kBool;
      value.bool_ = text_[pos_ - 1] == 'e' && text_[pos_ - 2] == 'u';
    } else if (c == '"') {
      value.type_ = JsonValue::Type::kString;
      value.string_ = String();
    } else if (c == '[') {
      value.type_ = JsonValue::Type::kArray;
      ++pos_;
      SkipSpace();
      if (!Take("]")) {
        do value.items_.push_back(Value(depth + 1));
        while (Separator(']'));
      }
    } else if (c == '{') {
      value.type_ = JsonValue::Type::kObject;
      ++pos_;
      SkipSpace();
      if (!Take("}")) {
        do {
          SkipSpace();
          if (pos_ >= text_.size() || text_[pos_] != '"') Fail("key expected");
          std::string key = String();
          Expect(':');
          value.members_.emplace_back(std::move(key), Value(depth + 1));
        } while (Separator('}'));
      }
    } else {
      value.type_ = JsonValue::Type::kNumber;
      value.number_ = Number();
    }
    return value;
  }

  // After an item: true for ",", false for the closing bracket.
  bool Separator(char close) {
    SkipSpace();
    if (Take(",")) return true;
    if (Take(std::string_view(&close, 1))) return false;
    Fail("expected , or closing bracket");
  }

  double Number() {
    const std::size_t start = pos_;
    if (Take("-")) {
    }
    if (Take("0")) {
    } else {
      if (pos_ >= text_.size() || text_[pos_] < '1' || text_[pos_] > '9') Fail("number expected");
      while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    }
    if (Take(".")) Digits();
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      ++pos_;
      if (!Take("+")) Take("-");
      Digits();
    }
    return std::strtod(std::string(text_.substr(start, pos_ - start)).c_str(), nullptr);
  }
  void Digits() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    if (pos_ == start) Fail("digit expected");
  }

  std::string String() {
    ++pos_;  // the opening quote
    std::string out;
    for (;;) {
      if (pos_ >= text_.size()) Fail("unterminated string");
      const char c = text_[pos_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("raw control character in a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size()) Fail("unterminated escape");
      const char e = text_[pos_++];
      switch (e) {
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case '/':
          out += '/';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u':
          AppendUtf8(out, Hex4());
          break;
        default:
          Fail("unknown escape");
      }
    }
  }
  char32_t Hex4() {
    if (pos_ + 4 > text_.size()) Fail("short \\u escape");
    const std::string digits(text_.substr(pos_, 4));
    char* end = nullptr;
    const long value = std::strtol(digits.c_str(), &end, 16);
    if (end != digits.c_str() + 4) Fail("bad \\u escape");
    pos_ += 4;
    return static_cast<char32_t>(value);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

JsonValue JsonValue::Parse(std::string_view text) { return JsonParser(text).Document(); }

bool JsonValue::Bool() const {
  if (type_ != Type::kBool) throw std::runtime_error("not a Boolean");
  return bool_;
}

double JsonValue::Number() const {
  if (type_ != Type::kNumber) throw std::runtime_error("not a number");
  return number_;
}

const std::string& JsonValue::String() const {
  if (type_ != Type::kString) throw std::runtime_error("not a string");
  return string_;
}

const std::vector<JsonValue>& JsonValue::Array() const {
  if (type_ != Type::kArray) throw std::runtime_error("not an array");
  return items_;
}

std::size_t JsonValue::Size() const {
  return type_ == Type::kObject ? members_.size() : Array().size();
}

const JsonValue& JsonValue::operator[](std::string_view key) const {
  for (const auto& [name, value] : members_) {
    if (name == key) return value;
  }
  throw std::runtime_error("no member " + std::string(key));
}

bool JsonValue::Has(std::string_view key) const {
  for (const auto& member : members_) {
    if (member.first == key) return true;
  }
  return false;
}

std::vector<std::string> JsonValue::Keys() const {
  std::vector<std::string> keys;
  for (const auto& member : members_) keys.push_back(member.first);
  return keys;
}

std::vector<std::string> JsonValue::Strings() const {
  std::vector<std::string> strings;
  for (const JsonValue& item : Array()) strings.push_back(item.String());
  return strings;
}

}  // namespace quill::testing
