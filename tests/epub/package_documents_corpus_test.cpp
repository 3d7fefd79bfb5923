// The container, package and navigation documents of every real-world book
// in the shared corpus parse without error; skipped when the corpus is absent.

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "archive/archive_path.h"
#include "archive/unzipper.h"
#include "corpus.h"
#include "epub/package_queries.h"
#include "recording_user_messages.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::CorpusFiles;
using testing::kNoCorpus;

// The entry whose archive path ("\" for "/") is path exactly, extracted into a
// stream positioned at its start; nothing when the book lacks it.
std::optional<MemoryStream> ExtractDocument(TAbUnZipper& book, const std::string& path) {
  for (std::size_t i = 0; i < book.Count(); ++i) {
    const std::string_view name = book.Items(i).fileName;
    if (!IsArchivePath(name, path)) continue;
    MemoryStream stream;
    book.ExtractEntryToStream(name, stream);
    stream.SetPosition(0);
    return stream;
  }
  return std::nullopt;
}

// Parses the document at path when the book holds it; false when it does not.
bool ParseDocument(PackageQueries& queries, TAbUnZipper& book, const std::string& path) {
  std::optional<MemoryStream> stream = ExtractDocument(book, path);
  if (!stream) return false;
  EXPECT_NO_THROW(queries.LoadXmlFromStream(*stream)) << path;
  return true;
}

TEST(PackageDocumentsCorpus, EveryBookParsesItsContainerPackageAndNavigation) {
  const auto books = CorpusFiles("epub", "epub");
  if (books.empty()) GTEST_SKIP() << kNoCorpus;
  PackageQueries queries;
  testing::RecordingUserMessages boxes;
  std::size_t withNcx = 0;
  for (const fs::path& path : books) {
    SCOPED_TRACE(path.string());
    TAbUnZipper book;
    book.SetFileName(path);
    ASSERT_TRUE(ParseDocument(queries, book, "META-INF\\container.xml"));

    const std::string opfPath = ArchivePath(queries.GetXMLValuex("rootfiles", "full-path"));
    ASSERT_FALSE(opfPath.empty());
    ASSERT_TRUE(ParseDocument(queries, book, opfPath));
    queries.SpineIdrefList().clear();
    queries.SpineHrefList().clear();
    queries.GetXmlSpineList();
    queries.GetXmlManifestList();
    EXPECT_FALSE(queries.SpineHrefList().empty());  // every real book's spine resolves

    const std::size_t slash = opfPath.rfind('\\');
    const std::string folder = slash == std::string::npos ? "" : opfPath.substr(0, slash);
    const std::string ncx = ArchivePath(queries.GetNcxPath());
    if (ncx.empty() || !ParseDocument(queries, book, folder.empty() ? ncx : folder + "\\" + ncx))
      continue;
    ++withNcx;
    queries.TocList().clear();
    queries.ReadNavMap(queries.FindRootChild("navMap"));
  }
  EXPECT_TRUE(boxes.messages.empty());
  std::cout << books.size() << " books, " << withNcx << " with an NCX\n";
}

}  // namespace
}  // namespace quill
