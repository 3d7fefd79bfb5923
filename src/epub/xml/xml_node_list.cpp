#include "epub/xml/xml_node_list.h"

#include "base/text.h"
#include "epub/xml/simple_xml_elem.h"
#include "epub/xml/simple_xml_errors.h"
#include "epub/xml/xml_arena.h"

namespace quill {

TJclSimpleXMLElem& XmlNodeList::GetItem(std::size_t index) const {
  if (index >= items_.size()) throw simple_xml_errors::IndexOutOfRange(index, items_.size());
  return *items_[index];
}

TJclSimpleXMLElem& XmlNodeList::GetItemNamed(std::string_view name) {
  const bool caseSensitive = options_->Contains(sxoCaseSensitive);
  TJclSimpleXMLElem* found = nullptr;
  for (TJclSimpleXMLElem* item : items_) {
    const bool same = caseSensitive ? item->Name() == name : SameTextAscii(item->Name(), name);
    if (same) found = item;
  }
  if (found) return *found;
  if (!options_->Contains(sxoAutoCreate)) throw simple_xml_errors::NoElementNamed(name);
  return Add(*std::pmr::polymorphic_allocator<>(&Arena()).new_object<TJclSimpleXMLElemClassic>(
      *options_, Arena(), CopyToArena(Arena(), name)));
}

TJclSimpleXMLElem& XmlNodeList::Add(TJclSimpleXMLElem& item) {
  // Most elements of a package document hold a few children: one allocation
  // holds them instead of one per doubling.
  if (items_.empty()) items_.reserve(kFirstCapacity);
  items_.push_back(&item);
  return item;
}

void XmlNodeList::Release() {
  std::pmr::vector<TJclSimpleXMLElem*>(items_.get_allocator()).swap(items_);
}

}  // namespace quill
