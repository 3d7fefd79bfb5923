#include "shell/reg_file.h"

#include <cstdio>
#include <optional>

#include "base/text.h"

namespace quill {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::size_t kHexLineWidth = 76;
// Far more values than any key of ours holds (the application list keeps at
// most ten thousand paths and a count): a file with a million values in one
// key is read in a moment and a few megabytes.
constexpr std::size_t kMaxValuesReadPerKey = 16384;

// Names compare ignoring case as the registry does; the folded form is the key.
std::string Folded(std::string_view name) { return UpperUnicode(name); }

// The bytes as UTF-8 text: UTF-16 (either order) when a byte-order mark says
// so, else UTF-8 with an optional mark; ill-formed sequences become U+FFFD.
std::string DecodeText(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return Utf16LeToUtf8(bytes.substr(2));
  if (bytes.starts_with("\xFE\xFF")) {
    std::string swapped(bytes.substr(2));
    for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
    return Utf16LeToUtf8(swapped);
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return SanitizeUtf8(bytes);
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// The lines of a text one at a time, without their line feeds; text after
// the last line feed, even none, is the last line.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  bool Next(std::string_view& line) {
    if (done_) return false;
    const std::size_t end = text_.find('\n', pos_);
    done_ = end == std::string_view::npos;
    const std::size_t stop = done_ ? text_.size() : end;
    line = text_.substr(pos_, stop - pos_);
    pos_ = stop + 1;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  bool done_ = false;
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A hexadecimal number of 1 to 8 digits, the whole text.
std::optional<std::uint32_t> ParseHexNumber(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t number = 0;
  for (const char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    number = (number << 4) | static_cast<std::uint32_t>(digit);
  }
  return number;
}

// Comma-separated bytes of one or two hex digits; blanks and a final comma
// are allowed, as continuation lines leave them.
std::optional<std::string> ParseHexBytes(std::string_view text) {
  std::string bytes;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t comma = text.find(',', pos);
    const bool last = comma == std::string_view::npos;
    if (last) comma = text.size();
    const std::string_view item = Trim(text.substr(pos, comma - pos));
    if (item.empty() && !last) return std::nullopt;
    if (!item.empty()) {
      const auto number = ParseHexNumber(item);
      if (!number || item.size() > 2) return std::nullopt;
      bytes += static_cast<char>(*number);
    }
    pos = comma + 1;
  }
  return bytes;
}

// A quoted text starting at text[pos] (the opening quote), with "\\" and "\""
// as the only escapes; moves pos past the closing quote.
std::optional<std::string> ParseQuoted(std::string_view text, std::size_t& pos) {
  if (pos >= text.size() || text[pos] != '"') return std::nullopt;
  std::string out;
  for (std::size_t i = pos + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      pos = i + 1;
      return out;
    }
    if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) ++i;
    out += text[i];
  }
  return std::nullopt;  // no closing quote
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// The data after "=": a quoted text, dword:, hex: or hex(type):. Nothing
// when it is none of these.
std::optional<RegistryValue> ParseData(std::string_view data) {
  if (data.starts_with('"')) {
    std::size_t pos = 0;
    const auto text = ParseQuoted(data, pos);
    if (!text || !Trim(data.substr(pos)).empty()) return std::nullopt;
    return StringValue(*text);
  }
  if (data.starts_with("dword:")) {
    const auto number = ParseHexNumber(Trim(data.substr(6)));
    if (!number) return std::nullopt;
    return DwordValue(*number);
  }
  RegistryType type = RegistryType::kBinary;
  if (data.starts_with("hex(")) {
    const std::size_t close = data.find("):");
    if (close == std::string_view::npos) return std::nullopt;
    const auto number = ParseHexNumber(data.substr(4, close - 4));
    if (!number) return std::nullopt;
    type = static_cast<RegistryType>(*number);
    data.remove_prefix(close + 2);
  } else if (data.starts_with("hex:")) {
    data.remove_prefix(4);
  } else {
    return std::nullopt;
  }
  auto bytes = ParseHexBytes(data);
  if (!bytes) return std::nullopt;
  return RegistryValue{type, std::move(*bytes)};
}

// Whether a REG_SZ value can be written as a quoted text and read back to the
// same bytes: terminated, no NUL, line break or unpaired surrogate inside.
bool FitsQuotedText(const RegistryValue& value, std::string& text) {
  const std::string& data = value.data;
  if (data.size() < 2 || data.size() % 2 != 0 ||
      data.substr(data.size() - 2) != std::string(2, '\0'))
    return false;
  text = Utf16LeToUtf8(std::string_view(data).substr(0, data.size() - 2));
  if (text.find_first_of(std::string_view("\0\r\n", 3)) != std::string::npos) return false;
  return Utf8ToUtf16Le(text) + std::string(2, '\0') == data;
}

std::string HexText(std::uint8_t byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  return {kDigits[byte >> 4], kDigits[byte & 0xF]};
}

// "hex:" or "hex(N):" and the bytes, wrapped with "\" before the line width.
std::string FormatHex(std::size_t column, const RegistryValue& value) {
  std::string out;
  if (value.type == RegistryType::kBinary) {
    out = "hex:";
  } else {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
    out = prefix;
  }
  column += out.size();
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    const bool last = i + 1 == value.data.size();
    std::string item = HexText(static_cast<std::uint8_t>(value.data[i])) + (last ? "" : ",");
    if (column + item.size() > kHexLineWidth && !last) {
      out += "\\\n  ";
      column = 2;
    }
    out += item;
    column += item.size();
  }
  return out;
}

std::string FormatValue(const std::string& name, const RegistryValue& value) {
  std::string line = name.empty() ? "@" : Quoted(name);
  line += '=';
  std::string text;
  if (value.type == RegistryType::kString && FitsQuotedText(value, text))
    return line + Quoted(text);
  if (value.type == RegistryType::kDword && value.data.size() == 4) {
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<std::uint8_t>(value.data[i]);
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", number);
    return line + "dword:" + digits;
  }
  return line + FormatHex(line.size(), value);
}

// Joins a hex value's continuation lines: while the logical line ends in "\",
// the next physical line (without its indentation) follows.
std::string JoinContinuations(std::string_view first, LineReader& lines) {
  std::string joined(Trim(first));
  std::string_view next;
  while (joined.ends_with('\\') && lines.Next(next)) {
    joined.pop_back();
    joined += Trim(next);
  }
  if (joined.ends_with('\\')) joined.pop_back();
  return joined;
}

struct ValueLine {
  std::string name;
  std::string_view data;  // after "=", trimmed
};

// Splits '"name"=data' or '@=data'; nothing when the line is neither.
std::optional<ValueLine> SplitValueLine(std::string_view line) {
  ValueLine out;
  std::size_t pos = 1;
  if (!line.starts_with('@')) {
    pos = 0;
    auto name = ParseQuoted(line, pos);
    if (!name) return std::nullopt;
    out.name = std::move(*name);
  }
  const std::string_view rest = Trim(line.substr(pos));
  if (!rest.starts_with('=')) return std::nullopt;
  out.data = Trim(rest.substr(1));
  return out;
}

}  // namespace

RegFile RegFile::Parse(std::string_view bytes) {
  RegFile file;
  // ASCII is its own UTF-8: a large plain file is not copied.
  std::string decoded;
  std::string_view text = bytes;
  if (!IsAscii(bytes)) {
    decoded = DecodeText(bytes);
    text = decoded;
  }
  LineReader lines(text);
  // The key that the value lines belong to: keys are added and removed only
  // by key lines, which choose it anew.
  Key* currentKey = nullptr;
  std::string_view physical;
  while (lines.Next(physical)) {
    const std::string_view line = Trim(physical);
    if (line.empty() || line.starts_with(';') || line == kHeader || line == "REGEDIT4") continue;
    if (line.starts_with('[')) {
      const std::size_t close = line.rfind(']');
      currentKey = nullptr;
      if (close == std::string_view::npos) continue;
      const std::string_view name = Trim(line.substr(1, close - 1));
      if (name.starts_with('-')) {
        file.RemoveKey(Trim(name.substr(1)));
      } else if (!name.empty()) {
        currentKey = &file.KeyNamed(name);
      }
      continue;
    }
    auto value = SplitValueLine(line);
    if (!value) continue;
    std::string joined;
    if (value->data.starts_with("hex")) {
      // A binary value goes on over lines that end in "\"; they are joined
      // first, so a damaged value is skipped whole, its continuations with it.
      joined = JoinContinuations(physical, lines);
      value = SplitValueLine(joined);
    }
    // A full key takes no more lines: a huge file costs no more than its cap.
    if (!value || !currentKey || currentKey->values.size() >= kMaxValuesReadPerKey) continue;
    if (value->data == "-") {
      RemoveValueOf(*currentKey, value->name);
    } else if (auto data = ParseData(value->data)) {
      SetValueOf(*currentKey, value->name, std::move(*data));
    }
  }
  return file;
}

std::string RegFile::Format() const {
  std::string out(kHeader);
  out += "\n";
  for (const Key& key : keys_) {
    out += "\n[" + key.name + "]\n";
    for (const Value& value : key.values) out += FormatValue(value.name, value.value) + "\n";
  }
  return out;
}

std::optional<std::size_t> RegFile::KeyIndex(std::string_view key) const {
  const std::string folded = Folded(key);
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (Folded(keys_[i].name) == folded) return i;
  }
  return std::nullopt;
}

RegFile::Key& RegFile::KeyNamed(std::string_view key) {
  if (const auto i = KeyIndex(key)) return keys_[*i];
  keys_.push_back(Key{std::string(key), {}, {}});
  return keys_.back();
}

bool RegFile::HasKey(std::string_view key) const { return KeyIndex(key).has_value(); }

const RegistryValue* RegFile::Find(std::string_view key, std::string_view name) const {
  const auto i = KeyIndex(key);
  if (!i) return nullptr;
  const Key& found = keys_[*i];
  const auto it = found.index.find(Folded(name));
  return it == found.index.end() ? nullptr : &found.values[it->second].value;
}

void RegFile::AddKey(std::string_view key) { KeyNamed(key); }

void RegFile::Set(std::string_view key, std::string_view name, RegistryValue value) {
  SetValueOf(KeyNamed(key), name, std::move(value));
}

void RegFile::SetValueOf(Key& target, std::string_view name, RegistryValue value) {
  const auto [it, added] = target.index.emplace(Folded(name), target.values.size());
  if (added) {
    target.values.push_back(Value{std::string(name), std::move(value)});
  } else {
    target.values[it->second].value = std::move(value);
  }
}

void RegFile::RemoveKey(std::string_view key) {
  const std::string folded = Folded(key);
  std::erase_if(keys_, [&](const Key& candidate) {
    const std::string name = Folded(candidate.name);
    return name == folded || name.starts_with(folded + "\\");
  });
}

void RegFile::RemoveValue(std::string_view key, std::string_view name) {
  if (const auto i = KeyIndex(key)) RemoveValueOf(keys_[*i], name);
}

void RegFile::RemoveValueOf(Key& target, std::string_view name) {
  const auto it = target.index.find(Folded(name));
  if (it == target.index.end()) return;
  const std::size_t removed = it->second;
  target.index.erase(it);
  target.values.erase(target.values.begin() + static_cast<std::ptrdiff_t>(removed));
  for (auto& [folded, position] : target.index) {
    if (position > removed) --position;
  }
}

}  // namespace quill
