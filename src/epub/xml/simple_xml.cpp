#include "epub/xml/simple_xml.h"

#include "epub/xml/simple_xml_parser.h"
#include "epub/xml/xml_arena.h"

namespace quill {

TJvSimpleXML::TJvSimpleXML(SimpleXmlOptions options)
    : options_(options),
      firstArenaBlock_(std::make_unique_for_overwrite<std::byte[]>(kFirstArenaBlock)),
      arena_(firstArenaBlock_.get(), kFirstArenaBlock),
      prolog_(options_, arena_),
      root_(options_, arena_, {}) {}

void TJvSimpleXML::LoadFromStream(MemoryStream& stream, SimpleXmlEncoding /*encoding*/) {
  // The root and the prolog outlive the parse; they let go of what they hold
  // in the arena before it is rewound.
  root_.SetName({}, {});
  root_.SetValue({});
  root_.Items().Release();
  root_.Properties().Release();
  prolog_.Release();
  docType_ = {};
  arena_.release();

  const std::string_view bytes = std::string_view(stream.Bytes()).substr(stream.Position());
  stream.SetPosition(stream.Size());
  const std::string_view input = CopyToArena(arena_, bytes);
  SimpleXmlParser(input, {options_, arena_, prolog_, docType_, root_}).Parse();
}

}  // namespace quill
