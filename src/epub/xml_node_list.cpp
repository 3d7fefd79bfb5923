#include "epub/xml_node_list.h"

#include <string>

#include "base/text.h"
#include "epub/simple_xml_elem.h"
#include "epub/simple_xml_errors.h"

namespace quill {

XmlNodeList::XmlNodeList(const SimpleXmlOptions& options) : options_(&options) {}

XmlNodeList::~XmlNodeList() = default;

TJclSimpleXMLElem& XmlNodeList::GetItem(std::size_t index) const {
  if (index >= items_.size()) throw simple_xml_errors::IndexOutOfRange(index, items_.size());
  return *items_[index];
}

TJclSimpleXMLElem& XmlNodeList::GetItemNamed(std::string_view name) {
  const bool caseSensitive = options_->Contains(sxoCaseSensitive);
  TJclSimpleXMLElem* found = nullptr;
  for (const auto& item : items_) {
    const bool same = caseSensitive ? item->Name() == name : SameTextAscii(item->Name(), name);
    if (same) found = item.get();
  }
  if (found) return *found;
  if (!options_->Contains(sxoAutoCreate)) throw simple_xml_errors::NoElementNamed(name);
  return Add(std::make_unique<TJclSimpleXMLElemClassic>(*options_, std::string(name)));
}

TJclSimpleXMLElem& XmlNodeList::Add(std::unique_ptr<TJclSimpleXMLElem> item) {
  // Most elements of a package document hold a few children: one allocation
  // holds them instead of one per doubling.
  if (items_.empty()) items_.reserve(kFirstCapacity);
  items_.push_back(std::move(item));
  return *items_.back();
}

void XmlNodeList::Clear() { items_.clear(); }

}  // namespace quill
