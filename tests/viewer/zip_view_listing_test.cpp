#include "viewer/zip_view_listing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/zip_file.h"
#include "base/timestamp.h"
#include "epub_builder.h"
#include "links.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::DosDateTime;
using testing::EpubBuilder;
using testing::ZipEntry;
using testing::ZipWriter;

constexpr Timestamp kJune15Afternoon = 44362.0 + 49530.0 / 86400.0;  // 2021-06-15 13:45:30

// A book whose content documents show each kind of value: two deflated
// chapters (the second stored at midnight), a stored ".html" document, an
// ".HTM" document whose recorded CRC-32 has all bits set, and an archive
// comment. Style sheet, image, package and navigation documents are not
// content documents.
ZipWriter SampleBook() {
  ZipWriter zip =
      EpubBuilder().AddChapters(2).EditChapter(1, DosDateTime(2022, 3, 1, 0, 0, 0)).ToZip();
  ZipEntry stored;
  stored.name = "OEBPS/Text/notes.html";
  stored.data = "<html>notes</html>";
  stored.method = 0;
  zip.Add(stored);
  ZipEntry allBitsSet;
  allBitsSet.name = "OEBPS/index.HTM";
  allBitsSet.data = "<html>index</html>";
  allBitsSet.crc = 0xFFFFFFFFu;
  zip.Add(allBitsSet);
  zip.layout().archiveComment = "Made for the zip view";
  return zip;
}

std::vector<std::string> Names(const ZipViewListing& listing) {
  std::vector<std::string> names;
  for (const ZipViewRow& row : listing.rows) names.push_back(row.name);
  return names;
}

class ZipViewListingTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  fs::path book = dir / "book.epub";
};

TEST_F(ZipViewListingTest, ListsTheContentDocumentsInArchiveOrderWithTheirRecordedValues) {
  SampleBook().WriteTo(book);
  ASSERT_TRUE(CanListBook(book));
  const ZipViewListing listing = ListContentDocuments(book);

  ASSERT_FALSE(listing.failure.has_value()) << listing.failure->message;
  EXPECT_EQ(listing.comment, "Made for the zip view");
  ASSERT_EQ(Names(listing),
            (std::vector<std::string>{"OEBPS/Text/chapter01.xhtml", "OEBPS/Text/chapter02.xhtml",
                                      "OEBPS/Text/notes.html", "OEBPS/index.HTM"}));
  for (const ZipViewRow& row : listing.rows) ASSERT_TRUE(row.fields.has_value()) << row.name;

  const ZipViewFields& deflated = *listing.rows[0].fields;
  EXPECT_EQ(MillisecondCount(deflated.modified), MillisecondCount(kJune15Afternoon));
  EXPECT_EQ(deflated.compressionMethod, 8);
  EXPECT_LT(deflated.compressedSize, deflated.uncompressedSize);

  EXPECT_EQ(listing.rows[1].fields->modified, static_cast<double>(DaysSinceEpoch(2022, 3, 1)));

  const ZipViewFields& stored = *listing.rows[2].fields;
  EXPECT_EQ(stored.compressionMethod, 0);
  EXPECT_EQ(stored.compressedSize, 18u);
  EXPECT_EQ(stored.uncompressedSize, 18u);
  EXPECT_EQ(stored.crc32, testing::Crc32("<html>notes</html>"));

  EXPECT_EQ(listing.rows[3].fields->crc32, 4294967295u);
}

TEST_F(ZipViewListingTest, AnImpossibleStoredDateEndsTheListingAndKeepsTheRowsBeforeIt) {
  EpubBuilder()
      .AddChapters(3)
      .EditChapter(1, DosDateTime(2021, 0, 15, 10, 0, 0))  // month 0
      .WriteTo(book);
  const ZipViewListing listing = ListContentDocuments(book);

  ASSERT_TRUE(listing.failure.has_value());
  EXPECT_EQ(listing.failure->kind, "EConvertError");
  EXPECT_EQ(listing.failure->message, "Invalid argument to date encode");
  ASSERT_EQ(Names(listing),
            (std::vector<std::string>{"OEBPS/Text/chapter01.xhtml", "OEBPS/Text/chapter02.xhtml"}));
  EXPECT_TRUE(listing.rows[0].fields.has_value());
  EXPECT_FALSE(listing.rows[1].fields.has_value());  // the failing document: its name only

  EXPECT_EQ(ZipViewFailureText(*listing.failure, "/books/b.epub"),
            "EConvertError\n\rInvalid argument to date encode\n\r/books/b.epub\n\r"
            "No ModifiedDateTime ?");
}

TEST_F(ZipViewListingTest, AnImpossibleStoredTimeOfAnotherEntryDoesNotMatter) {
  // Only content documents are converted: a style sheet with hour 24 is skipped.
  ZipWriter zip = EpubBuilder().AddChapters(1).ToZip();
  zip.Add("OEBPS/Styles/extra.css", "p {}", DosDateTime(2021, 6, 15, 24, 0, 0));
  zip.Add("OEBPS/Text/late.xhtml", "<html/>", DosDateTime(2021, 6, 15, 24, 0, 0));
  zip.WriteTo(book);
  const ZipViewListing listing = ListContentDocuments(book);
  ASSERT_TRUE(listing.failure.has_value());
  EXPECT_EQ(listing.failure->message, "Invalid argument to time encode");
  EXPECT_EQ(Names(listing),
            (std::vector<std::string>{"OEBPS/Text/chapter01.xhtml", "OEBPS/Text/late.xhtml"}));
}

TEST_F(ZipViewListingTest, ADamagedDirectoryOrAMissingFileIsReportedWithItsKind) {
  std::string bytes = SampleBook().Build();
  const std::size_t header = bytes.find(std::string("PK\x01\x02", 4));
  ASSERT_NE(header, std::string::npos);
  bytes[header + 2] = 'X';
  testing::WriteFile(book, bytes);
  EXPECT_TRUE(CanListBook(book));  // the end record is still there
  ZipViewListing listing = ListContentDocuments(book);
  ASSERT_TRUE(listing.failure.has_value());
  EXPECT_EQ(listing.failure->kind, "EZipException");
  EXPECT_EQ(listing.failure->message, "Invalid Zip Central Header signature");
  EXPECT_TRUE(listing.rows.empty());

  const fs::path missing = dir / "missing.epub";
  EXPECT_FALSE(CanListBook(missing));
  listing = ListContentDocuments(missing);
  ASSERT_TRUE(listing.failure.has_value());
  EXPECT_EQ(listing.failure->kind, "EFOpenError");
}

TEST_F(ZipViewListingTest, OnlyExistingFilesWithAnEndRecordAreListed) {
  testing::WriteFile(book, "not an archive at all");
  EXPECT_FALSE(CanListBook(book));
  EXPECT_FALSE(CanListBook(dir.path()));  // a folder is no file
  SampleBook().WriteTo(book);
  const fs::path link = dir / "link.epub";
  if (testing::MakeLink(book, link)) GTEST_SKIP() << testing::kNoLinks;
  EXPECT_TRUE(CanListBook(link));
}

TEST_F(ZipViewListingTest, LeavesTheBookUnchangedAndReleasesIt) {
  SampleBook().WriteTo(book);
  fs::permissions(book, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const std::string before = testing::ReadFile(book);
  const fs::file_time_type writtenBefore = fs::last_write_time(book);

  ASSERT_FALSE(ListContentDocuments(book).failure.has_value());  // read-only opens too
  EXPECT_EQ(testing::ReadFile(book), before);
  EXPECT_EQ(fs::last_write_time(book), writtenBefore);
  // Nothing holds the file: the reader opens it unshared again.
  TZipFile reader;
  EXPECT_NO_THROW(reader.Open(book));
}

TEST(RowImage, FollowsTheExtensionFoldedInAToZ) {
  EXPECT_EQ(RowImage("Text/Chapter1.XHTML"), kXmlPageImage);
  EXPECT_EQ(RowImage("chapter.xhtml"), kXmlPageImage);
  EXPECT_EQ(RowImage("index.HTM"), kHtmPageImage);
  EXPECT_EQ(RowImage("a.b/notes.Html"), kHtmPageImage);
}

}  // namespace
}  // namespace quill
