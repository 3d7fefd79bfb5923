#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "epub/simple_xml_options.h"

namespace quill {

class TJclSimpleXMLElem;

// The children of one XML node, in document order. The list owns them; they
// are held by pointer, so a reference to one stays valid while others are
// appended.
class XmlNodeList {
 public:
  // The document's options decide how lookups by name compare and whether they
  // create what they miss; they must outlive the list.
  explicit XmlNodeList(const SimpleXmlOptions& options);
  ~XmlNodeList();
  XmlNodeList(const XmlNodeList&) = delete;
  XmlNodeList& operator=(const XmlNodeList&) = delete;

  std::size_t Count() const { return items_.size(); }

  // The child at a 0-based index; EJclSimpleXMLError when out of range.
  TJclSimpleXMLElem& GetItem(std::size_t index) const;

  // The last child whose local name equals name, ignoring the letter case of
  // A to Z only (exactly with sxoCaseSensitive). When none does and the
  // document auto-creates, an empty element of that name is appended and
  // returned, so later walks see it; otherwise EJclSimpleXMLError.
  TJclSimpleXMLElem& GetItemNamed(std::string_view name);

  // Appends a child and returns it.
  TJclSimpleXMLElem& Add(std::unique_ptr<TJclSimpleXMLElem> item);

  void Clear();

 private:
  static constexpr std::size_t kFirstCapacity = 4;

  const SimpleXmlOptions* options_;
  std::vector<std::unique_ptr<TJclSimpleXMLElem>> items_;
};

}  // namespace quill
