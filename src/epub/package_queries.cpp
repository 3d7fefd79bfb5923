#include "epub/package_queries.h"

#include <algorithm>
#include <cstddef>
#include <exception>
#include <typeinfo>
#include <utility>

#include "archive/archive_path.h"
#include "base/text.h"
#include "base/user_messages.h"
#include "epub/xml/xml_error_kinds.h"

namespace quill {
namespace {

// The texts that open the message boxes of the guarded walks.
constexpr std::string_view kValuexPrefix = "Hiba GetXMLValuex";
constexpr std::string_view kManifestPrefix = "Hiba GetXmlManifestList01";
constexpr std::string_view kSpinePrefix = "Hiba GetXmlSpineList";
constexpr std::string_view kCoverPathPrefix = "Hiba a feldolgozas kozben GetCoverPath";
constexpr std::string_view kNcxPathPrefix = "Hiba GetNcxPath";

// Runs a walk over the shared document. When the document model raises its
// error, the walk ends there: a message box shows the prefix directly
// followed by the error's message, and what the walk gathered stays. Other
// errors pass.
template <typename Walk>
void GuardedWalk(std::string_view prefix, Walk&& walk) {
  try {
    walk();
  } catch (const EJclSimpleXMLError& error) {
    ShowMessage(std::string(prefix) + error.message());
  }
}

// Whether a node is an element: text, CDATA, comments and processing
// instructions never answer a query, whatever name or attributes they carry.
// The element class is final, so comparing the exact type suffices.
bool IsElement(const TJclSimpleXMLElem& node) {
  return typeid(node) == typeid(TJclSimpleXMLElemClassic);
}

// Calls visit for each child element in document order. The count is read on
// every step, so an element added on the way is visited too.
template <typename Visit>
void ForEachChild(const TJclSimpleXMLElem& element, Visit&& visit) {
  const XmlNodeList& items = element.Items();
  for (std::size_t i = 0; i < items.Count(); ++i) {
    TJclSimpleXMLElem& child = items.GetItem(i);
    if (IsElement(child)) visit(child);
  }
}

// Calls visit for each attribute in document order, the same way.
template <typename Visit>
void ForEachProperty(const TJclSimpleXMLElem& element, Visit&& visit) {
  const XmlPropertyList& properties = element.Properties();
  for (std::size_t i = 0; i < properties.Count(); ++i) visit(properties.GetItem(i));
}

// The attribute's value by lookup, which adds it, empty, when it is missing.
// The value lives in the shared document until its next parse.
std::string_view Attribute(TJclSimpleXMLElem& element, std::string_view name) {
  return element.Properties().GetItemNamed(name).Value();
}

// Whether an attribute's name is exactly name; creates nothing.
bool HasPropertyNamed(const TJclSimpleXMLElem& element, std::string_view name) {
  bool found = false;
  ForEachProperty(element, [&](const TJclSimpleXMLProp& property) {
    if (property.Name() == name) found = true;
  });
  return found;
}

// Keeps the first of the values offered to it: a displayed field takes the
// first matching element, as reading systems do, while the walk goes on to
// the end so that its lookups leave the tree as a full walk would.
class FirstMatch {
 public:
  void Offer(std::string_view value) {
    if (found_) return;
    value_ = value;
    found_ = true;
  }
  bool Found() const { return found_; }
  std::string Take() { return std::move(value_); }

 private:
  std::string value_;
  bool found_ = false;
};

// Whether a space-separated list of tokens (a "properties" attribute) holds
// token; the attribute is looked for without creating it.
bool HasPropertyToken(const TJclSimpleXMLElem& element, std::string_view attribute,
                      std::string_view token) {
  bool found = false;
  ForEachProperty(element, [&](const TJclSimpleXMLProp& property) {
    if (property.Name() != attribute) return;
    std::string_view rest = property.Value();
    while (!rest.empty()) {
      const std::size_t start = rest.find_first_not_of(" \t\r\n");
      if (start == std::string_view::npos) break;
      rest.remove_prefix(start);
      const std::size_t end = std::min(rest.find_first_of(" \t\r\n"), rest.size());
      if (rest.substr(0, end) == token) found = true;
      rest.remove_prefix(end);
    }
  });
  return found;
}

}  // namespace

void PackageQueries::LoadXmlFromStream(MemoryStream& stream) {
  xml_.LoadFromStream(stream, seUTF8);
}

TJclSimpleXMLElem* PackageQueries::FindRootChild(std::string_view name) {
  TJclSimpleXMLElem* found = nullptr;
  ForEachChild(xml_.Root(), [&](TJclSimpleXMLElem& child) {
    if (child.Name() == name) found = &child;
  });
  return found;
}

std::string PackageQueries::GetSectionValue(std::string_view section, std::string_view name) {
  FirstMatch result;
  ForEachChild(xml_.Root(), [&](TJclSimpleXMLElem& candidate) {
    if (candidate.Name() != section) return;
    ForEachChild(candidate, [&](TJclSimpleXMLElem& child) {
      if (child.Name() == name) result.Offer(child.Value());
    });
  });
  return result.Take();
}

std::string PackageQueries::GetSectionValueWithAttribute(std::string_view section,
                                                         std::string_view name,
                                                         std::string_view attribute) {
  FirstMatch result;
  ForEachChild(xml_.Root(), [&](TJclSimpleXMLElem& candidate) {
    if (candidate.Name() != section) return;
    ForEachChild(candidate, [&](TJclSimpleXMLElem& child) {
      if (child.Name() == name && HasPropertyNamed(child, attribute)) result.Offer(child.Value());
    });
  });
  return result.Take();
}

std::string PackageQueries::GetXMLValuex(std::string_view section, std::string_view attribute) {
  std::string result;
  GuardedWalk(kValuexPrefix, [&] {
    TJclSimpleXMLElem* found = FindRootChild(section);
    if (!found) return;
    // The last element decides; a comment or processing instruction after
    // it is no answer.
    ForEachChild(*found, [&](TJclSimpleXMLElem& child) { result = Attribute(child, attribute); });
  });
  return result;
}

std::string PackageQueries::GetMetaContent(std::string_view name) {
  FirstMatch result;
  TJclSimpleXMLElem* metadata = FindRootChild("metadata");
  if (!metadata) return {};
  ForEachChild(*metadata, [&](TJclSimpleXMLElem& child) {
    if (child.Name() == "meta" && Attribute(child, "name") == name) {
      result.Offer(Attribute(child, "content"));
    }
  });
  return result.Take();
}

std::string PackageQueries::GetIdentifierByScheme(std::string_view scheme) {
  FirstMatch result;
  TJclSimpleXMLElem* metadata = FindRootChild("metadata");
  if (!metadata) return {};
  ForEachChild(*metadata, [&](TJclSimpleXMLElem& child) {
    if (child.Name() == "identifier" && Attribute(child, "scheme") == scheme) {
      result.Offer(child.Value());
    }
  });
  return result.Take();
}

void PackageQueries::GetSubjects(std::vector<std::string>& list) {
  list.clear();
  TJclSimpleXMLElem* metadata = FindRootChild("metadata");
  if (!metadata) return;
  ForEachChild(*metadata, [&](TJclSimpleXMLElem& child) {
    if (child.Name() == "subject") list.emplace_back(child.Value());
  });
}

std::string PackageQueries::GetPackageVersion() {
  return std::string(Attribute(xml_.Root(), "version"));
}

void PackageQueries::GetXmlSpineList() {
  GuardedWalk(kSpinePrefix, [this] {
    TJclSimpleXMLElem* spine = FindRootChild("spine");
    if (!spine) return;
    ForEachChild(*spine, [this](TJclSimpleXMLElem& child) {
      ForEachProperty(child, [&](const TJclSimpleXMLProp& property) {
        if (property.Name() == "idref") SpineIdrefList().emplace_back(Attribute(child, "idref"));
      });
    });
  });
}

// The join asks the manifest, for each spine entry, for every item whose id
// is that entry. The items are indexed by id once, so a long spine over a
// large manifest stays linear; the index lists an item once per "id"
// attribute it carries, in manifest order, exactly as a walk over the
// manifest would meet it. The "href" lookups (which add a missing "href")
// happen in the same order as in that walk. The index is one sorted vector:
// a stable sort keeps items of the same id in manifest order, and the ids are
// views of attribute values, which stay in place while lookups add others.
void PackageQueries::GetXmlManifestList() {
  GuardedWalk(kManifestPrefix, [this] {
    if (SpineIdrefList().empty()) return;
    TJclSimpleXMLElem* manifest = FindRootChild("manifest");
    if (!manifest) return;
    using IdEntry = std::pair<std::string_view, TJclSimpleXMLElem*>;
    std::vector<IdEntry> itemsById;
    itemsById.reserve(manifest->Items().Count());
    ForEachChild(*manifest, [&](TJclSimpleXMLElem& item) {
      ForEachProperty(item, [&](const TJclSimpleXMLProp& property) {
        if (property.Name() == "id") {
          itemsById.emplace_back(item.Properties().GetItemNamed("id").Value(), &item);
        }
      });
    });
    const auto byId = [](const IdEntry& a, const IdEntry& b) { return a.first < b.first; };
    std::stable_sort(itemsById.begin(), itemsById.end(), byId);
    for (const std::string& idref : SpineIdrefList()) {
      const auto [first, last] =
          std::equal_range(itemsById.begin(), itemsById.end(), IdEntry{idref, nullptr}, byId);
      for (auto entry = first; entry != last; ++entry) {
        SpineHrefList().push_back(ArchivePath(std::string(Attribute(*entry->second, "href"))));
      }
    }
  });
}

std::string PackageQueries::GetGuideCover() {
  FirstMatch result;
  try {
    TJclSimpleXMLElem* guide = FindRootChild("guide");
    if (!guide) return {};
    ForEachChild(*guide, [&](TJclSimpleXMLElem& child) {
      ForEachProperty(child, [&](const TJclSimpleXMLProp& property) {
        if (property.Value() == "cover") result.Offer(Attribute(child, "href"));
      });
    });
  } catch (const std::exception&) {
    // A guide that cannot be read has no cover reference.
  }
  return result.Take();
}

// The cover is named by the first meta called "cover" (with a content)
// wherever it stands among the metadata (EPUB 2); a meta with another name or
// none, such as an EPUB 3 property meta, never unnames it. Without such a
// meta, the first item marked cover-image (EPUB 3) is the cover. A meta that
// names an id no item carries leaves the book without a cover.
std::string PackageQueries::GetCoverPath() {
  std::string result;
  GuardedWalk(kCoverPathPrefix, [&] {
    FirstMatch coverId;
    if (TJclSimpleXMLElem* metadata = FindRootChild("metadata")) {
      ForEachChild(*metadata, [&](TJclSimpleXMLElem& child) {
        if (child.Name() != "meta" || Attribute(child, "name") != "cover") return;
        // An empty content names nothing, not the items that have no id.
        const std::string_view content = Attribute(child, "content");
        if (!content.empty()) coverId.Offer(content);
      });
    }
    TJclSimpleXMLElem* manifest = FindRootChild("manifest");
    if (!manifest) return;
    const bool metaNamesCover = coverId.Found();
    const std::string id = coverId.Take();
    FirstMatch named;
    FirstMatch marked;
    ForEachChild(*manifest, [&](TJclSimpleXMLElem& child) {
      // Every item's id is looked up, as the manifest join expects the tree
      // that a walk over all items leaves.
      if (Attribute(child, "id") == id && metaNamesCover) named.Offer(Attribute(child, "href"));
      if (HasPropertyToken(child, "properties", "cover-image")) {
        marked.Offer(Attribute(child, "href"));
      }
    });
    result = metaNamesCover ? named.Take() : marked.Take();
  });
  return result;
}

bool PackageQueries::HasCover() { return !GetCoverPath().empty(); }

std::string PackageQueries::GetNcxPath() {
  std::string result;
  GuardedWalk(kNcxPathPrefix, [&] {
    TJclSimpleXMLElem* spine = FindRootChild("spine");
    const std::string_view tocId = spine ? Attribute(*spine, "toc") : std::string_view();
    TJclSimpleXMLElem* manifest = FindRootChild("manifest");
    if (!manifest) return;
    ForEachChild(*manifest, [&](TJclSimpleXMLElem& child) {
      ForEachProperty(child, [&](const TJclSimpleXMLProp& property) {
        if (property.Name() == "id" && property.Value() == tocId) {
          result = Attribute(child, "href");
        }
      });
    });
  });
  return result;
}

// One step of the navMap walk: the entry of this element, if it has one.
void PackageQueries::AppendTocEntry(const TJclSimpleXMLElem& element) {
  std::string label;
  std::string source;
  ForEachChild(element, [&](TJclSimpleXMLElem& child) {
    if (child.Name() == "navLabel") label = child.Items().GetItemNamed("text").Value();
    if (child.Name() == "content") source = Attribute(child, "src");
  });
  if (label.empty() && source.empty()) return;
  TocList().push_back(std::make_unique<TToc>(label, std::move(source)));
}

// Depth first in document order: an element's entry comes before those of
// its children. An explicit stack keeps the walk off the call stack however
// deep the navMap nests. An element's children are taken when the element is
// visited, after its parent's step may have added a "text" child to it,
// exactly as a recursive walk would see them.
void PackageQueries::ReadNavMap(TJclSimpleXMLElem* element) {
  std::vector<TJclSimpleXMLElem*> pending;
  if (element) pending.push_back(element);
  while (!pending.empty()) {
    TJclSimpleXMLElem& current = *pending.back();
    pending.pop_back();
    AppendTocEntry(current);
    const XmlNodeList& children = current.Items();
    for (std::size_t i = children.Count(); i > 0; --i) {
      TJclSimpleXMLElem& child = children.GetItem(i - 1);
      if (IsElement(child)) pending.push_back(&child);
    }
  }
}

}  // namespace quill
