#pragma once

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <string_view>

#include "base/memory_stream.h"
#include "epub/xml/simple_xml_elem.h"
#include "epub/xml/simple_xml_options.h"
#include "epub/xml/xml_node_list.h"

namespace quill {

// An XML document: its prolog and its root element, parsed from UTF-8 bytes.
// It is a small reading model for the package documents of a book: it does
// not validate, does not resolve namespaces beyond splitting names at their
// colon, does not read DTDs and keeps text as written (line breaks and
// surrounding blanks included). Nodes refer to the document's options and
// live in its arena, so a document stays where it was created.
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
  std::string_view DocType() const { return docType_; }

  // Parses the stream from its position to its end, which becomes its new
  // position. The root's name, value, children and attributes and the prolog
  // are cleared first. Input that ends before the root is closed keeps what
  // was read, without error. A malformed document raises EJclSimpleXMLError
  // (EJclCharsetError for an unknown declared character set) and leaves what
  // was built before the error. The bytes are read as UTF-8 whatever the
  // encoding; a UTF-8 byte-order mark is skipped. Every node of the previous
  // tree is gone, references to the root and the prolog lists excepted.
  void LoadFromStream(MemoryStream& stream, SimpleXmlEncoding encoding);

 private:
  // Enough for the tree of a package document of a few hundred entries.
  static constexpr std::size_t kFirstArenaBlock = 64 * 1024;

  SimpleXmlOptions options_;  // first: the nodes below refer to it
  // The memory of the tree: a copy of the input, which names and plain texts
  // view, the decoded texts, the nodes, attributes and lists. The package
  // reader parses six small documents per book, each building a tree of a few
  // hundred nodes and attributes that lives until the next parse: handing that
  // memory out from one block and taking it all back at once keeps the heap
  // out of the parse, which would otherwise spend most of its time allocating
  // and freeing. Nothing in the tree owns a resource outside the arena, so
  // nodes are not destroyed one by one.
  std::unique_ptr<std::byte[]> firstArenaBlock_;
  std::pmr::monotonic_buffer_resource arena_;
  XmlNodeList prolog_;
  std::string_view docType_;
  TJclSimpleXMLElemClassic root_;
};

}  // namespace quill
