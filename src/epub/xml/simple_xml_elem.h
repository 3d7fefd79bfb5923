#pragma once

// The nodes of an XML tree: elements, text, CDATA sections, comments and
// processing instructions under their common base.

#include <cstddef>
#include <memory_resource>
#include <string_view>

#include "epub/xml/simple_xml_options.h"
#include "epub/xml/xml_node_list.h"
#include "epub/xml/xml_property_list.h"

namespace quill {

// A node of an XML tree. Every node has a local name, a namespace prefix and a
// value, and holds its children (Items) and attributes (Properties). Parsing
// gives children and attributes only to elements (and attributes to
// processing instructions), but lookups by name may add them to any node.
//
// A node, its texts, its lists and everything below it live in the arena of
// the owning document (TJvSimpleXML), which keeps them until the next parse
// rewinds it; nodes are never destroyed one by one.
class TJclSimpleXMLElem {
 public:
  virtual ~TJclSimpleXMLElem() = default;
  TJclSimpleXMLElem(const TJclSimpleXMLElem&) = delete;
  TJclSimpleXMLElem& operator=(const TJclSimpleXMLElem&) = delete;

  // The local name: the part after the colon.
  std::string_view Name() const { return name_; }
  // The prefix: the part before the colon; empty when the name has none.
  std::string_view NameSpace() const { return nameSpace_; }
  std::string_view Value() const { return value_; }

  // The texts must live in the document's arena (or be static).
  void SetName(std::string_view name, std::string_view nameSpace) {
    name_ = name;
    nameSpace_ = nameSpace;
  }
  void SetValue(std::string_view value) { value_ = value; }

  XmlNodeList& Items() { return items_; }
  const XmlNodeList& Items() const { return items_; }
  XmlPropertyList& Properties() { return properties_; }
  const XmlPropertyList& Properties() const { return properties_; }
  // The number of attributes; unlike a lookup, it never creates one.
  std::size_t PropertyCount() const { return properties_.Count(); }

 protected:
  // The options and the arena are the owning document's and must outlive the
  // node; the texts must live in the arena (or be static).
  TJclSimpleXMLElem(const SimpleXmlOptions& options, std::pmr::memory_resource& arena,
                    std::string_view name, std::string_view nameSpace, std::string_view value)
      : name_(name),
        nameSpace_(nameSpace),
        value_(value),
        items_(options, arena),
        properties_(options, arena) {}

 private:
  std::string_view name_;
  std::string_view nameSpace_;
  std::string_view value_;
  XmlNodeList items_;
  XmlPropertyList properties_;
};

// An element. Its value is its text when its content is one text run and
// nothing else; otherwise the value is empty and the content is its children.
class TJclSimpleXMLElemClassic final : public TJclSimpleXMLElem {
 public:
  TJclSimpleXMLElemClassic(const SimpleXmlOptions& options, std::pmr::memory_resource& arena,
                           std::string_view name, std::string_view nameSpace = {})
      : TJclSimpleXMLElem(options, arena, name, nameSpace, {}) {}
};

// A run of text between markup, references decoded. It has no name.
class TJclSimpleXMLElemText final : public TJclSimpleXMLElem {
 public:
  TJclSimpleXMLElemText(const SimpleXmlOptions& options, std::pmr::memory_resource& arena,
                        std::string_view text)
      : TJclSimpleXMLElem(options, arena, {}, {}, text) {}
};

// A CDATA section; its value is the raw text inside, not decoded.
class TJclSimpleXMLElemCData final : public TJclSimpleXMLElem {
 public:
  TJclSimpleXMLElemCData(const SimpleXmlOptions& options, std::pmr::memory_resource& arena,
                         std::string_view text)
      : TJclSimpleXMLElem(options, arena, {}, {}, text) {}
};

// A comment; its value is the raw text inside.
class TJclSimpleXMLElemComment final : public TJclSimpleXMLElem {
 public:
  TJclSimpleXMLElemComment(const SimpleXmlOptions& options, std::pmr::memory_resource& arena,
                           std::string_view text)
      : TJclSimpleXMLElem(options, arena, {}, {}, text) {}
};

// A processing instruction: named after its target, with the attributes that
// follow the target and an empty value.
class TJclSimpleXMLElemProcessingInstruction final : public TJclSimpleXMLElem {
 public:
  TJclSimpleXMLElemProcessingInstruction(const SimpleXmlOptions& options,
                                         std::pmr::memory_resource& arena, std::string_view target,
                                         std::string_view nameSpace = {})
      : TJclSimpleXMLElem(options, arena, target, nameSpace, {}) {}
};

}  // namespace quill
