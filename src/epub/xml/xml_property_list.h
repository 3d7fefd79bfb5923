#pragma once

#include <cstddef>
#include <memory_resource>
#include <string_view>
#include <vector>

#include "epub/xml/simple_xml_options.h"
#include "epub/xml/simple_xml_prop.h"

namespace quill {

// The attributes of one XML node, in document order; duplicates are kept.
// The attributes live in the document's arena and are held by pointer, so a
// reference to one stays valid while lookups append others.
class XmlPropertyList {
 public:
  // The document's options decide whether a lookup creates what it misses;
  // they and the arena must outlive the list.
  XmlPropertyList(const SimpleXmlOptions& options, std::pmr::memory_resource& arena)
      : options_(&options), properties_(&arena) {}

  std::size_t Count() const { return properties_.size(); }

  // The attribute at a 0-based index; EJclSimpleXMLError when out of range.
  TJclSimpleXMLProp& GetItem(std::size_t index) const;

  // The first attribute whose local name equals name, ignoring letter case
  // beyond ASCII too. When none does and the document auto-creates, an empty
  // attribute of that name is appended and returned, so later walks see it;
  // otherwise EJclSimpleXMLError.
  TJclSimpleXMLProp& GetItemNamed(std::string_view name);

  // Appends an attribute and returns it. The texts must live in the
  // document's arena (or be static).
  TJclSimpleXMLProp& Add(std::string_view name, std::string_view nameSpace, std::string_view value);

  // Empties the list and lets go of its storage, before the document rewinds
  // the arena that holds it.
  void Release();

 private:
  static constexpr std::size_t kFirstCapacity = 4;

  std::pmr::memory_resource& Arena() const { return *properties_.get_allocator().resource(); }

  const SimpleXmlOptions* options_;
  std::pmr::vector<TJclSimpleXMLProp*> properties_;
};

}  // namespace quill
