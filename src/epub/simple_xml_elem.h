#pragma once

// The nodes of an XML tree: elements, text, CDATA sections, comments and
// processing instructions under their common base.

#include <cstddef>
#include <string>

#include "epub/simple_xml_options.h"
#include "epub/xml_node_list.h"
#include "epub/xml_property_list.h"

namespace quill {

// A node of an XML tree. Every node has a local name, a namespace prefix and a
// value, and owns its children (Items) and attributes (Properties). Parsing
// gives children and attributes only to elements (and attributes to
// processing instructions), but lookups by name may add them to any node.
class TJclSimpleXMLElem {
 public:
  virtual ~TJclSimpleXMLElem() = default;
  TJclSimpleXMLElem(const TJclSimpleXMLElem&) = delete;
  TJclSimpleXMLElem& operator=(const TJclSimpleXMLElem&) = delete;

  // The local name: the part after the colon.
  const std::string& Name() const { return name_; }
  // The prefix: the part before the colon; empty when the name has none.
  const std::string& NameSpace() const { return nameSpace_; }
  void SetName(std::string name, std::string nameSpace) {
    name_ = std::move(name);
    nameSpace_ = std::move(nameSpace);
  }

  const std::string& Value() const { return value_; }
  void SetValue(std::string value) { value_ = std::move(value); }

  XmlNodeList& Items() { return items_; }
  const XmlNodeList& Items() const { return items_; }
  XmlPropertyList& Properties() { return properties_; }
  const XmlPropertyList& Properties() const { return properties_; }
  // The number of attributes; unlike a lookup, it never creates one.
  std::size_t PropertyCount() const { return properties_.Count(); }

 protected:
  // The options are the owning document's and must outlive the node.
  TJclSimpleXMLElem(const SimpleXmlOptions& options, std::string name, std::string nameSpace,
                    std::string value)
      : name_(std::move(name)),
        nameSpace_(std::move(nameSpace)),
        value_(std::move(value)),
        items_(options),
        properties_(options) {}

 private:
  std::string name_;
  std::string nameSpace_;
  std::string value_;
  XmlNodeList items_;
  XmlPropertyList properties_;
};

// An element. Its value is its text when its content is one text run and
// nothing else; otherwise the value is empty and the content is its children.
class TJclSimpleXMLElemClassic final : public TJclSimpleXMLElem {
 public:
  TJclSimpleXMLElemClassic(const SimpleXmlOptions& options, std::string name,
                           std::string nameSpace = {})
      : TJclSimpleXMLElem(options, std::move(name), std::move(nameSpace), {}) {}
};

// A run of text between markup, references decoded. It has no name.
class TJclSimpleXMLElemText final : public TJclSimpleXMLElem {
 public:
  TJclSimpleXMLElemText(const SimpleXmlOptions& options, std::string text)
      : TJclSimpleXMLElem(options, {}, {}, std::move(text)) {}
};

// A CDATA section; its value is the raw text inside, not decoded.
class TJclSimpleXMLElemCData final : public TJclSimpleXMLElem {
 public:
  TJclSimpleXMLElemCData(const SimpleXmlOptions& options, std::string text)
      : TJclSimpleXMLElem(options, {}, {}, std::move(text)) {}
};

// A comment; its value is the raw text inside.
class TJclSimpleXMLElemComment final : public TJclSimpleXMLElem {
 public:
  TJclSimpleXMLElemComment(const SimpleXmlOptions& options, std::string text)
      : TJclSimpleXMLElem(options, {}, {}, std::move(text)) {}
};

// A processing instruction: named after its target, with the attributes that
// follow the target and an empty value.
class TJclSimpleXMLElemProcessingInstruction final : public TJclSimpleXMLElem {
 public:
  TJclSimpleXMLElemProcessingInstruction(const SimpleXmlOptions& options, std::string target,
                                         std::string nameSpace = {})
      : TJclSimpleXMLElem(options, std::move(target), std::move(nameSpace), {}) {}
};

}  // namespace quill
