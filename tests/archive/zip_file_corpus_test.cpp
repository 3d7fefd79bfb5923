// Real-world archives from the shared corpus; skipped when it is absent.

#include "archive/zip_file.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "base/text.h"
#include "corpus.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::CorpusFiles;
using testing::kNoCorpus;

std::uint32_t Le(const std::string& bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// The entry names read from the local headers that follow one another from
// the start of the file: an account of the archive that owes nothing to its
// central directory. Valid for archives written in one pass without data
// descriptors, as the corpus books are.
std::vector<std::string> LocalHeaderNames(const std::string& bytes) {
  std::vector<std::string> names;
  std::size_t at = 0;
  while (at + 30 <= bytes.size() && bytes.compare(at, 4, "PK\x03\x04") == 0) {
    EXPECT_EQ(Le(bytes, at + 6, 2) & 0x0008, 0u) << "entry written with a data descriptor";
    const std::size_t nameLength = Le(bytes, at + 26, 2);
    const std::size_t extraLength = Le(bytes, at + 28, 2);
    names.push_back(bytes.substr(at + 30, nameLength));
    at += 30 + nameLength + extraLength + Le(bytes, at + 18, 4);
  }
  return names;
}

TEST(ZipFileCorpus, EveryBookOpensWithTheEntriesItHolds) {
  const auto books = CorpusFiles("epub", "epub");
  if (books.empty()) GTEST_SKIP() << kNoCorpus;
  for (const fs::path& book : books) {
    SCOPED_TRACE(book.string());
    const std::vector<std::string> expected = LocalHeaderNames(testing::ReadFile(book));
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(TZipFile::IsValid(book));
    TZipFile reader;
    reader.Open(book);
    ASSERT_EQ(reader.FileCount(), static_cast<int>(expected.size()));
    // The books store non-ASCII names as flagged UTF-8, so the decoded names
    // are their bytes.
    EXPECT_EQ(reader.FileNames(), expected);
    for (int i = 0; i < reader.FileCount(); ++i) {
      EXPECT_EQ(reader.FileInfo(i).FileName, expected[static_cast<std::size_t>(i)]);
    }
  }
}

TEST(ZipFileCorpus, EveryArchiveOpensOrRaisesADirectoryError) {
  const auto archives = CorpusFiles("zip");
  if (archives.empty()) GTEST_SKIP() << kNoCorpus;
  for (const fs::path& archive : archives) {
    SCOPED_TRACE(archive.string());
    const bool valid = TZipFile::IsValid(archive);
    TZipFile reader;
    try {
      reader.Open(archive);
    } catch (const Error& error) {
      EXPECT_TRUE(error.kind() == "EZipException" || error.kind() == "EFOpenError")
          << error.kind() << ": " << error.message();
      // Both look for the end record the same way.
      if (!valid) {
        EXPECT_TRUE(error.message() == "Error reading zip file" ||
                    error.message() == "Stream read error")
            << error.message();
      }
      continue;
    }
    EXPECT_TRUE(valid);
    const std::vector<std::string> names = reader.FileNames();
    ASSERT_EQ(names.size(), static_cast<std::size_t>(reader.FileCount()));
    for (std::size_t i = 0; i < names.size(); ++i) {
      EXPECT_EQ(reader.FileInfo(static_cast<int>(i)).FileNameLength,
                reader.FileInfo(static_cast<int>(i)).FileName.size());
    }
  }
}

TEST(ZipFileCorpus, KnownArchivesGiveKnownAnswers) {
  const fs::path dir = testing::CorpusDir() / "zip" / "libzip";
  if (!fs::is_directory(dir)) GTEST_SKIP() << kNoCorpus;
  const auto count = [&](const char* name) {
    TZipFile reader;
    reader.Open(dir / name);
    return reader.FileCount();
  };
  EXPECT_EQ(count("testempty.zip"), 0);
  EXPECT_EQ(count("test.zip"), 3);
  EXPECT_EQ(count("incons-cdsize-large.zip"), 1);  // the declared size is not used
  EXPECT_EQ(count("incons-gap-before-eocd.zip"), 1);
  EXPECT_FALSE(TZipFile::IsValid(dir / "short"));
  EXPECT_FALSE(TZipFile::IsValid(dir / "testfile.txt"));

  TZipFile reader;
  reader.Open(dir / "filename_duplicate.zip");
  const auto names = reader.FileNames();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], names[1]);
}

}  // namespace
}  // namespace quill
