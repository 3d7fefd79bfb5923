#include "cli/json_writer.h"

#include <cstdio>

#include "base/text.h"

namespace quill {
namespace {

void AppendEscaped(std::string& out, char c) {
  switch (c) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\b':
      out += "\\b";
      return;
    case '\f':
      out += "\\f";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    default:
      break;
  }
  if (static_cast<unsigned char>(c) < 0x20) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
    out += escape;
  } else {
    out += c;
  }
}

}  // namespace

std::string JsonWriter::Quoted(std::string_view value) {
  const std::string text = IsAscii(value) ? std::string(value) : SanitizeUtf8(value);
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (const char c : text) AppendEscaped(out, c);
  out += '"';
  return out;
}

void JsonWriter::Key(std::string_view key) {
  BeginValue();
  out_ += Quoted(key);
  out_ += ": ";
  afterKey_ = true;
}

void JsonWriter::String(std::string_view value) {
  BeginValue();
  out_ += Quoted(value);
}

void JsonWriter::Number(std::int64_t value) {
  BeginValue();
  out_ += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
  BeginValue();
  out_ += value ? "true" : "false";
}

void JsonWriter::Null() {
  BeginValue();
  out_ += "null";
}

void JsonWriter::Member(std::string_view key, const std::vector<std::string>& values) {
  Key(key);
  BeginArray();
  for (const std::string& value : values) String(value);
  EndArray();
}

std::string JsonWriter::Take() {
  std::string text;
  text.swap(out_);
  return text;
}

void JsonWriter::Open(char bracket) {
  BeginValue();
  out_ += bracket;
  levels_.push_back({});
}

void JsonWriter::Close(char bracket) {
  const bool empty = levels_.back().empty;
  levels_.pop_back();
  if (!empty) NewLine();
  out_ += bracket;
  if (levels_.empty()) out_ += '\n';
}

void JsonWriter::BeginValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (levels_.empty()) return;
  if (!levels_.back().empty) out_ += ',';
  levels_.back().empty = false;
  NewLine();
}

void JsonWriter::NewLine() {
  out_ += '\n';
  out_.append(2 * levels_.size(), ' ');
}

}  // namespace quill
