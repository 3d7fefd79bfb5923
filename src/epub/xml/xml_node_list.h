#pragma once

#include <cstddef>
#include <memory_resource>
#include <string_view>
#include <vector>

#include "epub/xml/simple_xml_options.h"

namespace quill {

class TJclSimpleXMLElem;

// The children of one XML node, in document order. The children live in the
// document's arena and are held by pointer, so a reference to one stays valid
// while others are appended, until the document parses again.
class XmlNodeList {
 public:
  // The document's options decide how lookups by name compare and whether they
  // create what they miss; they and the arena must outlive the list.
  XmlNodeList(const SimpleXmlOptions& options, std::pmr::memory_resource& arena)
      : options_(&options), items_(&arena) {}

  std::size_t Count() const { return items_.size(); }

  // The child at a 0-based index; EJclSimpleXMLError when out of range.
  TJclSimpleXMLElem& GetItem(std::size_t index) const;

  // The last child whose local name equals name, ignoring the letter case of
  // A to Z only (exactly with sxoCaseSensitive). When none does and the
  // document auto-creates, an empty element of that name is appended and
  // returned, so later walks see it; otherwise EJclSimpleXMLError.
  TJclSimpleXMLElem& GetItemNamed(std::string_view name);

  // Appends a child and returns it. The child must live in the document's
  // arena.
  TJclSimpleXMLElem& Add(TJclSimpleXMLElem& item);

  // Empties the list; the children stay in the arena until the next parse.
  void Clear() { items_.clear(); }

  // Empties the list and lets go of its storage, before the document rewinds
  // the arena that holds it.
  void Release();

 private:
  static constexpr std::size_t kFirstCapacity = 4;

  std::pmr::memory_resource& Arena() const { return *items_.get_allocator().resource(); }

  const SimpleXmlOptions* options_;
  std::pmr::vector<TJclSimpleXMLElem*> items_;
};

}  // namespace quill
