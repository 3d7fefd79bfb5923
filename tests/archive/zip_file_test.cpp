#include "archive/zip_file.h"

#include <gtest/gtest.h>
#include <filesystem>

#include "base/error.h"
#include "raised_error.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::RaisedBy;
using testing::ZipEntry;
using testing::ZipWriter;

constexpr const char* kReadError = "EZipException: Error reading zip file";
constexpr const char* kBadSignature = "EZipException: Invalid Zip Central Header signature";
constexpr const char* kNotOpen = "EZipException: File must be open";

// A bare end record: no comment unless commentLength says so.
std::string EndRecord(std::uint16_t entries, std::uint32_t offset,
                      std::uint16_t commentLength = 0) {
  ZipWriter record;
  record.layout().totalEntries = entries;
  record.layout().directoryOffset = offset;
  record.layout().commentLength = commentLength;
  return record.Build();
}

class ZipFileTest : public ::testing::Test {
 protected:
  fs::path Write(const std::string& bytes, const std::string& name = "a.zip") {
    testing::WriteFile(dir_ / name, bytes);
    return dir_ / name;
  }
  fs::path Write(const ZipWriter& zip) { return Write(zip.Build()); }

  // Opens the file; returns the names, or the error as RaisedBy gives it.
  std::string Listing(const fs::path& path) {
    TZipFile zip;
    std::string listing;
    const std::string raised = RaisedBy([&] {
      zip.Open(path);
      for (const std::string& name : zip.FileNames()) listing += name + ";";
    });
    return raised == "nothing raised" ? listing : raised;
  }

  testing::TempDir dir_;
};

TEST_F(ZipFileTest, OnlyAFileWithAnEndRecordIsValid) {
  EXPECT_FALSE(TZipFile::IsValid(dir_ / "missing.zip"));
  EXPECT_FALSE(TZipFile::IsValid(dir_.path()));
  EXPECT_FALSE(TZipFile::IsValid(Write("")));
  EXPECT_FALSE(TZipFile::IsValid(Write("PK\x05\x06")));
  EXPECT_FALSE(TZipFile::IsValid(Write(std::string(5000, 'x'))));
  // Whatever precedes a well-formed record, the file passes.
  EXPECT_TRUE(TZipFile::IsValid(Write(std::string(5000, 'x') + EndRecord(0, 0))));
  EXPECT_TRUE(TZipFile::IsValid(Write(ZipWriter().Add("a.txt", "a"))));
}

TEST_F(ZipFileTest, OpenReportsEachKindOfFailure) {
  const fs::path missing = dir_ / "missing.zip";
  EXPECT_EQ(RaisedBy([&] {
              TZipFile().Open(missing);
            }).rfind("EFOpenError: Cannot open file \"" + missing.string() + "\". ", 0),
            0u);
  EXPECT_EQ(Listing(Write("")), "EZipException: Stream read error");
  EXPECT_EQ(Listing(Write("not a zip at all")), kReadError);
  // A record whose offset leads to anything but central headers.
  EXPECT_EQ(Listing(Write(std::string(100, 'x') + EndRecord(1, 0))), kBadSignature);
  EXPECT_EQ(Listing(Write(std::string(100, 'x') + EndRecord(0, 0))), "");
}

TEST_F(ZipFileTest, CountsAndOffsetsPastTheEndAreErrorsNotReads) {
  ZipWriter zip;
  zip.Add("a.txt", "a");
  zip.layout().totalEntries = 2;  // the second "header" is the end record
  EXPECT_EQ(Listing(Write(zip)), kBadSignature);
  zip.layout().totalEntries = 0xFFFF;
  EXPECT_EQ(Listing(Write(zip)), kBadSignature);
  zip.layout().totalEntries.reset();
  for (const std::uint32_t offset : {0xFFFFFFFFu, 0x7FFFFFFFu}) {
    zip.layout().directoryOffset = offset;
    EXPECT_EQ(Listing(Write(zip)), kBadSignature);
  }
  // Two bytes of a signature before the end of the file.
  const std::string twoBytes = "PK" + EndRecord(1, 0);
  EXPECT_EQ(Listing(Write(twoBytes + std::string("\0\0", 2))), kBadSignature);
}

TEST_F(ZipFileTest, ADirectoryThatEndsShortIsAReadError) {
  // A central header cut inside its fixed fields by the end of the file.
  const std::string cut = std::string("PK\x01\x02", 4) + std::string(10, '\0');
  EXPECT_EQ(Listing(Write(cut + EndRecord(1, 0))), kReadError);

  // A name, extra field or entry comment longer than what is left.
  const std::string whole = ZipWriter().Add("a.txt", "a").Build();
  const std::size_t header = whole.find("PK\x01\x02");
  for (const std::size_t lengthField : {28u, 30u, 32u}) {
    std::string broken = whole;
    testing::PutLittleEndian(broken, header + lengthField, 0xFFFF, 2);
    EXPECT_EQ(Listing(Write(broken)), kReadError) << "length field at " << lengthField;
  }
}

TEST_F(ZipFileTest, AnyCorruptionOfTheDirectoryGivesAnAnswerOrADirectoryError) {
  ZipWriter zip;
  zip.Add("mimetype", "application/epub+zip").Add("OEBPS/a.xhtml", "<html/>");
  zip.layout().archiveComment = "c";
  const std::string whole = zip.Build();
  const fs::path path = dir_ / "corrupt.zip";
  for (std::size_t at = whole.find("PK\x01\x02"); at < whole.size(); ++at) {
    std::string corrupt = whole;
    corrupt[at] = static_cast<char>(~corrupt[at]);
    testing::WriteFile(path, corrupt);
    TZipFile reader;
    try {
      reader.Open(path);
      EXPECT_EQ(reader.FileNames().size(), static_cast<std::size_t>(reader.FileCount()));
    } catch (const Error& error) {
      EXPECT_EQ(error.kind(), "EZipException") << "byte " << at;
    }
  }
}

TEST_F(ZipFileTest, FindsTheRecordNearestTheEndWithAnyCommentLength) {
  // Comment lengths around the 1024-byte steps of the search and its limit.
  for (const std::size_t length : {0u, 1001u, 1002u, 1003u, 1006u, 1007u, 2026u, 2027u, 2030u,
                                   16362u, 16363u, 65513u, 65514u, 65535u}) {
    ZipWriter zip;
    zip.Add("a.txt", "a");
    zip.layout().prefix = std::string(70000, 'p');  // so that every step reads a full chunk
    zip.layout().archiveComment = std::string(length, 'c');
    const fs::path path = Write(zip);
    EXPECT_TRUE(TZipFile::IsValid(path)) << length;
    TZipFile reader;
    reader.Open(path);
    EXPECT_EQ(reader.Comment().size(), length);
    EXPECT_EQ(reader.FileCount(), 1);
  }
  // One byte more after the longest comment puts the record out of reach.
  ZipWriter tooFar;
  tooFar.layout().archiveComment = std::string(65535, 'c');
  tooFar.layout().trailing = "t";
  EXPECT_FALSE(TZipFile::IsValid(Write(tooFar)));
  EXPECT_EQ(Listing(Write(tooFar)), kReadError);
}

TEST_F(ZipFileTest, TheRecordNearestTheEndWinsAndAnIncompleteOneIsPassedOver) {
  ZipWriter zip;
  zip.Add("a.txt", "a");
  // An empty archive's record hidden in the comment is nearer the end.
  zip.layout().archiveComment = EndRecord(0, 0);
  EXPECT_EQ(Listing(Write(zip)), "");

  // A signature too near the end to carry its fields does not count.
  zip.layout().archiveComment.clear();
  zip.layout().trailing = std::string("PK\x05\x06", 4) + std::string(17, '\0');
  EXPECT_TRUE(TZipFile::IsValid(Write(zip)));
  EXPECT_EQ(Listing(Write(zip)), "a.txt;");
}

TEST_F(ZipFileTest, UsesTheRecordsOffsetAndCountButNotItsDirectorySize) {
  ZipWriter zip;
  for (int i = 0; i < 3000; ++i) {
    ZipEntry entry;
    entry.name = "OEBPS/Text/chapter-with-a-long-name-" + std::to_string(i) + ".xhtml";
    entry.method = 0;
    zip.Add(entry);
  }
  zip.layout().beforeEndRecord = std::string(70000, 'g');  // bytes between directory and record
  for (const std::uint32_t declared : {0u, 1000u, 0xFFFFFFFFu}) {
    zip.layout().directorySize = declared;
    TZipFile reader;
    reader.Open(Write(zip));
    ASSERT_EQ(reader.FileCount(), 3000) << declared;
    EXPECT_EQ(reader.FileNames().back(), "OEBPS/Text/chapter-with-a-long-name-2999.xhtml");
  }
}

TEST_F(ZipFileTest, DecodesEachNameByItsOwnFlag) {
  ZipWriter zip;
  ZipEntry utf8;
  utf8.name = "\xC3\xA9";
  utf8.flag = 0x0800;
  ZipEntry cp437 = utf8;
  cp437.flag = 0;
  zip.Add(utf8).Add(cp437).Add("same", "1").Add("same", "2");
  zip.layout().archiveComment = "caf\x82";
  TZipFile reader;
  reader.Open(Write(zip));
  EXPECT_EQ(reader.FileNames(), (std::vector<std::string>{"é", "├⌐", "same", "same"}));
  EXPECT_EQ(reader.FileInfo(0).FileNameCodePage(), kCodePageUtf8);
  EXPECT_EQ(reader.FileInfo(1).FileNameCodePage(), kCodePageIbm437);
  EXPECT_EQ(reader.Comment(), "café");
}

TEST_F(ZipFileTest, FileInfoCopiesEveryFieldAsStored) {
  ZipEntry entry;
  entry.name = "dir/name.xhtml";
  entry.data = "content";
  entry.method = 0;
  entry.flag = 0x0808;
  entry.madeBy = 0x0314;
  entry.versionNeeded = 0x0A;
  entry.modified = 0x00000000;  // impossible, still stored as is
  entry.crc = 0x12345678;
  entry.uncompressedSize = 0xFFFFFFFF;
  entry.externalAttributes = 0x81A40000;
  entry.internalAttributes = 1;
  entry.extra = std::string("\x55\x54\x01\x00\x07", 5);
  entry.comment = "note";
  ZipEntry second;
  second.name = "b";
  second.extra = std::string("\x01\x00\x00\x00", 4);
  second.comment = "second note";
  ZipWriter zip;
  zip.layout().prefix = "SFX";
  zip.Add(entry).Add(second);
  TZipFile reader;
  reader.Open(Write(zip));
  const TZipHeader b = reader.FileInfo(1);
  EXPECT_EQ(b.FileName, "b");
  EXPECT_EQ(b.ExtraField, second.extra);
  EXPECT_EQ(b.FileComment, "second note");
  const TZipHeader h = reader.FileInfo(0);
  EXPECT_EQ(h.MadeByVersion, 0x0314);
  EXPECT_EQ(h.RequiredVersion, 0x0A);
  EXPECT_EQ(h.Flag, 0x0808);
  EXPECT_EQ(h.CompressionMethod, 0);
  EXPECT_EQ(h.ModifiedDateTime, 0u);
  EXPECT_EQ(h.CRC32, 0x12345678u);
  EXPECT_EQ(h.CompressedSize, 7u);
  EXPECT_EQ(h.UncompressedSize, 0xFFFFFFFFu);
  EXPECT_EQ(h.FileNameLength, 14);
  EXPECT_EQ(h.ExtraFieldLength, 5);
  EXPECT_EQ(h.FileCommentLength, 4);
  EXPECT_EQ(h.DiskNumberStart, 0);
  EXPECT_EQ(h.InternalAttributes, 1);
  EXPECT_EQ(h.ExternalAttributes, 0x81A40000u);
  EXPECT_EQ(h.LocalHeaderOffset, 3u);
  EXPECT_EQ(h.FileName, "dir/name.xhtml");
  EXPECT_EQ(h.ExtraField, entry.extra);
  EXPECT_EQ(h.FileComment, "note");

  const ZipEntryView view = reader.Entry(0);
  EXPECT_EQ(view.fileName, "dir/name.xhtml");
  EXPECT_EQ(view.flag, 0x0808);
  EXPECT_EQ(view.modifiedDateTime, 0u);
}

TEST_F(ZipFileTest, CommentIsWhatTheFileHolds) {
  ZipWriter zip;
  zip.Add("a.txt", "a");
  zip.layout().archiveComment = std::string(100, 'c');
  zip.layout().commentLength = 300;  // runs past the end of the file
  TZipFile reader;
  reader.Open(Write(zip));
  EXPECT_EQ(reader.Comment(), std::string(100, 'c'));
}

TEST_F(ZipFileTest, ModeAndAccessFollowOpenAndClose) {
  TZipFile reader;
  EXPECT_EQ(reader.Mode(), TZipMode::zmClosed);
  EXPECT_EQ(RaisedBy([&] { reader.FileCount(); }), kNotOpen);
  reader.Close();  // nothing to close

  ZipWriter zip;
  zip.Add("a.txt", "a");
  zip.layout().archiveComment = "comment";
  const fs::path good = Write(zip);
  reader.Open(good);
  EXPECT_EQ(reader.Mode(), TZipMode::zmRead);
  EXPECT_EQ(RaisedBy([&] { reader.FileInfo(1); }),
            "EArgumentOutOfRangeException: Argument out of range");
  EXPECT_EQ(RaisedBy([&] { reader.FileInfo(-1); }),
            "EArgumentOutOfRangeException: Argument out of range");
  EXPECT_EQ(RaisedBy([&] { reader.Entry(1); }),
            "EArgumentOutOfRangeException: Argument out of range");

  reader.Close();
  EXPECT_EQ(reader.Mode(), TZipMode::zmClosed);
  EXPECT_EQ(RaisedBy([&] { reader.FileCount(); }), kNotOpen);
  EXPECT_EQ(RaisedBy([&] { reader.FileNames(); }), kNotOpen);
  EXPECT_EQ(RaisedBy([&] { reader.FileInfo(0); }), kNotOpen);
  EXPECT_EQ(RaisedBy([&] { reader.Entry(0); }), kNotOpen);
  EXPECT_EQ(reader.Comment(), "");

  // A failed Open closes what was open before.
  reader.Open(good);
  EXPECT_EQ(RaisedBy([&] { reader.Open(Write("no zip", "bad.zip")); }), kReadError);
  EXPECT_EQ(reader.Mode(), TZipMode::zmClosed);
  EXPECT_EQ(RaisedBy([&] { reader.FileCount(); }), kNotOpen);
}

TEST_F(ZipFileTest, LeavesTheFileUnchangedAndOpensReadOnlyFiles) {
  const fs::path path = Write(ZipWriter().Add("a.txt", "a").Add("b.xhtml", "b"));
  const auto past = fs::last_write_time(path) - std::chrono::hours(24 * 400);
  fs::last_write_time(path, past);
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const std::string bytes = testing::ReadFile(path);

  ASSERT_TRUE(TZipFile::IsValid(path));
  for (int i = 0; i < 2; ++i) {
    TZipFile reader;
    reader.Open(path);
    EXPECT_EQ(reader.FileCount(), 2);
    reader.Close();
  }
  EXPECT_EQ(testing::ReadFile(path), bytes);
  EXPECT_EQ(fs::last_write_time(path), past);
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

}  // namespace
}  // namespace quill
