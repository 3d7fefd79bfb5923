// The XML model on any bytes: the parse into the system's one document, a
// walk over the whole tree, the lookups by name, and the package queries
// that run on the tree. A parse answers or raises an Error; nesting is
// bounded, so no input runs the stack out.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/memory_stream.h"
#include "epub/package_queries.h"
#include "epub/xml/simple_xml.h"
#include "fuzz_require.h"
#include "silent_user_messages.h"

namespace quill::fuzzing {
namespace {

// Reads everything a node holds. A parsed node has a value or children,
// never both.
void Walk(TJclSimpleXMLElem& node) {
  Require(node.Value().empty() || node.Items().Count() == 0, "a value or children, not both");
  for (std::size_t i = 0; i < node.Properties().Count(); ++i) node.Properties().GetItem(i);
  for (std::size_t i = 0; i < node.Items().Count(); ++i) Walk(node.Items().GetItem(i));
}

// Lookups by the names the tree carries find what is there and add nothing;
// one by a name nowhere in it adds exactly one item.
void LookUp(TJclSimpleXMLElem& node) {
  const std::size_t children = node.Items().Count();
  const std::size_t properties = node.Properties().Count();
  for (std::size_t i = 0; i < children; ++i) {
    TJclSimpleXMLElem& child = node.Items().GetItem(i);
    if (!child.Name().empty()) node.Items().GetItemNamed(child.Name());
    LookUp(child);
  }
  for (std::size_t i = 0; i < properties; ++i) {
    node.Properties().GetItemNamed(node.Properties().GetItem(i).Name());
  }
  Require(node.Items().Count() == children && node.Properties().Count() == properties,
          "a lookup by a present name adds nothing");
  node.Items().GetItemNamed("\x7f-absent");
  node.Properties().GetItemNamed("\x7f-absent");
  Require(node.Items().Count() == children + 1 && node.Properties().Count() == properties + 1,
          "a lookup by an absent name adds one item");
}

// What the package reader asks of the container, package and NCX documents.
void AskPackageQueries(PackageQueries& queries) {
  queries.GetXMLValuex("rootfiles", "full-path");
  queries.GetSectionValue("metadata", "title");
  queries.GetSectionValueWithAttribute("metadata", "identifier", "id");
  queries.GetMetaContent("calibre:series");
  queries.GetIdentifierByScheme("ISBN");
  std::vector<std::string> subjects;
  queries.GetSubjects(subjects);
  queries.GetPackageVersion();
  queries.GetGuideCover();
  queries.GetCoverPath();
  queries.HasCover();
  queries.GetNcxPath();
  queries.SpineIdrefList().clear();
  queries.GetXmlSpineList();
  queries.SpineHrefList().clear();
  queries.GetXmlManifestList();
  queries.TocList().clear();
  queries.ReadNavMap(queries.FindRootChild("navMap"));
  queries.TocList().clear();
}

}  // namespace
}  // namespace quill::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quill;
  using namespace quill::fuzzing;
  static SilentUserMessages silence;
  MemoryStream stream(std::string(reinterpret_cast<const char*>(data), size));
  PackageQueries queries;
  try {
    queries.LoadXmlFromStream(stream);
  } catch (const Error&) {
    return 0;
  }
  Walk(queries.Xml().Root());
  try {
    AskPackageQueries(queries);
  } catch (const Error&) {
    // A query may refuse a document; the package reader catches that.
  }
  LookUp(queries.Xml().Root());
  return 0;
}
