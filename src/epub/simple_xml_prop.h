#pragma once

#include <string>

namespace quill {

// One attribute of an XML node: its local name, its namespace prefix (empty
// when the name has none) and its decoded value.
class TJclSimpleXMLProp {
 public:
  TJclSimpleXMLProp(std::string name, std::string nameSpace, std::string value)
      : name_(std::move(name)), nameSpace_(std::move(nameSpace)), value_(std::move(value)) {}

  const std::string& Name() const { return name_; }
  const std::string& NameSpace() const { return nameSpace_; }
  const std::string& Value() const { return value_; }
  void SetValue(std::string value) { value_ = std::move(value); }

 private:
  std::string name_;
  std::string nameSpace_;
  std::string value_;
};

}  // namespace quill
