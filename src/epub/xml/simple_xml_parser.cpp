#include "epub/xml/simple_xml_parser.h"

#include <algorithm>
#include <array>
#include <typeinfo>
#include <utility>

#include "base/text.h"
#include "epub/xml/simple_xml_errors.h"
#include "epub/xml/xml_arena.h"
#include "epub/xml/xml_charsets.h"

namespace quill {
namespace {

namespace errors = simple_xml_errors;

constexpr char32_t kReplacement = 0xFFFD;

// Space, tab, line breaks and the other Unicode white-space characters.
constexpr bool IsWhiteSpace(char32_t c) {
  if (c < 0x80) return c == ' ' || (c >= 0x09 && c <= 0x0D);
  if (c == 0x85 || c == 0xA0) return true;
  if (c < 0x1680) return false;
  return c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
         c == 0x205F || c == 0x3000;
}

constexpr bool IsAsciiLetter(char32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
constexpr bool IsAsciiDigit(char32_t c) { return c >= '0' && c <= '9'; }

// Beyond ASCII, the ranges that XML gives for the first character of a name
// stand in for the letters.
constexpr bool IsLetterBeyondAscii(char32_t c) {
  return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
         (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
         (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
         (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
         (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFC) ||
         (c >= 0x10000 && c <= 0xEFFFF);
}

// Letters, digits, combining marks, connector punctuation, "-" and ".".
constexpr bool IsNameCharacter(char32_t c) {
  if (c < 0x80) return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_' || c == '-' || c == '.';
  return IsLetterBeyondAscii(c) || c == 0xB7 || (c >= 0x300 && c <= 0x36F) ||
         (c >= 0x203F && c <= 0x2040);
}

bool IsPropertyNameStart(char32_t c) {
  if (c < 0x80) return IsAsciiLetter(c) || c == '_' || c == '-' || c == '.';
  return IsLetterBeyondAscii(c);
}

// The code point at text[pos], moving pos past it; ASCII without a call.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  return NextUtf8CodePoint(text, pos);
}

bool IsAllWhiteSpace(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (!IsWhiteSpace(NextCodePoint(text, pos))) return false;
  }
  return true;
}

std::string_view Trim(std::string_view text, bool leading, bool trailing) {
  if (leading) {
    std::size_t pos = 0;
    while (pos < text.size()) {
      std::size_t next = pos;
      if (!IsWhiteSpace(NextCodePoint(text, next))) break;
      pos = next;
    }
    text.remove_prefix(pos);
  }
  if (trailing) {
    // White space is ASCII or a whole multi-byte sequence; find the last
    // character that is not white space by walking forward.
    std::size_t keep = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
      if (!IsWhiteSpace(NextCodePoint(text, pos))) keep = pos;
    }
    text = text.substr(0, keep);
  }
  return text;
}

// Decodes the reference that starts with the "&" at text[amp] into out and
// returns its length, or returns 0 (and appends nothing) when the text there
// is no reference the model decodes.
std::size_t DecodeReferenceAt(std::string_view text, std::size_t amp, std::string& out) {
  static constexpr std::array<std::pair<std::string_view, char>, 5> kNamed = {
      {{"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"apos;", '\''}, {"quot;", '"'}}};
  const std::string_view rest = text.substr(amp + 1);
  for (const auto& [name, character] : kNamed) {
    if (SameTextAscii(rest.substr(0, name.size()), name)) {
      out += character;
      return name.size() + 1;
    }
  }
  if (!rest.starts_with('#')) return 0;
  std::size_t i = 1;
  const bool hex = i < rest.size() && (rest[i] == 'x' || rest[i] == 'X');
  if (hex) ++i;
  const std::size_t firstDigit = i;
  char32_t code = 0;
  bool tooLarge = false;
  for (; i < rest.size(); ++i) {
    const char c = rest[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) break;
    code = code * (hex ? 16 : 10) + static_cast<char32_t>(digit);
    if (code > 0x10FFFF) {
      tooLarge = true;
      code = 0x10FFFF;  // keeps the running value from overflowing
    }
  }
  if (i == firstDigit || i >= rest.size() || rest[i] != ';') return 0;
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  AppendUtf8(out, tooLarge || surrogate ? kReplacement : code);
  return i + 2;
}

// Replaces the five predefined entities and the numeric character references;
// every other "&" stays as written. Each reference is decoded once.
std::string DecodeReferences(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t amp = text.find('&', pos);
    if (amp == std::string_view::npos) {
      out.append(text.substr(pos));
      break;
    }
    out.append(text.substr(pos, amp - pos));
    const std::size_t length = DecodeReferenceAt(text, amp, out);
    if (length == 0) out += '&';
    pos = amp + (length == 0 ? 1 : length);
  }
  return out;
}

// An end tag repeats its start tag's name: exactly, or ignoring letter case
// when the name carries a prefix.
bool EndTagMatches(std::string_view startName, std::string_view endName) {
  if (startName.find(':') == std::string_view::npos) return startName == endName;
  return SameTextUnicode(startName, endName);
}

// The text class is final, so comparing the exact type suffices.
bool IsTextNode(const TJclSimpleXMLElem& node) {
  return typeid(node) == typeid(TJclSimpleXMLElemText);
}

// The ASCII bytes that may stand anywhere in a name except the colon, which
// the name readers treat on their own; a table keeps the usual names on a
// short path.
constexpr std::array<bool, 128> kAsciiNameBytes = [] {
  std::array<bool, 128> table{};
  for (char32_t c = 0; c < 128; ++c) table[c] = IsNameCharacter(c);
  return table;
}();

inline bool IsAsciiNameByte(unsigned char byte) { return byte < 0x80 && kAsciiNameBytes[byte]; }

}  // namespace

void SimpleXmlParser::Parse() {
  if (StartsWith("\xEF\xBB\xBF")) pos_ += 3;
  if (ParseProlog()) ParseRoot();
}

// ---- Document structure ----------------------------------------------------

// Reads what precedes the root element. True when a root element starts at
// the cursor, false when the input ends first.
bool SimpleXmlParser::ParseProlog() {
  for (;;) {
    SkipWhiteSpace();
    if (AtEnd()) return false;
    if (input_[pos_] != '<') throw errors::TextInProlog(pos_);
    if (StartsWith("<?")) {
      ParsePrologInstruction();
    } else if (StartsWith("<!-")) {
      target_.prolog.Add(ReadComment());
    } else if (StartsWith("<!")) {
      ParseDocType();
    } else {
      return true;
    }
  }
}

// A processing instruction before the root; the one named xml is the
// declaration, whose encoding must be a known character set.
void SimpleXmlParser::ParsePrologInstruction() {
  TJclSimpleXMLElem& instruction = target_.prolog.Add(ReadProcessingInstruction());
  if (instruction.Name() != "xml" || !instruction.NameSpace().empty()) return;
  const XmlPropertyList& properties = instruction.Properties();
  for (std::size_t i = 0; i < properties.Count(); ++i) {
    const TJclSimpleXMLProp& property = properties.GetItem(i);
    if (!SameTextAscii(property.Name(), "encoding")) continue;
    if (!property.Value().empty() && !IsKnownCharset(property.Value())) {
      throw errors::UnknownCharset();
    }
    return;
  }
}

// "<!DOCTYPE" ... ">"; inside an internal subset "[" ... "]" a ">" does not
// end the declaration.
void SimpleXmlParser::ParseDocType() {
  static constexpr std::string_view kKeyword = "<!DOCTYPE";
  const std::size_t start = pos_;
  if (IsTruncatedOpening(kKeyword)) throw errors::CommentNotClosed(input_.size());
  if (!SameTextAscii(input_.substr(pos_, kKeyword.size()), kKeyword)) {
    throw errors::BadHeaderOpening(kKeyword, TextAt(start, kKeyword.size()), start);
  }
  pos_ += kKeyword.size();
  const std::size_t body = pos_;
  std::size_t subsetDepth = 0;
  for (; pos_ < input_.size(); ++pos_) {
    const char c = input_[pos_];
    if (c == '[') ++subsetDepth;
    if (c == ']' && subsetDepth > 0) --subsetDepth;
    if (c == '>' && subsetDepth == 0) {
      target_.docType = Keep(SanitizeUtf8(input_.substr(body, pos_ - body)));
      ++pos_;
      return;
    }
  }
  throw errors::CommentNotClosed(input_.size());
}

// Only the root element is read; whatever follows its end is never looked at.
void SimpleXmlParser::ParseRoot() {
  ++pos_;  // "<"
  const std::optional<QualifiedName> name = ReadElementName('>');
  if (!name) return;
  target_.root.SetName(name->local, name->prefix);
  if (ReadTagRest(target_.root) != TagEnd::kContentFollows) return;
  std::vector<OpenElement> open;
  open.push_back({&target_.root, name->text});
  ParseContent(open);
}

// The content of the open elements, the innermost last, until the root's end
// tag or the end of the input. An explicit stack keeps deep nesting off the
// call stack.
void SimpleXmlParser::ParseContent(std::vector<OpenElement>& open) {
  while (!open.empty()) {
    TJclSimpleXMLElem& parent = *open.back().element;
    bool more = true;
    if (AtEnd()) {
      more = false;
    } else if (input_[pos_] != '<') {
      ParseText(parent);
    } else if (StartsWith("</")) {
      more = ParseEndTag(open.back());
      if (more) {
        CloseElement(parent);
        open.pop_back();
      }
    } else if (StartsWith("<![")) {
      parent.Items().Add(ReadCData());
    } else if (StartsWith("<!")) {
      parent.Items().Add(ReadComment());
    } else if (StartsWith("<?")) {
      parent.Items().Add(ReadProcessingInstruction());
    } else {
      more = ParseChildElement(open);
    }
    if (!more) {
      CloseAll(open);
      return;
    }
  }
}

// A child element's start tag; an element with content joins the open ones.
// False when the input ends inside the tag.
bool SimpleXmlParser::ParseChildElement(std::vector<OpenElement>& open) {
  if (open.size() >= kMaxDepth) throw errors::NestingTooDeep(kMaxDepth, pos_);
  ++pos_;  // "<"
  std::optional<QualifiedName> name = ReadElementName('>');
  if (!name) return false;
  TJclSimpleXMLElem& child = open.back().element->Items().Add(
      NewNode<TJclSimpleXMLElemClassic>(name->local, name->prefix));
  switch (ReadTagRest(child)) {
    case TagEnd::kContentFollows:
      open.push_back({&child, name->text});
      return true;
    case TagEnd::kEmptyElement:
      return true;
    case TagEnd::kEndOfInput:
      return false;
  }
  return false;
}

// "</" name, optional white space, ">". False when the input ends inside it.
bool SimpleXmlParser::ParseEndTag(const OpenElement& element) {
  const std::size_t start = pos_;
  pos_ += 2;
  const std::size_t nameStart = pos_;
  while (!AtEnd() && input_[pos_] != '>') {
    std::size_t length = 0;
    if (IsWhiteSpace(PeekCodePoint(length))) break;
    pos_ += length;
  }
  if (AtEnd()) return false;
  const std::string_view name = input_.substr(nameStart, pos_ - nameStart);
  if (!EndTagMatches(element.qualifiedName, name)) {
    throw errors::WrongEndTag(element.qualifiedName, SanitizeUtf8(name), start);
  }
  SkipWhiteSpace();
  if (AtEnd()) return false;
  if (input_[pos_] != '>') throw errors::ExpectedEndOfTag(CharacterAt(pos_), pos_);
  ++pos_;
  return true;
}

// A run of text up to the next "<". A run of white space only is dropped.
void SimpleXmlParser::ParseText(TJclSimpleXMLElem& parent) {
  const std::size_t end = std::min(input_.find('<', pos_), input_.size());
  const std::string_view raw = input_.substr(pos_, end - pos_);
  pos_ = end;
  const SimpleXmlOptions& options = target_.options;
  if (!options.Contains(sxoKeepWhitespace) && IsAllWhiteSpace(raw)) return;
  const std::string_view trimmed =
      Trim(DecodeText(raw), options.Contains(sxoTrimPrecedingTextWhitespace),
           options.Contains(sxoTrimFollowingTextWhitespace));
  parent.Items().Add(NewNode<TJclSimpleXMLElemText>(trimmed));
}

// ---- Markup items ----------------------------------------------------------

// An element or instruction name at the cursor: name characters with at most
// one ":" between a prefix and a local name, ended by white space, "/" or the
// terminator. Nothing when the input ends inside it.
std::optional<SimpleXmlParser::QualifiedName> SimpleXmlParser::ReadElementName(
    char32_t terminator) {
  const std::size_t start = pos_;
  std::size_t colon = std::string_view::npos;
  for (;;) {
    if (AtEnd()) return std::nullopt;
    if (IsAsciiNameByte(static_cast<unsigned char>(input_[pos_]))) {
      ++pos_;
      continue;
    }
    std::size_t length = 0;
    const char32_t c = PeekCodePoint(length);
    if (IsWhiteSpace(c) || c == '/' || c == terminator) break;
    const bool secondColon = c == ':' && colon != std::string_view::npos;
    if (secondColon || (c != ':' && !IsNameCharacter(c))) throw errors::MalformedTag(pos_);
    if (c == ':') colon = pos_;
    pos_ += length;
  }
  QualifiedName name;
  name.text = input_.substr(start, pos_ - start);
  if (colon == std::string_view::npos) {
    name.local = name.text;
  } else {
    name.prefix = name.text.substr(0, colon - start);
    name.local = name.text.substr(colon - start + 1);
    if (name.prefix.empty()) throw errors::MalformedTag(start);
  }
  if (name.local.empty()) throw errors::MalformedTag(pos_);
  return name;
}

// The attributes after an element's name up to the end of its start tag.
SimpleXmlParser::TagEnd SimpleXmlParser::ReadTagRest(TJclSimpleXMLElem& element) {
  for (;;) {
    const bool separated = SkipWhiteSpace();
    if (AtEnd()) return TagEnd::kEndOfInput;
    if (input_[pos_] == '>') {
      ++pos_;
      return TagEnd::kContentFollows;
    }
    if (input_[pos_] == '/') {
      if (pos_ + 1 >= input_.size()) return TagEnd::kEndOfInput;
      if (input_[pos_ + 1] != '>') throw errors::ExpectedEndOfTag(CharacterAt(pos_ + 1), pos_ + 1);
      pos_ += 2;
      return TagEnd::kEmptyElement;
    }
    if (!separated) throw errors::ExpectedEndOfTag(CharacterAt(pos_), pos_);
    if (!ReadProperty(element.Properties())) return TagEnd::kEndOfInput;
  }
}

// name = "value" or name = 'value'. Every ":" in the name makes what precedes
// it the prefix. False, with nothing added, when the input ends inside it.
bool SimpleXmlParser::ReadProperty(XmlPropertyList& properties) {
  const std::size_t start = pos_;
  std::size_t length = 0;
  if (!IsPropertyNameStart(PeekCodePoint(length))) {
    throw errors::BadPropertyCharacter(CharacterAt(pos_), pos_);
  }
  for (;;) {
    if (AtEnd()) return false;
    if (IsAsciiNameByte(static_cast<unsigned char>(input_[pos_]))) {
      ++pos_;
      continue;
    }
    const char32_t c = PeekCodePoint(length);
    if (IsWhiteSpace(c) || c == '=') break;
    if (c != ':' && !IsNameCharacter(c))
      throw errors::BadPropertyCharacter(CharacterAt(pos_), pos_);
    pos_ += length;
  }
  const std::string_view name = input_.substr(start, pos_ - start);
  SkipWhiteSpace();
  if (AtEnd()) return false;
  if (input_[pos_] != '=') throw errors::BadPropertyCharacter(CharacterAt(pos_), pos_);
  ++pos_;
  SkipWhiteSpace();
  if (AtEnd()) return false;
  const char quote = input_[pos_];
  if (quote != '"' && quote != '\'') {
    throw errors::PropertyValueWithoutQuote(CharacterAt(pos_), pos_);
  }
  const std::size_t close = input_.find(quote, pos_ + 1);
  if (close == std::string_view::npos) return false;
  const std::string_view raw = input_.substr(pos_ + 1, close - pos_ - 1);
  pos_ = close + 1;

  const std::size_t colon = name.rfind(':');
  const std::string_view prefix = colon == std::string_view::npos ? "" : name.substr(0, colon);
  const std::string_view local = colon == std::string_view::npos ? name : name.substr(colon + 1);
  properties.Add(local, prefix, DecodeText(raw));
  return true;
}

// "<!--" ... "-->"; the text inside is kept as written and may not hold "--".
TJclSimpleXMLElem& SimpleXmlParser::ReadComment() {
  static constexpr std::string_view kOpening = "<!--";
  const std::size_t start = pos_;
  if (IsTruncatedOpening(kOpening)) throw errors::CommentNotClosed(input_.size());
  if (!StartsWith(kOpening)) {
    throw errors::BadCommentOpening(kOpening, TextAt(start, kOpening.size()), start);
  }
  const std::size_t body = start + kOpening.size();
  const std::size_t hyphens = input_.find("--", body);
  if (hyphens == std::string_view::npos || hyphens + 2 >= input_.size()) {
    throw errors::CommentNotClosed(input_.size());
  }
  if (input_[hyphens + 2] != '>') throw errors::DoubleHyphenInComment(hyphens);
  pos_ = hyphens + 3;
  return NewNode<TJclSimpleXMLElemComment>(Keep(SanitizeUtf8(input_.substr(body, hyphens - body))));
}

// "<![CDATA[" ... "]]>"; the text inside is kept as written, not decoded.
TJclSimpleXMLElem& SimpleXmlParser::ReadCData() {
  static constexpr std::string_view kOpening = "<![CDATA[";
  const std::size_t start = pos_;
  if (IsTruncatedOpening(kOpening)) throw errors::CDataNotClosed(input_.size());
  if (!StartsWith(kOpening)) {
    throw errors::BadCDataOpening(kOpening, TextAt(start, kOpening.size()), start);
  }
  const std::size_t body = start + kOpening.size();
  const std::size_t close = input_.find("]]>", body);
  if (close == std::string_view::npos) throw errors::CDataNotClosed(input_.size());
  pos_ = close + 3;
  return NewNode<TJclSimpleXMLElemCData>(Keep(SanitizeUtf8(input_.substr(body, close - body))));
}

// "<?" target, attributes, "?>".
TJclSimpleXMLElem& SimpleXmlParser::ReadProcessingInstruction() {
  pos_ += 2;
  const std::optional<QualifiedName> target = ReadElementName('?');
  if (!target) throw errors::CommentNotClosed(input_.size());
  auto& instruction =
      NewNode<TJclSimpleXMLElemProcessingInstruction>(target->local, target->prefix);
  for (;;) {
    const bool separated = SkipWhiteSpace();
    if (AtEnd()) throw errors::CommentNotClosed(input_.size());
    if (input_[pos_] == '?') {
      if (pos_ + 1 >= input_.size()) throw errors::CommentNotClosed(input_.size());
      if (input_[pos_ + 1] != '>') throw errors::ExpectedEndOfTag(CharacterAt(pos_ + 1), pos_ + 1);
      pos_ += 2;
      return instruction;
    }
    if (!separated) throw errors::ExpectedEndOfTag(CharacterAt(pos_), pos_);
    if (!ReadProperty(instruction.Properties())) throw errors::CommentNotClosed(input_.size());
  }
}

// ---- The tree's memory ------------------------------------------------------

// A node made in the arena; the texts must live there too.
template <typename Node, typename... Texts>
Node& SimpleXmlParser::NewNode(Texts... texts) const {
  return *std::pmr::polymorphic_allocator<>(&target_.arena)
              .new_object<Node>(target_.options, target_.arena, texts...);
}

// A copy in the arena of a text made during the parse.
std::string_view SimpleXmlParser::Keep(std::string_view text) const {
  return CopyToArena(target_.arena, text);
}

// ---- Decoding of text ------------------------------------------------------

// Text and attribute values as the document's options want them: references
// decoded once, ill-formed UTF-8 replaced. Most texts need neither, and stay
// views of the input.
std::string_view SimpleXmlParser::DecodeText(std::string_view raw) const {
  const bool decodeReferences =
      target_.options.Contains(sxoAutoEncodeValue) && raw.find('&') != std::string_view::npos;
  const bool ascii = IsAscii(raw);
  if (ascii && !decodeReferences) return raw;
  const std::string text = ascii ? std::string(raw) : SanitizeUtf8(raw);
  return Keep(decodeReferences ? DecodeReferences(text) : text);
}

// An element whose content is one text run and nothing else takes that text
// as its value and keeps no children.
void SimpleXmlParser::CloseElement(TJclSimpleXMLElem& element) const {
  XmlNodeList& items = element.Items();
  if (items.Count() != 1 || !IsTextNode(items.GetItem(0))) return;
  const std::string_view text = items.GetItem(0).Value();
  items.Clear();
  element.SetValue(text);
}

// The input ended inside the tree: every open element keeps what it has.
void SimpleXmlParser::CloseAll(std::vector<OpenElement>& open) const {
  while (!open.empty()) {
    CloseElement(*open.back().element);
    open.pop_back();
  }
}

// ---- The cursor ------------------------------------------------------------

char32_t SimpleXmlParser::PeekCodePoint(std::size_t& length) const {
  // Markup is almost all ASCII, which is its own code point.
  const auto lead = static_cast<unsigned char>(input_[pos_]);
  if (lead < 0x80) {
    length = 1;
    return lead;
  }
  std::size_t next = pos_;
  const char32_t c = NextUtf8CodePoint(input_, next);
  length = next - pos_;
  return c;
}

// Moves past white space; true when there was any.
bool SimpleXmlParser::SkipWhiteSpace() {
  const std::size_t start = pos_;
  while (!AtEnd()) {
    const auto lead = static_cast<unsigned char>(input_[pos_]);
    if (lead < 0x80) {
      if (!IsWhiteSpace(lead)) break;
      ++pos_;
      continue;
    }
    std::size_t length = 0;
    if (!IsWhiteSpace(PeekCodePoint(length))) break;
    pos_ += length;
  }
  return pos_ != start;
}

// The character at a position, for messages.
std::string SimpleXmlParser::CharacterAt(std::size_t position) const { return TextAt(position, 1); }

// Up to the given number of characters from a position, for messages.
std::string SimpleXmlParser::TextAt(std::size_t position, std::size_t codePoints) const {
  std::string out;
  for (std::size_t i = 0; i < codePoints && position < input_.size(); ++i) {
    AppendUtf8(out, NextUtf8CodePoint(input_, position));
  }
  return out;
}

// Whether the input ends after a beginning of the opening, so that the
// opening could only have been completed by more input.
bool SimpleXmlParser::IsTruncatedOpening(std::string_view opening) const {
  const std::string_view rest = input_.substr(pos_);
  return rest.size() < opening.size() && SameTextAscii(opening.substr(0, rest.size()), rest);
}

}  // namespace quill
