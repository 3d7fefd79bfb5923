#include "epub/xml_property_list.h"

#include "base/text.h"
#include "epub/simple_xml_errors.h"

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
  for (const auto& property : properties_) {
    if (SameName(property->Name(), name)) return *property;
  }
  if (!options_->Contains(sxoAutoCreate)) throw simple_xml_errors::NoPropertyNamed(name);
  return Add(std::string(name), {}, {});
}

TJclSimpleXMLProp& XmlPropertyList::Add(std::string name, std::string nameSpace,
                                        std::string value) {
  // Most elements of a package document carry a few attributes: one
  // allocation holds them instead of one per doubling.
  if (properties_.empty()) properties_.reserve(kFirstCapacity);
  properties_.push_back(
      std::make_unique<TJclSimpleXMLProp>(std::move(name), std::move(nameSpace), std::move(value)));
  return *properties_.back();
}

}  // namespace quill
