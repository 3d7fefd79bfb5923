#pragma once

#include <string>

#include "base/memory_stream.h"
#include "epub/simple_xml_elem.h"
#include "epub/simple_xml_options.h"
#include "epub/xml_node_list.h"

namespace quill {

// An XML document: its prolog and its root element, parsed from UTF-8 bytes.
// It is a small reading model for the package documents of a book: it does
// not validate, does not resolve namespaces beyond splitting names at their
// colon, does not read DTDs and keeps text as written (line breaks and
// surrounding blanks included). Nodes refer to the document's options, so a
// document stays where it was created.
class TJvSimpleXML {
 public:
  explicit TJvSimpleXML(SimpleXmlOptions options = {});
  TJvSimpleXML(const TJvSimpleXML&) = delete;
  TJvSimpleXML& operator=(const TJvSimpleXML&) = delete;

  // The settings; changes apply to lookups on the tree at once.
  SimpleXmlOptions& Options() { return options_; }

  // The document element of the last parse; it always exists.
  TJclSimpleXMLElemClassic& Root() { return root_; }

  // The declaration, processing instructions and comments before the root,
  // in document order.
  XmlNodeList& Prolog() { return prolog_; }
  // The text of the document type declaration between its keyword and its
  // closing ">", internal subset included; empty when there is none.
  const std::string& DocType() const { return docType_; }

  // Parses the stream from its position to its end, which becomes its new
  // position. The root's name, value, children and attributes and the prolog
  // are cleared first. Input that ends before the root is closed keeps what
  // was read, without error. A malformed document raises EJclSimpleXMLError
  // (EJclCharsetError for an unknown declared character set) and leaves what
  // was built before the error. The bytes are read as UTF-8 whatever the
  // encoding; a UTF-8 byte-order mark is skipped.
  void LoadFromStream(MemoryStream& stream, SimpleXmlEncoding encoding);

 private:
  SimpleXmlOptions options_;  // first: the nodes below refer to it
  XmlNodeList prolog_;
  std::string docType_;
  TJclSimpleXMLElemClassic root_;
};

}  // namespace quill
