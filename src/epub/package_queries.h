#pragma once

// The questions the package reader asks about a book's three package
// documents (the container document, the OPF package document and the NCX
// navigation document), answered from one shared parsed document.
//
// Conventions of the routines: a section is a child of the root, found with
// FindRootChild. Names are local names (dc:title answers to "title") and are
// compared exactly, letter case included, unless a routine says otherwise.
// Only elements answer: text, comments and processing instructions are passed
// over. Every routine visits child elements and attributes in document order
// and never stops early. When several items match, the metadata a reader
// shows (title, creator, meta values, identifiers, the cover) comes from the
// first, as reading systems take it; what the check reads (the rootfile, the
// spine, the manifest, the NCX) comes from the last. Results start empty and
// stay empty when nothing matches. Attribute lookups by name
// add a missing attribute, empty, to its element, and "text" lookups add a
// missing "text" element; later routines on the same tree see them.
//
// The document and lists are the state of one PackageQueries object, which a
// package reader owns: readers on different threads never meet.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/memory_stream.h"
#include "epub/xml/simple_xml.h"
#include "epub/xml/simple_xml_elem.h"

namespace quill {

// One table-of-contents entry: the text of a navigation point's label and the
// "src" of its content element, fragment included.
class TToc {
 public:
  TToc(std::string label, std::string source)
      : NavLabel(std::move(label)), ContentSrc(std::move(source)) {}

  std::string NavLabel;
  std::string ContentSrc;
};

// Table-of-contents entries in walk order; each is listed under its NavLabel.
using TocEntryList = std::vector<std::unique_ptr<TToc>>;

// The package queries over one document of their own and their lists.
class PackageQueries {
 public:
  PackageQueries() = default;
  PackageQueries(const PackageQueries&) = delete;
  PackageQueries& operator=(const PackageQueries&) = delete;

  // The document, with the options sxoAutoCreate, sxoAutoIndent,
  // sxoAutoEncodeValue and sxoAutoEncodeEntity. Every parse replaces its content.
  TJvSimpleXML& Xml() { return xml_; }

  // The spine's idrefs (filled by GetXmlSpineList, read by GetXmlManifestList),
  // the spine documents' hrefs (filled by GetXmlManifestList) and the entries of
  // one navMap walk (filled by ReadNavMap; whoever moves them out owns them).
  // The routines append; emptying a list before a fill is the caller's task.
  std::vector<std::string>& SpineIdrefList() { return spineIdrefs_; }
  std::vector<std::string>& SpineHrefList() { return spineHrefs_; }
  TocEntryList& TocList() { return toc_; }

  // Parses the stream into Xml() (as UTF-8); parse errors pass to the caller.
  void LoadXmlFromStream(MemoryStream& stream);

  // The last child of the root whose name equals name, or nullptr.
  TJclSimpleXMLElem* FindRootChild(std::string_view name);

  // The value of the first element called name in the sections called section.
  std::string GetSectionValue(std::string_view section, std::string_view name);

  // As GetSectionValue, counting only elements that carry an attribute called
  // attribute (looked for without creating it).
  std::string GetSectionValueWithAttribute(std::string_view section, std::string_view name,
                                           std::string_view attribute);

  // The attribute's value on the last child element of the section; empty
  // when that element lacks it. The container document's rootfile path is
  // GetXMLValuex("rootfiles", "full-path").
  std::string GetXMLValuex(std::string_view section, std::string_view attribute);

  // The "content" of the first metadata meta whose "name" is name.
  std::string GetMetaContent(std::string_view name);

  // The value of the first metadata identifier whose "scheme" attribute (found
  // ignoring letter case and prefix, so opf:scheme serves) is scheme exactly.
  std::string GetIdentifierByScheme(std::string_view scheme);

  // Replaces the list's contents with the value of every metadata subject.
  void GetSubjects(std::vector<std::string>& list);

  // The root's "version" attribute.
  std::string GetPackageVersion();

  // Appends the idref of every spine child that has an "idref" attribute, in
  // spine order, non-linear items included.
  void GetXmlSpineList();

  // Appends, for each entry of SpineIdrefList in order, the href of every
  // manifest item whose id is that entry, with "\" for "/". A repeated spine
  // entry yields its href again; an entry no item carries yields nothing.
  void GetXmlManifestList();

  // The "href" of the first guide child that has any attribute whose value is
  // "cover". Never raises.
  std::string GetGuideCover();

  // The "href" (separators unchanged) of the cover image: the first manifest
  // item whose id the first metadata meta named "cover" gives, wherever that
  // meta stands; without such a meta, the first item whose "properties" list
  // "cover-image". Empty when the named id is no item's.
  std::string GetCoverPath();

  // Whether GetCoverPath yields a path.
  bool HasCover();

  // The "href" of the manifest item whose id is the spine's "toc" attribute.
  std::string GetNcxPath();

  // Appends a TToc for the element and every element below it, depth first in
  // document order, for each one whose navLabel text or content src is not
  // empty. Does nothing for nullptr.
  void ReadNavMap(TJclSimpleXMLElem* element);

 private:
  void AppendTocEntry(const TJclSimpleXMLElem& element);

  TJvSimpleXML xml_{{sxoAutoCreate, sxoAutoIndent, sxoAutoEncodeValue, sxoAutoEncodeEntity}};
  std::vector<std::string> spineIdrefs_;
  std::vector<std::string> spineHrefs_;
  TocEntryList toc_;
};

}  // namespace quill
