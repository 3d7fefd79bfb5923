// The package reader on real-world files: every published book ends with Ok
// exactly when its spine resolves through its manifest and its NCX, if it
// names one, is well-formed, and then lists the spine's documents in order;
// every deliberately broken archive ends without Ok and shows at most one
// error box. The expectation comes from a plain tag scanner of its own, not
// from the document model or the package queries. Skipped when the corpus is
// absent.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/unzipper.h"
#include "base/memory_stream.h"
#include "corpus.h"
#include "epub/package_reader.h"
#include "recording_user_messages.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::CorpusFiles;
using testing::kNoCorpus;
using Strings = std::vector<std::string>;

// One tag of a document: its local name, whether it ends an element, whether
// it closes itself, and the text of its attributes.
struct Tag {
  std::string name;
  bool end = false;
  bool selfClosing = false;
  std::string attributes;
};

// The tags of a document in order, comments, CDATA sections, processing
// instructions and the document type declaration passed over; nothing when a
// markup item is left open at the end.
std::optional<std::vector<Tag>> ScanTags(std::string_view text) {
  std::vector<Tag> tags;
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at)) {
    const std::string_view rest = text.substr(at);
    std::string_view closing = ">";
    if (rest.starts_with("<!--")) closing = "-->";
    if (rest.starts_with("<![CDATA[")) closing = "]]>";
    if (rest.starts_with("<?")) closing = "?>";
    if (rest.starts_with("<!") && closing == ">") {  // document type, internal subset included
      const std::size_t subsetEnd = rest.find("]>");
      const std::size_t end = rest.find('[') < rest.find('>') ? subsetEnd : rest.find('>');
      if (end == std::string_view::npos) return std::nullopt;
      at += end + 1;
      continue;
    }
    if (closing != ">") {
      const std::size_t end = rest.find(closing, 2);
      if (end == std::string_view::npos) return std::nullopt;
      at += end + closing.size();
      continue;
    }
    // An element tag: ">" ends it unless it stands inside a quoted value.
    std::size_t end = 1;
    char quote = 0;
    for (; end < rest.size() && (quote || rest[end] != '>'); ++end) {
      if (!quote && (rest[end] == '"' || rest[end] == '\''))
        quote = rest[end];
      else if (quote && rest[end] == quote)
        quote = 0;
    }
    if (end == rest.size()) return std::nullopt;
    Tag tag;
    std::string_view inner = rest.substr(1, end - 1);
    tag.end = inner.starts_with('/');
    if (tag.end) inner.remove_prefix(1);
    tag.selfClosing = inner.ends_with('/');
    if (tag.selfClosing) inner.remove_suffix(1);
    const std::size_t nameEnd = std::min(inner.find_first_of(" \t\r\n"), inner.size());
    std::string_view name = inner.substr(0, nameEnd);
    if (const std::size_t colon = name.find(':'); colon != std::string_view::npos) {
      name.remove_prefix(colon + 1);
    }
    tag.name = std::string(name);
    tag.attributes = std::string(inner.substr(nameEnd));
    tags.push_back(std::move(tag));
    at += end + 1;
  }
  return tags;
}

// Whether the tags nest properly under one root element.
bool IsWellFormed(std::string_view text) {
  const auto tags = ScanTags(text);
  if (!tags || tags->empty()) return false;
  std::vector<std::string> open;
  std::size_t roots = 0;
  for (const Tag& tag : *tags) {
    if (tag.end) {
      if (open.empty() || open.back() != tag.name) return false;
      open.pop_back();
      continue;
    }
    if (open.empty()) ++roots;
    if (!tag.selfClosing) open.push_back(tag.name);
  }
  return open.empty() && roots == 1;
}

std::string DecodeEntities(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const std::string_view rest = value.substr(i);
    bool replaced = false;
    for (const auto& [entity, character] :
         {std::pair{"&amp;", '&'}, std::pair{"&lt;", '<'}, std::pair{"&gt;", '>'},
          std::pair{"&quot;", '"'}, std::pair{"&apos;", '\''}}) {
      if (rest.starts_with(entity)) {
        out += character;
        i += std::string_view(entity).size() - 1;
        replaced = true;
        break;
      }
    }
    if (!replaced) out += value[i];
  }
  return out;
}

// The value of the attribute with the local name, or nothing.
std::optional<std::string> AttributeOf(const Tag& tag, std::string_view name) {
  std::string_view rest = tag.attributes;
  while (true) {
    const std::size_t equals = rest.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    std::string_view key = rest.substr(0, equals);
    while (!key.empty() && std::isspace(static_cast<unsigned char>(key.back())))
      key.remove_suffix(1);
    key.remove_prefix(std::min(key.find_last_of(" \t\r\n:") + 1, key.size()));
    const std::size_t open = rest.find_first_of("\"'", equals);
    if (open == std::string_view::npos) return std::nullopt;
    const std::size_t close = rest.find(rest[open], open + 1);
    if (close == std::string_view::npos) return std::nullopt;
    if (key == name) return DecodeEntities(rest.substr(open + 1, close - open - 1));
    rest.remove_prefix(close + 1);
  }
}

// The tags of the children (start or empty tags) of the root's last child
// element with the local name, in document order; that child's own tag goes
// to sectionTag.
std::vector<Tag> ChildrenOf(const std::vector<Tag>& tags, std::string_view section,
                            std::optional<Tag>* sectionTag = nullptr) {
  std::vector<Tag> children;
  std::size_t depth = 0;  // elements open before the tag; the root opens at 0
  bool inside = false;
  for (const Tag& tag : tags) {
    if (tag.end) {
      if (depth > 0) --depth;
      if (depth == 1) inside = false;
      continue;
    }
    if (depth == 1 && tag.name == section) {
      children.clear();
      if (sectionTag) *sectionTag = tag;
      inside = !tag.selfClosing;
    } else if (inside && depth == 2) {
      children.push_back(tag);
    }
    if (!tag.selfClosing) ++depth;
  }
  return children;
}

std::string Slashes(std::string text, char from, char to) {
  for (char& c : text) {
    if (c == from) c = to;
  }
  return text;
}

// The document at the archive path ("/" separators), compared exactly.
std::optional<std::string> ReadDocument(TAbUnZipper& book, const std::string& path) {
  for (std::size_t i = 0; i < book.Count(); ++i) {
    if (book.Items(i).fileName != path) continue;
    MemoryStream stream;
    book.ExtractEntryToStream(path, stream);
    return stream.Bytes();
  }
  return std::nullopt;
}

// What a reader should make of a book, worked out independently.
struct Expected {
  bool ok = false;
  Strings spineHrefs;
  std::string why;  // when not ok
};

Expected ExpectedReading(const fs::path& path) {
  TAbUnZipper book;
  book.SetFileName(path);
  const auto container = ReadDocument(book, "META-INF/container.xml");
  if (!container) return {false, {}, "no container"};
  const auto containerTags = ScanTags(*container);
  if (!containerTags || !IsWellFormed(*container)) return {false, {}, "malformed container"};
  // The rootfile path is that of the rootfiles section's last child.
  const std::vector<Tag> rootfiles = ChildrenOf(*containerTags, "rootfiles");
  if (rootfiles.empty()) return {false, {}, "no rootfile"};
  const std::string opfPath = AttributeOf(rootfiles.back(), "full-path").value_or("");
  if (opfPath.empty()) return {false, {}, "no rootfile path"};

  const std::string opf = ReadDocument(book, opfPath).value_or("");
  if (!opf.empty() && !IsWellFormed(opf)) return {false, {}, "malformed OPF"};
  const std::vector<Tag> opfTags = ScanTags(opf).value_or(std::vector<Tag>{});
  std::optional<Tag> spineTag;
  const std::vector<Tag> spine = ChildrenOf(opfTags, "spine", &spineTag);
  const std::vector<Tag> manifest = ChildrenOf(opfTags, "manifest");
  Expected expected;
  for (const Tag& itemref : spine) {
    const auto idref = AttributeOf(itemref, "idref");
    if (!idref) continue;
    for (const Tag& item : manifest) {
      if (AttributeOf(item, "id") == idref) {
        expected.spineHrefs.push_back(Slashes(AttributeOf(item, "href").value_or(""), '/', '\\'));
      }
    }
  }
  if (expected.spineHrefs.empty()) return {false, {}, "no spine href"};

  const std::optional<std::string> tocId = spineTag ? AttributeOf(*spineTag, "toc") : std::nullopt;
  if (tocId && !tocId->empty()) {
    std::string ncxHref;
    for (const Tag& item : manifest) {
      if (AttributeOf(item, "id") == tocId) ncxHref = AttributeOf(item, "href").value_or("");
    }
    const std::size_t slash = opfPath.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : opfPath.substr(0, slash + 1);
    const auto ncx = ReadDocument(book, folder + ncxHref);
    if (ncx && !ncx->empty() && !IsWellFormed(*ncx)) return {false, {}, "malformed NCX"};
  }
  expected.ok = true;
  return expected;
}

TEST(PackageReaderCorpus, EveryBookIsReadAsItsPackageSays) {
  const auto books = CorpusFiles("epub", "epub");
  if (books.empty()) GTEST_SKIP() << kNoCorpus;
  testing::RecordingUserMessages boxes;
  std::size_t read = 0;
  std::size_t withToc = 0;
  for (const fs::path& path : books) {
    SCOPED_TRACE(path.string());
    const Expected expected = ExpectedReading(path);
    TEpuB reader;
    reader.Open(path);
    EXPECT_EQ(reader.Ok, expected.ok) << expected.why;
    if (!reader.Ok) continue;
    ++read;
    if (!reader.Toc.empty()) ++withToc;
    EXPECT_EQ(reader.SpineHrefs, expected.spineHrefs);
    EXPECT_EQ(reader.LastIndex + 1, static_cast<int>(reader.SpineHrefs.size()));
    EXPECT_EQ(reader.EpubPath, path);
  }
  EXPECT_TRUE(boxes.messages.empty());
  EXPECT_TRUE(boxes.errors.empty());
  std::cout << books.size() << " books, " << read << " read, " << withToc
            << " with a table of contents\n";
}

// One row of the corpus README's manifest tables.
struct ManifestRow {
  fs::path book;
  std::string opfPath;  // of the first rootfile
  std::string version;
  bool namesNcx = false;  // the spine's toc names an NCX that the archive holds
  std::size_t spineItems = 0;
};

std::vector<std::string> Cells(std::string_view line) {
  std::vector<std::string> cells;
  std::size_t from = line.find('|') + 1;
  for (std::size_t bar = line.find('|', from); bar != std::string_view::npos;
       from = bar + 1, bar = line.find('|', from)) {
    std::string_view cell = line.substr(from, bar - from);
    while (cell.starts_with(' ')) cell.remove_prefix(1);
    while (cell.ends_with(' ')) cell.remove_suffix(1);
    cells.emplace_back(cell);
  }
  return cells;
}

// The rows of the "Manifest: epub/<set>" tables.
std::vector<ManifestRow> CorpusManifest() {
  std::vector<ManifestRow> rows;
  const fs::path readme = testing::CorpusDir() / "README.md";
  std::ifstream in(readme);
  std::string folder;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("## Manifest: ")) folder = line.substr(13);
    if (line.starts_with("## ") && !line.starts_with("## Manifest: ")) folder.clear();
    if (folder.empty() || !line.starts_with("| ") || line.find(".epub |") == std::string::npos)
      continue;
    const std::vector<std::string> cells = Cells(line);
    if (cells.size() < 5) continue;
    rows.push_back({testing::CorpusDir() / folder / cells[0], cells[1], cells[2], cells[3] == "yes",
                    static_cast<std::size_t>(std::stoul(cells[4]))});
  }
  return rows;
}

TEST(PackageReaderCorpus, EveryBookAgreesWithTheCorpusManifest) {
  const std::vector<ManifestRow> rows = CorpusManifest();
  if (rows.empty()) GTEST_SKIP() << kNoCorpus;
  testing::RecordingUserMessages boxes;
  for (const ManifestRow& row : rows) {
    SCOPED_TRACE(row.book.string());
    TEpuB reader;
    reader.Open(row.book);
    ASSERT_TRUE(reader.Ok);
    // The table names the first rootfile; the reader follows the last (below).
    if (row.book.filename() != "ocf-package_multiple.epub") {
      EXPECT_EQ(reader.OpfPath, Slashes(row.opfPath, '/', '\\'));
      EXPECT_EQ(reader.SpineIdrefs.size(), row.spineItems);
    }
    EXPECT_EQ(reader.Version, row.version);
    EXPECT_EQ(!reader.Toc.empty(), row.namesNcx);
  }
  EXPECT_EQ(rows.size(), CorpusFiles("epub", "epub").size());
}

// Of the three rootfiles of this book, the reader follows the last one (the
// rootfiles section's last child), EPUB/package.opf, not the first.
TEST(PackageReaderCorpus, SeveralRootfilesLeadToTheLastOne) {
  const auto books = CorpusFiles("epub/w3c", "epub");
  const auto book = std::find_if(books.begin(), books.end(), [](const fs::path& path) {
    return path.filename() == "ocf-package_multiple.epub";
  });
  if (book == books.end()) GTEST_SKIP() << kNoCorpus;
  TEpuB reader;
  reader.Open(*book);
  EXPECT_TRUE(reader.Ok);
  EXPECT_EQ(reader.OpfPath, "EPUB\\package.opf");
}

TEST(PackageReaderCorpus, BrokenArchivesEndWithoutOkAndAtMostOneErrorBox) {
  const auto archives = CorpusFiles("zip");
  if (archives.empty()) GTEST_SKIP() << kNoCorpus;
  for (const fs::path& path : archives) {
    SCOPED_TRACE(path.string());
    testing::RecordingUserMessages boxes;
    TEpuB reader;
    reader.Open(path);
    EXPECT_FALSE(reader.Ok);
    EXPECT_LE(boxes.errors.size(), 1u);
    EXPECT_TRUE(boxes.messages.empty());
  }
}

}  // namespace
}  // namespace quill
