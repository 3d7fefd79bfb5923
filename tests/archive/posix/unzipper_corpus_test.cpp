// Real-world archives: every published book unpacks completely and exactly;
// every deliberately broken archive opens and extracts, or fails with one of
// the opening errors, and never crashes or writes outside its folder.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <map>
#include <set>
#include <string>

#include "archive/unpack_to_folder.h"
#include "archive/unzipper.h"
#include "base/memory_stream.h"
#include "corpus.h"
#include "raised_error.h"
#include "recording_user_messages.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::CorpusFiles;
using testing::RaisedBy;

std::uint32_t LocalDosTimeOf(const fs::path& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  std::tm local{};
  ::localtime_r(&info.st_mtime, &local);
  return testing::DosDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                              local.tm_min, local.tm_sec);
}

std::set<std::string> FilesUnder(const fs::path& folder) {
  std::set<std::string> files;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    if (!item.is_directory()) files.insert(fs::relative(item.path(), folder).string());
  }
  return files;
}

TEST(UnzipperCorpus, EveryBookUnpacksCompletelyWithItsChecksumsAndTimes) {
  const auto books = CorpusFiles("epub", "epub");
  if (books.empty()) GTEST_SKIP() << testing::kNoCorpus;
  for (const fs::path& book : books) {
    SCOPED_TRACE(book.string());
    testing::TempDir dir;
    testing::RecordingUserMessages boxes;
    const std::string before = testing::ReadFile(book);
    UnpackReport report;
    ASSERT_TRUE(UnpackToFolder(book, dir / "book", &report));
    EXPECT_TRUE(boxes.errors.empty());
    EXPECT_TRUE(report.problems.empty()) << report.problems.front().Text();

    TAbUnZipper unzipper;
    unzipper.SetFileName(book);
    std::set<std::string> expected;
    for (std::size_t i = 0; i < unzipper.Count(); ++i) {
      const TAbZipItem& item = unzipper.Items(i);
      if (item.IsDirectory()) continue;
      SCOPED_TRACE(item.fileName);
      expected.emplace(item.fileName);
      const fs::path file = dir / "book" / item.fileName;
      const std::string bytes = testing::ReadFile(file);
      EXPECT_EQ(bytes.size(), item.uncompressedSize);
      EXPECT_EQ(testing::Crc32(bytes), item.crc32);
      EXPECT_EQ(LocalDosTimeOf(file), item.DosDateTime());
    }
    EXPECT_EQ(FilesUnder(dir / "book"), expected);
    EXPECT_EQ(testing::ReadFile(book), before);
  }
}

// What opening the archive raises, where it raises anything.
const std::map<std::string, std::string> kOpeningErrors = {
    {"testfile.txt", "EAbBadStream: Érvénytelen adatfolyam"},
    {"bogus.zip", "EAbUnhandledType: Hibas archívumtípus"},
    {"short", "EAbUnhandledType: Hibas archívumtípus"},
    {"multidisk.zip", "EAbUnhandledType: Hibas archívumtípus"},
    {"ocf-zip-mult.z01", "EAbUnhandledType: Hibas archívumtípus"},
    {"testfile-truncated.zip", "EAbUnhandledType: Hibas archívumtípus"},
    {"large-uncompressible", "EAbUnhandledType: Hibas archívumtípus"},
    {"incons-eocd-magic-bad.zip", "EAbUnhandledType: Hibas archívumtípus"},
    {"incons-archive-comment-longer.zip", "EAbUnhandledType: Hibas archívumtípus"},
    {"incons-central-magic-bad.zip", "EAbZipInvalid: Érvénytelen fájl – nem PKZip fájl"},
    {"incons-central-magic-bad2.zip", "EAbZipInvalid: Érvénytelen fájl – nem PKZip fájl"},
    // Offsets count from the start of the file, so data in front misleads them.
    {"junk-at-start.zip", "EAbZipInvalid: Érvénytelen fájl – nem PKZip fájl"},
    // The end record nearest the end belongs to the archive in the comment.
    {"zip-in-archive-comment.zip", "EAbZipInvalid: Érvénytelen fájl – nem PKZip fájl"},
    {"zip64-in-archive-comment.zip", "EAbZipInvalid: Érvénytelen fájl – nem PKZip fájl"},
    {"incons-cdoffset.zip", "EReadError: Stream read error"},
    {"incons-file-count-high.zip", "EReadError: Stream read error"},
    {"bigstored.zh", "EReadError: Stream read error"},
};

// What ExtractEntryToStream writes for chosen entries ("archive/entry" -> size).
const std::map<std::string, std::size_t> kStreamSizes = {
    {"encrypt.zip/plain", 4},
    {"encrypt.zip/encrypted", 0},
    {"encrypt-aes128.zip/encrypted", 0},
    {"broken.zip/storedcrcerror", 10240},  // a bad checksum keeps the data
    {"broken.zip/deflatezliberror", 0},
    {"testbzip2.zip/abac-repeat.txt", 0},  // bzip2, LZMA, xz, zstd are not decoded
    {"testfile-lzma.zip/abac-repeat.txt", 0},
    {"testfile-zstd.zip/abac-repeat.txt", 0},
    {"testfile-stored-dos.zip/abac-repeat.txt", 64},
    {"zip64.zip/-", 2},
    {"zip64-3mf.zip/-", 2},
    {"incons-zip64-checkcons-overflow.zip/A", 0},  // declares 2^64 - 1 bytes
};

TEST(UnzipperCorpus, EveryArchiveOpensAndExtractsOrFailsWithAnOpeningError) {
  const auto archives = CorpusFiles("zip");
  if (archives.empty()) GTEST_SKIP() << testing::kNoCorpus;
  std::set<std::string> namesSeen;
  for (const fs::path& archive : archives) {
    const std::string name = archive.filename().string();
    SCOPED_TRACE(name);
    const std::string before = testing::ReadFile(archive);
    TAbUnZipper unzipper;
    const std::string raised = RaisedBy([&] { unzipper.SetFileName(archive); });
    const auto error = kOpeningErrors.find(name);
    EXPECT_EQ(raised, error == kOpeningErrors.end() ? "nothing raised" : error->second);

    for (std::size_t i = 0; i < unzipper.Count(); ++i) {
      const TAbZipItem& item = unzipper.Items(i);
      MemoryStream stream;
      unzipper.ExtractEntryToStream(item.fileName, stream);
      EXPECT_LE(stream.Size(), item.uncompressedSize);
      const auto size = kStreamSizes.find(name + "/" + std::string(item.fileName));
      if (size != kStreamSizes.end()) {
        namesSeen.insert(size->first);
        EXPECT_EQ(stream.Size(), size->second) << item.fileName;
      }
    }

    testing::TempDir dir;
    testing::RecordingUserMessages boxes;
    const bool unpacked = UnpackToFolder(archive, dir / "out");
    EXPECT_EQ(unpacked, raised == "nothing raised");
    EXPECT_EQ(boxes.errors.size(), unpacked ? 0u : 1u);
    EXPECT_EQ(FilesUnder(dir.path()).size(), FilesUnder(dir / "out").size());
    EXPECT_EQ(testing::ReadFile(archive), before);
  }
  EXPECT_EQ(namesSeen.size(), kStreamSizes.size()) << "every pinned entry was found";
}

TEST(UnzipperCorpus, NamesDecodeByTheirRules) {
  const fs::path folder = testing::CorpusDir() / "zip" / "libzip";
  if (!fs::is_directory(folder)) GTEST_SKIP() << testing::kNoCorpus;
  const auto firstName = [&](const char* archive) {
    TAbUnZipper unzipper;
    unzipper.SetFileName(folder / archive);
    return std::string(unzipper.Items(0).fileName);
  };
  EXPECT_EQ(firstName("test-utf8-unmarked.zip"), "ÄÖÜäöüßćçĉéèêëē");
  EXPECT_EQ(firstName("test-utf8.zip"), "ÄÖÜäöüßćçĉéèêëē");
  EXPECT_EQ(firstName("testfile-cp437.zip"), "üéâäàåçêëèïîìÄÅÉ");
  EXPECT_EQ(firstName("testfile-UTF8.zip"), "ÄÖÜßäöü");
}

}  // namespace
}  // namespace quill
