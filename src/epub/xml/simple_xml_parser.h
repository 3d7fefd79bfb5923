#pragma once

#include <cstddef>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "epub/xml/simple_xml_elem.h"
#include "epub/xml/simple_xml_options.h"
#include "epub/xml/xml_node_list.h"

namespace quill {

// Reads the UTF-8 text of an XML document into a document's prolog and root,
// in one pass without recursion. Errors carry the byte offset in the input at
// which they were found. The input lives in the document's arena: names and
// plain texts of the tree are views of it, and the nodes and decoded texts are
// made in the same arena.
class SimpleXmlParser {
 public:
  // Elements may nest this deep; a deeper one fails the parse, so neither
  // parsing nor any later walk over the tree can exhaust the stack.
  static constexpr std::size_t kMaxDepth = 1000;

  // Where the parse puts what it reads; the parts start out empty.
  struct Target {
    const SimpleXmlOptions& options;
    std::pmr::memory_resource& arena;
    XmlNodeList& prolog;
    std::string_view& docType;
    TJclSimpleXMLElem& root;
  };

  SimpleXmlParser(std::string_view input, Target target) : input_(input), target_(target) {}

  void Parse();

 private:
  // Views into the input, which outlives the parse.
  struct QualifiedName {
    std::string_view text;  // as written, prefix included
    std::string_view prefix;
    std::string_view local;
  };
  // An element whose end tag is still to come.
  struct OpenElement {
    TJclSimpleXMLElem* element;
    std::string_view qualifiedName;
  };
  enum class TagEnd { kContentFollows, kEmptyElement, kEndOfInput };

  // Document structure.
  bool ParseProlog();
  void ParsePrologInstruction();
  void ParseDocType();
  void ParseRoot();
  void ParseContent(std::vector<OpenElement>& open);
  bool ParseChildElement(std::vector<OpenElement>& open);
  bool ParseEndTag(const OpenElement& element);
  void ParseText(TJclSimpleXMLElem& parent);

  // Markup items.
  std::optional<QualifiedName> ReadElementName(char32_t terminator);
  TagEnd ReadTagRest(TJclSimpleXMLElem& element);
  bool ReadProperty(XmlPropertyList& properties);
  TJclSimpleXMLElem& ReadComment();
  TJclSimpleXMLElem& ReadCData();
  TJclSimpleXMLElem& ReadProcessingInstruction();

  // The tree's memory.
  template <typename Node, typename... Texts>
  Node& NewNode(Texts... texts) const;
  std::string_view Keep(std::string_view text) const;

  // Decoding of text.
  std::string_view DecodeText(std::string_view raw) const;
  void CloseElement(TJclSimpleXMLElem& element) const;
  void CloseAll(std::vector<OpenElement>& open) const;

  // The cursor.
  bool AtEnd() const { return pos_ >= input_.size(); }
  bool StartsWith(std::string_view text) const { return input_.substr(pos_).starts_with(text); }
  char32_t PeekCodePoint(std::size_t& length) const;
  bool SkipWhiteSpace();
  std::string CharacterAt(std::size_t position) const;
  std::string TextAt(std::size_t position, std::size_t codePoints) const;
  bool IsTruncatedOpening(std::string_view opening) const;

  std::string_view input_;
  Target target_;
  std::size_t pos_ = 0;
};

}  // namespace quill
