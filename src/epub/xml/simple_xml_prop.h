#pragma once

#include <string_view>

namespace quill {

// One attribute of an XML node: its local name, its namespace prefix (empty
// when the name has none) and its decoded value. The texts live in the arena
// of the owning document, as the attribute itself does.
class TJclSimpleXMLProp {
 public:
  TJclSimpleXMLProp(std::string_view name, std::string_view nameSpace, std::string_view value)
      : name_(name), nameSpace_(nameSpace), value_(value) {}

  std::string_view Name() const { return name_; }
  std::string_view NameSpace() const { return nameSpace_; }
  std::string_view Value() const { return value_; }

 private:
  std::string_view name_;
  std::string_view nameSpace_;
  std::string_view value_;
};

}  // namespace quill
