#include "archive/unzipper.h"

#include <gtest/gtest.h>

#include <string>

#include "base/memory_stream.h"
#include "raised_error.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

using testing::Crc32;
using testing::ExtraField;
using testing::LittleEndian;
using testing::RaisedBy;
using testing::UnicodePathField;
using testing::ZipEntry;
using testing::ZipWriter;

constexpr const char* kInvalid = "EAbZipInvalid: Érvénytelen fájl – nem PKZip fájl";
constexpr const char* kUnhandled = "EAbUnhandledType: Hibas archívumtípus";

class UnzipperTest : public ::testing::Test {
 protected:
  // Writes the archive and opens it in `unzipper`.
  void Open(const ZipWriter& zip) { Open(zip.Build()); }
  void Open(const std::string& bytes) {
    testing::WriteFile(path_, bytes);
    unzipper.SetFileName(path_);
  }
  std::string OpenError(const std::string& bytes) {
    testing::WriteFile(path_, bytes);
    return RaisedBy([&] { unzipper.SetFileName(path_); });
  }
  // The bytes that ExtractEntryToStream writes for the name into a fresh stream.
  std::string Extracted(std::string_view name) {
    MemoryStream stream;
    unzipper.ExtractEntryToStream(name, stream);
    return stream.Bytes();
  }
  std::string NameOf(ZipEntry entry) {
    Open(ZipWriter().Add(std::move(entry)));
    return std::string(unzipper.Items(0).fileName);
  }

  testing::TempDir dir_;
  std::filesystem::path path_ = dir_ / "book.epub";
  TAbUnZipper unzipper;
};

TEST_F(UnzipperTest, OpeningErrorsCarryTheirKindAndText) {
  EXPECT_EQ(RaisedBy([&] { unzipper.SetFileName(dir_ / "missing.epub"); }),
            "EAbFileNotFound: Fájl nem található");
  EXPECT_EQ(RaisedBy([&] { unzipper.SetFileName(dir_.path()); }),
            "EAbFileNotFound: Fájl nem található");
  EXPECT_EQ(OpenError(""), "EAbBadStream: Érvénytelen adatfolyam");
  EXPECT_EQ(OpenError("<html>not a book</html>"), kUnhandled);
  EXPECT_EQ(OpenError("PK\x05\x06"), kUnhandled);

  ZipWriter spanned = ZipWriter().Add("a.txt", "a");
  spanned.layout().diskNumber = 1;
  EXPECT_EQ(OpenError(spanned.Build()), kUnhandled);

  ZipWriter offsetAstray = ZipWriter().Add("a.txt", "a");
  offsetAstray.layout().directoryOffset = 3;
  EXPECT_EQ(OpenError(offsetAstray.Build()), kInvalid);

  ZipWriter tooManyEntries = ZipWriter().Add("a.txt", "a");
  tooManyEntries.layout().totalEntries = 2;
  EXPECT_EQ(OpenError(tooManyEntries.Build()), "EReadError: Stream read error");

  ZipWriter markersWithoutLocator = ZipWriter().Add("a.txt", "a");
  markersWithoutLocator.layout().totalEntries = 0xFFFF;
  EXPECT_EQ(OpenError(markersWithoutLocator.Build()), kInvalid);

  // A failed opening leaves nothing open, even after a good archive.
  Open(ZipWriter().Add("a.txt", "a"));
  EXPECT_EQ(OpenError("junk"), kUnhandled);
  EXPECT_EQ(unzipper.Count(), 0u);
  EXPECT_TRUE(unzipper.FileName().empty());
}

TEST_F(UnzipperTest, TakesTheEndRecordNearestTheEndWhoseCommentFits) {
  ZipWriter zip = ZipWriter().Add("real.txt", "real");
  // A signature in the archive comment whose comment length runs past the file.
  zip.layout().archiveComment = std::string(40, 'c') + "PK\x05\x06" + std::string(16, '\0') +
                                "\xFF\xFF" + std::string(60, 'c');
  zip.layout().trailing = std::string(300, 't');
  zip.layout().commentLength = 0;  // the trailing bytes make the real record's comment fit
  Open(zip);
  ASSERT_EQ(unzipper.Count(), 1u);
  EXPECT_EQ(Extracted("real.txt"), "real");

  // An executable stub in front counts as an archive as long as the offsets hold.
  ZipWriter stub = ZipWriter().Add("a.txt", "a");
  stub.layout().prefix = "MZ" + std::string(200, '\x90');
  Open(stub);
  EXPECT_EQ(Extracted("a.txt"), "a");
}

TEST_F(UnzipperTest, ReadsZip64RecordsAndExtendedInformation) {
  ZipWriter zip;
  ZipEntry big;
  big.name = "OEBPS/big.xhtml";
  big.data = std::string(5000, 'x');
  big.zip64 = true;
  zip.Add(big).Add("small.txt", "small");
  zip.layout().zip64 = true;
  Open(zip);
  ASSERT_EQ(unzipper.Count(), 2u);
  EXPECT_EQ(unzipper.Items(0).uncompressedSize, 5000u);
  EXPECT_EQ(unzipper.Items(0).localHeaderOffset, 0u);
  EXPECT_EQ(Extracted("OEBPS/big.xhtml"), big.data);
  EXPECT_EQ(Extracted("small.txt"), "small");

  // A ZIP64 field too short for the values its markers announce.
  ZipEntry cut;
  cut.name = "cut.txt";
  cut.method = 0;
  cut.uncompressedSize = 0xFFFFFFFF;
  cut.extra = ExtraField(0x0001, "1234");
  EXPECT_EQ(OpenError(ZipWriter().Add(cut).Build()), "EReadError: Stream read error");
}

TEST_F(UnzipperTest, DecodesNamesByTheFirstRuleThatApplies) {
  ZipEntry entry;
  entry.name = "\xC3\xA9.xhtml";  // é in UTF-8
  EXPECT_EQ(NameOf(entry), "é.xhtml") << "UTF-8 by shape, no flag";
  entry.flag = 0x0800;
  EXPECT_EQ(NameOf(entry), "é.xhtml");

  entry = {};
  entry.name = "\x82t\x82.txt";  // "été" in code page 437, not UTF-8 by shape
  EXPECT_EQ(NameOf(entry), "été.txt");

  entry.extra = UnicodePathField(Crc32(entry.name), "\xC3\xA1rv\xC3\xADz.txt");
  EXPECT_EQ(NameOf(entry), "árvíz.txt") << "Unicode Path field";
  entry.extra = UnicodePathField(Crc32("other"), "\xC3\xA1rv\xC3\xADz.txt");
  EXPECT_EQ(NameOf(entry), "été.txt") << "a Unicode Path field for another name is ignored";

  const std::string utf16 = std::string("\x51\x00\x4E\x00\x58\x00\xE9\x00", 8);  // "QNXé"
  entry.extra = ExtraField(0x554E, "NUCX" + LittleEndian(4, 4) + utf16);
  EXPECT_EQ(NameOf(entry), "QNXé");
  entry.extra = ExtraField(0x554E, "NUCX" + LittleEndian(5, 4) + utf16);
  EXPECT_EQ(NameOf(entry), "été.txt") << "a count that disagrees with the size";
}

// Stored and decoded names, extra fields and comments of many entries share
// one buffer; each entry must still read its own.
TEST_F(UnzipperTest, EachEntryKeepsItsOwnTexts) {
  ZipWriter zip;
  for (int i = 0; i < 300; ++i) {
    ZipEntry entry;
    entry.name = i % 3 == 1 ? "\x82t\x82-" + std::to_string(i) : "OEBPS/Text/" + std::to_string(i);
    if (i % 5 == 0) entry.extra = ExtraField(0xCAFE, std::to_string(i));
    if (i % 7 == 0) entry.comment = "note " + std::to_string(i);
    zip.Add(entry);
  }
  Open(zip);
  ASSERT_EQ(unzipper.Count(), 300u);
  for (std::size_t i = 0; i < unzipper.Count(); ++i) {
    const TAbZipItem& item = unzipper.Items(i);
    const std::string number = std::to_string(i);
    SCOPED_TRACE(number);
    EXPECT_EQ(item.fileName, i % 3 == 1 ? "été-" + number : "OEBPS/Text/" + number);
    EXPECT_EQ(item.rawName, i % 3 == 1 ? "\x82t\x82-" + number : "OEBPS/Text/" + number);
    EXPECT_EQ(item.extraField, i % 5 == 0 ? ExtraField(0xCAFE, number) : "");
    EXPECT_EQ(item.comment, i % 7 == 0 ? "note " + number : "");
  }
}

TEST_F(UnzipperTest, StreamLookupFoldsAsciiCaseAndTakesTheLatestMatch) {
  Open(ZipWriter()
           .Add("OEBPS/content.opf", "package")
           .Add("a.xhtml", "first")
           .Add("A.xhtml", "second")
           .Add("\xC3\xA9.xhtml", "small e")
           .Add("\xC3\x89.xhtml", "capital E"));
  EXPECT_EQ(Extracted("oebps/CONTENT.OPF"), "package");
  EXPECT_EQ(Extracted("a.xhtml"), "second");
  EXPECT_EQ(Extracted("é.xhtml"), "small e") << "only A to Z fold";
  EXPECT_EQ(Extracted("OEBPS\\content.opf"), "");
  EXPECT_EQ(Extracted("missing"), "");

  MemoryStream stream(std::string("0123456789"));
  stream.SetPosition(4);
  unzipper.ExtractEntryToStream("a.xhtml", stream);
  EXPECT_EQ(stream.Bytes(), "0123second");
}

TEST_F(UnzipperTest, EveryLookupOfAnOpenArchiveFindsTheLatestMatch) {
  ZipWriter zip;
  for (int i = 0; i < 300; ++i) zip.Add("Text/c" + std::to_string(i) + ".xhtml", std::to_string(i));
  zip.Add("text/C7.XHTML", "again");
  Open(zip);
  // The first lookup walks the names, later ones go through the index.
  EXPECT_EQ(Extracted("TEXT/c7.xhtml"), "again");
  EXPECT_EQ(Extracted("text/c7.xhtml"), "again");
  for (int i = 0; i < 300; i += 37) {
    EXPECT_EQ(Extracted("TEXT/C" + std::to_string(i) + ".XHTML"),
              i == 7 ? "again" : std::to_string(i));
  }
  EXPECT_EQ(Extracted("Text/c300.xhtml"), "");
}

TEST_F(UnzipperTest, EntriesThatCannotBeExtractedWriteNothingAndRaiseNothing) {
  ZipWriter zip;
  ZipEntry encrypted;
  encrypted.name = "encrypted";
  encrypted.data = "secret";
  encrypted.flag = 0x0001;
  ZipEntry unknownMethod;
  unknownMethod.name = "method99";
  unknownMethod.data = "data";
  unknownMethod.method = 99;
  ZipEntry futureVersion;
  futureVersion.name = "version64";
  futureVersion.data = "data";
  futureVersion.versionNeeded = 64;
  ZipEntry noLocalHeader;
  noLocalHeader.name = "astray";
  noLocalHeader.data = "data";
  noLocalHeader.localHeaderOffset = 1;
  ZipEntry corrupt;
  corrupt.name = "corrupt";
  corrupt.data = "data";
  corrupt.rawData = "\xFF\xFF\xFF\xFF";
  ZipEntry empty;
  empty.name = "empty";
  empty.method = 99;  // nothing to decode, so the method is never looked at
  Open(zip.Add(encrypted)
           .Add(unknownMethod)
           .Add(futureVersion)
           .Add(noLocalHeader)
           .Add(corrupt)
           .Add(empty));
  for (const char* name : {"encrypted", "method99", "version64", "astray", "corrupt", "empty"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(RaisedBy([&] { EXPECT_EQ(Extracted(name), ""); }), "nothing raised");
  }
}

TEST_F(UnzipperTest, ShortDataKeepsWhatWasWrittenAndABadChecksumKeepsAll) {
  ZipEntry shortStored;
  shortStored.name = "short";
  shortStored.method = 0;
  shortStored.data = "abc";
  shortStored.uncompressedSize = 10;
  ZipEntry badCrc;
  badCrc.name = "badcrc";
  badCrc.data = "checked";
  badCrc.crc = 1234;
  Open(ZipWriter().Add(shortStored).Add(badCrc));
  EXPECT_EQ(Extracted("badcrc"), "checked");
  EXPECT_EQ(Extracted("short"), "abc");
}

TEST_F(UnzipperTest, InflatingStopsAtTheDeclaredSizeAndTheStreamIsCapped) {
  const std::string zeros(4 * 1024 * 1024, '\0');
  ZipEntry liar;
  liar.name = "liar";
  liar.data = zeros;
  liar.uncompressedSize = 1000;
  ZipEntry huge;
  huge.name = "huge";
  huge.rawData = testing::DeflateRaw(zeros);
  huge.uncompressedSize = TAbUnZipper::kMaxStreamEntrySize + 1;
  Open(ZipWriter().Add(liar).Add(huge));
  EXPECT_EQ(Extracted("liar"), std::string(1000, '\0'));
  EXPECT_EQ(Extracted("huge"), "");
}

TEST_F(UnzipperTest, ClosingForgetsTheArchive) {
  Open(ZipWriter().Add("a.txt", "a"));
  unzipper.SetFileName("");
  EXPECT_EQ(unzipper.Count(), 0u);
  EXPECT_EQ(Extracted("a.txt"), "");
  EXPECT_EQ(RaisedBy([&] { unzipper.Items(0); }),
            "EArgumentOutOfRangeException: Argument out of range");
}

}  // namespace
}  // namespace quill
