#include "epub/package_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/book_archive.h"
#include "epub_builder.h"
#include "recording_user_messages.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using testing::EpubBuilder;

// An OPF of the test's own, with room for metadata and spine variations.
std::string Opf(const std::string& metadata, const std::string& spine = "<itemref idref='c1'/>") {
  return "<?xml version='1.0' encoding='utf-8'?>\n"
         "<package xmlns='http://www.idpf.org/2007/opf' version='2.0'>"
         "<metadata xmlns:dc='http://purl.org/dc/elements/1.1/'>" +
         metadata +
         "</metadata>"
         "<manifest><item id='ncx' href='toc.ncx' media-type='application/x-dtbncx+xml'/>"
         "<item id='c1' href='Text/chapter01.xhtml' media-type='application/xhtml+xml'/>"
         "</manifest><spine toc='ncx'>" +
         spine + "</spine></package>";
}

class PackageReader : public ::testing::Test {
 protected:
  // Writes the book and opens it with the reader.
  fs::path OpenBook(const EpubBuilder& book, const std::string& name = "book.epub") {
    const fs::path path = folder_ / name;
    book.WriteTo(path);
    reader.Open(path);
    return path;
  }

  static Strings TocEntries(const TEpuB& epub) {
    Strings entries;
    for (const auto& item : epub.Toc) {
      entries.push_back(item.label + "|" + item.entry->NavLabel + "|" + item.entry->ContentSrc);
    }
    return entries;
  }

  // Whether every field is empty, EpubPath included, as after an error.
  static void ExpectReset(const TEpuB& epub) {
    EXPECT_FALSE(epub.Ok);
    EXPECT_TRUE(epub.EpubPath.empty());
    for (const std::string* field :
         {&epub.Title, &epub.Creator, &epub.Identifier, &epub.Version, &epub.CoverPath,
          &epub.GuideCover, &epub.OpfPath, &epub.OpfFolder}) {
      EXPECT_EQ(*field, "");
    }
    EXPECT_TRUE(epub.Subjects.empty());
    EXPECT_TRUE(epub.SpineIdrefs.empty());
    EXPECT_TRUE(epub.SpineHrefs.empty());
    EXPECT_TRUE(epub.Toc.empty());
    EXPECT_EQ(epub.EntryStream.Size(), 0u);
    EXPECT_EQ(epub.LastIndex, -1);
    EXPECT_EQ(epub.CurrentIndex, -1);
  }

  testing::RecordingUserMessages boxes;
  testing::TempDir folder_;
  TEpuB reader;
};

TEST_F(PackageReader, ANewReaderHasReadNothing) {
  EXPECT_FALSE(reader.Ok);
  EXPECT_EQ(reader.LastIndex, 0);
  EXPECT_EQ(reader.CurrentIndex, 0);
  EXPECT_TRUE(reader.SpineHrefs.empty());
}

TEST_F(PackageReader, ReadsMetadataSpineAndTableOfContents) {
  const fs::path path = OpenBook(EpubBuilder().Title("Dawn & Dusk").AddChapters(3));
  ASSERT_TRUE(reader.Ok);
  EXPECT_EQ(reader.EpubPath, path);
  EXPECT_EQ(reader.Title, "Dawn & Dusk");
  EXPECT_EQ(reader.Creator, "Anna Author");
  EXPECT_EQ(reader.Publisher, "Quillmere Test Press");
  EXPECT_EQ(reader.Language, "en");
  EXPECT_EQ(reader.Date, "2021-06-15");
  EXPECT_EQ(reader.Subject, "Fiction");
  EXPECT_EQ(reader.Subjects, Strings{"Fiction"});
  EXPECT_EQ(reader.Identifier, "urn:uuid:3f1a2b4c-0000-4000-8000-000000000001");
  EXPECT_EQ(reader.Version, "2.0");
  EXPECT_EQ(reader.CoverPath, "Images/cover.jpg");
  EXPECT_EQ(reader.GuideCover, "Images/cover.jpg");
  EXPECT_EQ(reader.OpfPath, "OEBPS\\content.opf");
  EXPECT_EQ(reader.OpfFolder, "OEBPS");
  EXPECT_EQ(reader.SpineIdrefs, (Strings{"c1", "c2", "c3"}));
  EXPECT_EQ(reader.SpineHrefs,
            (Strings{"Text\\chapter01.xhtml", "Text\\chapter02.xhtml", "Text\\chapter03.xhtml"}));
  EXPECT_EQ(TocEntries(reader), (Strings{"Chapter 1|Chapter 1|Text/chapter01.xhtml",
                                         "Chapter 2|Chapter 2|Text/chapter02.xhtml",
                                         "Chapter 3|Chapter 3|Text/chapter03.xhtml"}));
  EXPECT_EQ(reader.LastIndex, 2);
  EXPECT_EQ(reader.CurrentIndex, 0);
  EXPECT_TRUE(boxes.messages.empty());
  EXPECT_TRUE(boxes.errors.empty());
}

TEST_F(PackageReader, MetadataTakesFirstValuesAndFallsBackToAnyIdentifier) {
  OpenBook(EpubBuilder().AddChapters(1).ReplaceEntry(
      "OEBPS/content.opf", Opf("<dc:title>First</dc:title><dc:title>Second</dc:title>"
                               "<dc:identifier opf:scheme='ISBN'>978-3-16</dc:identifier>"
                               "<dc:identifier>urn:second</dc:identifier>"
                               "<dc:subject>A</dc:subject><dc:subject>B</dc:subject>"
                               "<dc:description>About</dc:description><dc:source>Paper</dc:source>"
                               "<meta name='calibre:series' content='Saga'/>"
                               "<meta name='calibre:series_index' content='2'/>")));
  ASSERT_TRUE(reader.Ok);
  EXPECT_EQ(reader.Title, "First");
  EXPECT_EQ(reader.Identifier, "978-3-16");  // no identifier carries an id
  EXPECT_EQ(reader.Isbn, "978-3-16");
  EXPECT_EQ(reader.Subject, "A");
  EXPECT_EQ(reader.Subjects, (Strings{"A", "B"}));
  EXPECT_EQ(reader.Description, "About");
  EXPECT_EQ(reader.Source, "Paper");
  EXPECT_EQ(reader.Series, "Saga");
  EXPECT_EQ(reader.SeriesIndex, "2");
  EXPECT_EQ(reader.CoverPath, "");
}

TEST_F(PackageReader, ContainerInAnotherLetterCaseIsNotFound) {
  const fs::path path =
      OpenBook(EpubBuilder().AddChapters(2).ContainerEntryName("meta-inf/container.xml"));
  EXPECT_FALSE(reader.Ok);
  EXPECT_EQ(reader.EpubPath, path);  // a stop, not an error: the path stays
  EXPECT_EQ(reader.OpfPath, "");
  EXPECT_TRUE(boxes.messages.empty());
  EXPECT_TRUE(boxes.errors.empty());
}

TEST_F(PackageReader, OpfAtTheRootTakesTheNcxHrefAlone) {
  OpenBook(EpubBuilder().OpfPath("content.opf").AddChapters(2));
  ASSERT_TRUE(reader.Ok);
  EXPECT_EQ(reader.OpfPath, "content.opf");
  EXPECT_EQ(reader.OpfFolder, "");
  EXPECT_EQ(reader.SpineHrefs, (Strings{"Text\\chapter01.xhtml", "Text\\chapter02.xhtml"}));
  EXPECT_EQ(reader.Toc.size(), 2u);  // extracted from "toc.ncx"
}

TEST_F(PackageReader, NcxInASubfolderIsFoundBesideTheOpf) {
  OpenBook(EpubBuilder().AddChapters(2).NcxHref("toc/toc.ncx"));  // OEBPS\toc\toc.ncx
  ASSERT_TRUE(reader.Ok);
  EXPECT_EQ(TocEntries(reader), (Strings{"Chapter 1|Chapter 1|../Text/chapter01.xhtml",
                                         "Chapter 2|Chapter 2|../Text/chapter02.xhtml"}));
}

TEST_F(PackageReader, MissingOpfEntryStopsSilentlyWithAnEmptySpine) {
  OpenBook(EpubBuilder().AddChapters(2).ReplaceEntry(
      "META-INF/container.xml",
      "<container><rootfiles><rootfile full-path='OEBPS/Content.opf'/></rootfiles></container>"));
  EXPECT_FALSE(reader.Ok);
  EXPECT_EQ(reader.OpfPath, "OEBPS\\Content.opf");  // the entry is OEBPS/content.opf
  EXPECT_EQ(reader.Title, "");
  EXPECT_TRUE(reader.SpineIdrefs.empty());
  EXPECT_FALSE(reader.EpubPath.empty());
  EXPECT_TRUE(boxes.messages.empty());
  EXPECT_TRUE(boxes.errors.empty());
}

TEST_F(PackageReader, SpineThatTheManifestDoesNotResolveStopsBeforeTheFolder) {
  OpenBook(EpubBuilder().AddChapters(1).ReplaceEntry(
      "OEBPS/content.opf",
      Opf("<dc:title>Orphans</dc:title>", "<itemref idref='x1'/><itemref idref='C1'/>")));
  EXPECT_FALSE(reader.Ok);
  EXPECT_EQ(reader.Title, "Orphans");
  EXPECT_EQ(reader.SpineIdrefs, (Strings{"x1", "C1"}));
  EXPECT_TRUE(reader.SpineHrefs.empty());
  EXPECT_EQ(reader.OpfFolder, "");  // worked out only for a resolved spine
  EXPECT_TRUE(reader.Toc.empty());
  EXPECT_EQ(reader.LastIndex, -1);
}

TEST_F(PackageReader, SpineWithoutTocGivesAnEmptyTableOfContents) {
  OpenBook(EpubBuilder().AddChapters(2).WithNcx(false));
  ASSERT_TRUE(reader.Ok);
  EXPECT_TRUE(reader.Toc.empty());
  EXPECT_EQ(reader.LastIndex, 1);
  EXPECT_TRUE(boxes.errors.empty());
}

TEST_F(PackageReader, NamedNcxThatIsMissingGivesAnEmptyTableOfContents) {
  // The OPF names OEBPS\toc.ncx; the book keeps its NCX at OEBPS\nav\toc.ncx.
  OpenBook(EpubBuilder()
               .AddChapters(1)
               .NcxHref("nav/toc.ncx")
               .ReplaceEntry("OEBPS/content.opf", Opf("")));
  ASSERT_TRUE(reader.Ok);
  EXPECT_TRUE(reader.Toc.empty());
  EXPECT_TRUE(boxes.errors.empty());
}

TEST_F(PackageReader, DocumentThatFailsToParseResetsEverythingSilently) {
  const std::string malformed = "<?xml version='1.0'?><a><b></a>";
  for (const std::string entry : {"META-INF/container.xml", "OEBPS/content.opf", "OEBPS/toc.ncx"}) {
    SCOPED_TRACE(entry);
    OpenBook(EpubBuilder().AddChapters(2).ReplaceEntry(entry, malformed));
    ExpectReset(reader);
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_TRUE(boxes.errors.empty());
  }
}

TEST_F(PackageReader, SkippingTocEntriesStillParsesTheNcx) {
  const fs::path path = folder_ / "book.epub";
  EpubBuilder().AddChapters(2).WriteTo(path);
  reader.Open(BookArchive::Open(path), TEpuB::TocEntries::kSkip);
  ASSERT_TRUE(reader.Ok);
  EXPECT_EQ(reader.SpineHrefs, (Strings{"Text\\chapter01.xhtml", "Text\\chapter02.xhtml"}));
  EXPECT_TRUE(reader.Toc.empty());

  EpubBuilder().AddChapters(2).ReplaceEntry("OEBPS/toc.ncx", "<ncx><navMap></ncx>").WriteTo(path);
  reader.Open(BookArchive::Open(path), TEpuB::TocEntries::kSkip);
  ExpectReset(reader);
}

TEST_F(PackageReader, FileThatIsNoArchiveShowsExactlyOneErrorBox) {
  const fs::path path = folder_ / "notes.epub";
  testing::WriteFile(path, "just some text, not an archive\n");
  reader.Open(path);
  EXPECT_FALSE(reader.Ok);
  EXPECT_EQ(reader.EpubPath, path);
  EXPECT_EQ(boxes.errors, Strings{"Hibas archívumtípus"});
  EXPECT_TRUE(boxes.messages.empty());

  boxes.errors.clear();
  reader.Open(folder_ / "absent.epub");
  EXPECT_EQ(boxes.errors, Strings{"Fájl nem található"});
}

TEST_F(PackageReader, MetadataErrorIsShownWithThePathAndReadingGoesOn) {
  // Without auto-creation, the series lookup on a meta without a name raises.
  reader.Queries().Xml().Options().Exclude(sxoAutoCreate);
  const fs::path path = OpenBook(EpubBuilder().AddChapters(1).ReplaceEntry(
      "OEBPS/content.opf",
      Opf("<dc:title>Kept</dc:title><dc:identifier id='uid'>urn:kept</dc:identifier>"
          "<meta property='dcterms:modified'>2021</meta><dc:subject>Lost</dc:subject>")));
  ASSERT_EQ(boxes.messages.size(), 1u);
  EXPECT_EQ(boxes.messages[0], "Epub Metadata Read Error\n\r\n\r\n\r" + path.string());
  EXPECT_EQ(reader.Title, "Kept");
  EXPECT_EQ(reader.Identifier, "urn:kept");
  EXPECT_TRUE(reader.Subjects.empty());  // read after the failing step
  EXPECT_TRUE(reader.Ok);
  EXPECT_EQ(reader.SpineHrefs, Strings{"Text\\chapter01.xhtml"});
}

TEST_F(PackageReader, ResultsAreTheReadersOwnCopies) {
  OpenBook(EpubBuilder().AddChapters(3), "first.epub");
  TEpuB second;
  second.Open(folder_ / "first.epub");
  OpenBook(EpubBuilder().OpfPath("content.opf").AddChapters(1).Title("Other"), "other.epub");
  ASSERT_TRUE(reader.Ok);
  reader.Queries().TocList().clear();
  reader.Queries().SpineHrefList().clear();
  EXPECT_EQ(second.SpineHrefs.size(), 3u);
  EXPECT_EQ(second.SpineIdrefs.size(), 3u);
  ASSERT_EQ(second.Toc.size(), 3u);
  EXPECT_EQ(second.Toc[2].entry->ContentSrc, "Text/chapter03.xhtml");
  EXPECT_EQ(reader.SpineHrefs, Strings{"Text\\chapter01.xhtml"});
}

TEST_F(PackageReader, ReopeningStartsFromAResetReader) {
  OpenBook(EpubBuilder().AddChapters(2));
  ASSERT_TRUE(reader.Ok);
  const fs::path path =
      OpenBook(EpubBuilder().AddChapters(2).ContainerEntryName("container.xml"), "bare.epub");
  EXPECT_FALSE(reader.Ok);
  EXPECT_EQ(reader.EpubPath, path);
  EXPECT_EQ(reader.Title, "");
  EXPECT_TRUE(reader.SpineHrefs.empty());
  EXPECT_TRUE(reader.Toc.empty());
  EXPECT_EQ(reader.LastIndex, -1);

  reader.Reset();
  ExpectReset(reader);
}

TEST_F(PackageReader, ExtractEntryMatchesTheWholeArchivePathExactly) {
  testing::ZipWriter zip;
  zip.Add("Text/a.xhtml", "first");
  zip.Add("Text/b.xhtml", "second");
  const fs::path path = folder_ / "plain.zip";
  zip.WriteTo(path);

  MemoryStream stream(std::string("kept:"));
  stream.SetPosition(stream.Size());
  EXPECT_TRUE(reader.ExtractEntry(path, "Text\\b.xhtml", stream));
  EXPECT_EQ(stream.Bytes(), "kept:second");  // written at the position, not emptied
  EXPECT_EQ(stream.Position(), 0u);

  for (const char* other : {"Text/b.xhtml", "text\\b.xhtml", "b.xhtml", "Text\\b.xhtm", ""}) {
    MemoryStream untouched(std::string("x"));
    EXPECT_FALSE(reader.ExtractEntry(path, other, untouched)) << other;
    EXPECT_EQ(untouched.Bytes(), "x");
    EXPECT_EQ(untouched.Position(), 0u);
  }
  EXPECT_TRUE(boxes.errors.empty());
}

// Of two entries whose names differ only in letter case, the one named
// exactly is read, whichever comes later.
TEST_F(PackageReader, ReadsTheExactlyNamedOfCaseVariantEntries) {
  testing::ZipWriter zip = EpubBuilder().Title("Exact").AddChapters(1).ToZip();
  zip.Add("oebps/CONTENT.OPF",
          "<package><metadata><dc:title>Variant</dc:title></metadata></package>");
  const fs::path path = folder_ / "variants.epub";
  zip.WriteTo(path);
  reader.Open(path);
  EXPECT_TRUE(reader.Ok);
  EXPECT_EQ(reader.Title, "Exact");
}

TEST_F(PackageReader, DamagedBooksNeverLetAnErrorEscape) {
  const std::string book = EpubBuilder().AddChapters(3).Build();
  const fs::path path = folder_ / "damaged.epub";
  for (std::size_t cut = 0; cut < book.size(); cut += 13) {
    testing::WriteFile(path, book.substr(0, cut));
    EXPECT_NO_THROW(reader.Open(path));
    EXPECT_FALSE(reader.Ok) << cut;
  }
  for (std::size_t at = 0; at < book.size(); at += 7) {
    std::string damaged = book;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
    testing::WriteFile(path, damaged);
    EXPECT_NO_THROW(reader.Open(path));
  }
}

}  // namespace
}  // namespace quill
