#include "epub/xml/xml_property_list.h"

#include <algorithm>

#include "base/text.h"
#include "epub/xml/simple_xml_errors.h"
#include "epub/xml/xml_arena.h"

namespace quill {
namespace {

unsigned char UpperAsciiByte(unsigned char c) {
  return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c;
}

// Names compare ignoring letter case beyond ASCII too. Up to the first byte
// beyond ASCII both names are single-byte characters in step, so an ASCII
// difference there decides; two ASCII names, by far the usual case, never
// need the long path.
bool SameName(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x >= 0x80 || y >= 0x80) return SameTextUnicode(a, b);
    if (x != y && UpperAsciiByte(x) != UpperAsciiByte(y)) return false;
  }
  // An ASCII prefix equal to the whole of the shorter name: more characters follow in the longer.
  return a.size() == b.size();
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
