#include "epub/simple_xml.h"

#include <string_view>

#include "epub/simple_xml_parser.h"

namespace quill {

TJvSimpleXML::TJvSimpleXML(SimpleXmlOptions options)
    : options_(options), prolog_(options_), root_(options_, {}) {}

void TJvSimpleXML::LoadFromStream(MemoryStream& stream, SimpleXmlEncoding /*encoding*/) {
  root_.SetName({}, {});
  root_.SetValue({});
  root_.Items().Clear();
  root_.Properties().Clear();
  prolog_.Clear();
  docType_.clear();

  const std::string_view input = std::string_view(stream.Bytes()).substr(stream.Position());
  stream.SetPosition(stream.Size());
  SimpleXmlParser(input, {options_, prolog_, docType_, root_}).Parse();
}

}  // namespace quill
