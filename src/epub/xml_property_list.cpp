#include "epub/xml_property_list.h"

#include "base/text.h"
#include "epub/simple_xml_errors.h"
#include "epub/xml_arena.h"

namespace quill {
namespace {

// Names compare ignoring letter case beyond ASCII too; two ASCII names, by
// far the usual case, fold the same way on the short path.
bool SameName(std::string_view a, std::string_view b) {
  if (IsAscii(a) && IsAscii(b)) return SameTextAscii(a, b);
  return SameTextUnicode(a, b);
}

}  // namespace

TJclSimpleXMLProp& XmlPropertyList::GetItem(std::size_t index) const {
  if (index >= properties_.size()) {
    throw simple_xml_errors::IndexOutOfRange(index, properties_.size());
  }
  return *properties_[index];
}

TJclSimpleXMLProp& XmlPropertyList::GetItemNamed(std::string_view name) {
  for (TJclSimpleXMLProp* property : properties_) {
    if (SameName(property->Name(), name)) return *property;
  }
  if (!options_->Contains(sxoAutoCreate)) throw simple_xml_errors::NoPropertyNamed(name);
  return Add(CopyToArena(Arena(), name), {}, {});
}

TJclSimpleXMLProp& XmlPropertyList::Add(std::string_view name, std::string_view nameSpace,
                                        std::string_view value) {
  // Most elements of a package document carry a few attributes: one
  // allocation holds them instead of one per doubling.
  if (properties_.empty()) properties_.reserve(kFirstCapacity);
  auto* property = std::pmr::polymorphic_allocator<>(&Arena()).new_object<TJclSimpleXMLProp>(
      name, nameSpace, value);
  properties_.push_back(property);
  return *property;
}

void XmlPropertyList::Release() {
  std::pmr::vector<TJclSimpleXMLProp*>(properties_.get_allocator()).swap(properties_);
}

}  // namespace quill
