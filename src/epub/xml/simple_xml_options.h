#pragma once

#include <cstdint>
#include <initializer_list>

namespace quill {

// The settings of an XML document. Only some of them concern reading:
// sxoAutoCreate (lookups by name create what they miss), sxoAutoEncodeValue
// (references in text and attribute values are decoded), sxoTrimPreceding/
// FollowingTextWhitespace, sxoKeepWhitespace and sxoCaseSensitive (element
// lookups compare names exactly). The others concern writing, which the
// system never does; they are kept so a document states its full setting.
enum SimpleXmlOption : std::uint8_t {
  sxoAutoCreate,
  sxoAutoIndent,
  sxoAutoEncodeValue,
  sxoAutoEncodeEntity,
  sxoDoNotSaveProlog,
  sxoTrimPrecedingTextWhitespace,
  sxoTrimFollowingTextWhitespace,
  sxoKeepWhitespace,
  sxoDoNotSaveBOM,
  sxoCaseSensitive,
};

// The text encoding a document is read in. The model reads UTF-8 whatever
// the caller names; the system always names seUTF8.
enum SimpleXmlEncoding : std::uint8_t { seAnsi, seUTF8, seUTF16, seAuto };

// A set of SimpleXmlOption members.
class SimpleXmlOptions {
 public:
  SimpleXmlOptions() = default;
  SimpleXmlOptions(std::initializer_list<SimpleXmlOption> options) {
    for (const SimpleXmlOption option : options) Include(option);
  }

  bool Contains(SimpleXmlOption option) const { return (bits_ & Bit(option)) != 0; }
  void Include(SimpleXmlOption option) { bits_ |= Bit(option); }
  void Exclude(SimpleXmlOption option) { bits_ &= static_cast<std::uint16_t>(~Bit(option)); }

  friend bool operator==(const SimpleXmlOptions&, const SimpleXmlOptions&) = default;

 private:
  static std::uint16_t Bit(SimpleXmlOption option) {
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(option));
  }

  std::uint16_t bits_ = 0;
};

}  // namespace quill
