#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "epub/simple_xml_options.h"
#include "epub/simple_xml_prop.h"

namespace quill {

// The attributes of one XML node, in document order; duplicates are kept.
// Attributes are held by pointer, so a reference to one stays valid while
// lookups append others.
class XmlPropertyList {
 public:
  // The document's options decide whether a lookup creates what it misses;
  // they must outlive the list.
  explicit XmlPropertyList(const SimpleXmlOptions& options) : options_(&options) {}

  std::size_t Count() const { return properties_.size(); }

  // The attribute at a 0-based index; EJclSimpleXMLError when out of range.
  TJclSimpleXMLProp& GetItem(std::size_t index) const;

  // The first attribute whose local name equals name, ignoring letter case
  // beyond ASCII too. When none does and the document auto-creates, an empty
  // attribute of that name is appended and returned, so later walks see it;
  // otherwise EJclSimpleXMLError.
  TJclSimpleXMLProp& GetItemNamed(std::string_view name);

  // Appends an attribute and returns it.
  TJclSimpleXMLProp& Add(std::string name, std::string nameSpace, std::string value);

  void Clear() { properties_.clear(); }

 private:
  static constexpr std::size_t kFirstCapacity = 4;

  const SimpleXmlOptions* options_;
  std::vector<std::unique_ptr<TJclSimpleXMLProp>> properties_;
};

}  // namespace quill
