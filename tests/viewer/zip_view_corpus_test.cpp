// The zip view's listing over the shared real-world files: every EPUB lists
// its content documents without an error, and every other archive, however
// broken, gives rows or a reported error, never a crash or an escaped error.

#include <gtest/gtest.h>

#include "archive/zip_file.h"
#include "corpus.h"
#include "epub/content_document.h"
#include "viewer/zip_view_listing.h"

namespace quill {
namespace {

TEST(ZipViewCorpus, EveryBookListsItsContentDocumentsInArchiveOrder) {
  const std::vector<std::filesystem::path> books = testing::CorpusFiles("epub", "epub");
  if (books.empty()) GTEST_SKIP() << testing::kNoCorpus;
  for (const std::filesystem::path& book : books) {
    SCOPED_TRACE(book.string());
    ASSERT_TRUE(CanListBook(book));
    const ZipViewListing listing = ListContentDocuments(book);
    ASSERT_FALSE(listing.failure.has_value()) << listing.failure->message;

    TZipFile reader;
    reader.Open(book);
    std::vector<std::string> expected;
    for (const std::string& name : reader.FileNames()) {
      if (IsContentDocument(name)) expected.push_back(name);
    }
    std::vector<std::string> names;
    for (const ZipViewRow& row : listing.rows) {
      names.push_back(row.name);
      // Every entry of these books was stored at 2021-06-15 13:45:30.
      EXPECT_EQ(MillisecondCount(row.fields->modified),
                MillisecondCount(44362.0 + 49530.0 / 86400.0));
    }
    EXPECT_EQ(names, expected);
  }
}

TEST(ZipViewCorpus, BrokenArchivesGiveRowsOrAReportedError) {
  const std::vector<std::filesystem::path> archives = testing::CorpusFiles("zip");
  if (archives.empty()) GTEST_SKIP() << testing::kNoCorpus;
  int failures = 0;
  for (const std::filesystem::path& archive : archives) {
    if (!CanListBook(archive)) continue;
    const ZipViewListing listing = ListContentDocuments(archive);
    if (!listing.failure) continue;
    ++failures;
    EXPECT_FALSE(listing.failure->kind.empty()) << archive;
    EXPECT_FALSE(ZipViewFailureText(*listing.failure, archive.string()).empty());
  }
  EXPECT_GT(failures, 0);  // the set holds damaged directories
}

}  // namespace
}  // namespace quill
