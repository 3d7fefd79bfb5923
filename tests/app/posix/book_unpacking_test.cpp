#include "app/book_unpacking.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <algorithm>
#include <filesystem>

#include "epub_builder.h"
#include "recording_user_messages.h"
#include "scoped_environment.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using Status = BookUnpacking::Status;

class BookUnpackingTest : public ::testing::Test {
 protected:
  fs::path Write(const std::string& name, const testing::EpubBuilder& book) {
    book.WriteTo(dir_ / name);
    return dir_ / name;
  }

  testing::TempDir dir_;
  testing::RecordingUserMessages boxes_;
};

TEST_F(BookUnpackingTest, UnpacksIntoTheChosenFolder) {
  testing::EpubBuilder book;
  book.AddChapters(2);
  const BookUnpacking result = BookUnpacking::Run(Write("Alice.epub", book), dir_ / "out");
  EXPECT_EQ(result.status, Status::kUnpacked);
  EXPECT_EQ(result.folder, dir_ / "out");
  EXPECT_EQ(testing::ReadFile(dir_ / "out/OEBPS/Text/chapter02.xhtml").empty(), false);
  EXPECT_TRUE(fs::exists(dir_ / "out/META-INF/container.xml"));
}

TEST_F(BookUnpackingTest, UnpacksIntoTheTemporaryFolderUnderTheBooksName) {
  const testing::ScopedEnvironment tmpdir("TMPDIR", dir_.path().string());
  const BookUnpacking result =
      BookUnpacking::Run(Write("my.book.final.epub", testing::EpubBuilder().AddChapters(1)));
  EXPECT_EQ(result.status, Status::kUnpacked);
  EXPECT_EQ(result.folder, dir_ / ("quillmere-" + std::to_string(::getuid())) / "my.book.final");
  EXPECT_TRUE(fs::exists(result.folder / "mimetype"));
}

TEST_F(BookUnpackingTest, TheProblemsBoxListsTwentyEntriesAndCountsTheRest) {
  testing::ZipWriter zip = testing::EpubBuilder().AddChapters(1).ToZip();
  for (int i = 0; i < 23; ++i) {
    testing::ZipEntry entry;
    entry.name = "OEBPS/lost" + std::to_string(i) + ".xhtml";
    entry.data = "lost";
    entry.method = 99;
    zip.Add(entry);
  }
  zip.WriteTo(dir_ / "lossy.epub");
  const BookUnpacking result = BookUnpacking::Run(dir_ / "lossy.epub", dir_ / "out");
  EXPECT_EQ(result.status, Status::kUnpacked);
  EXPECT_FALSE(result.Complete());
  const std::string text = UnpackProblemsText(result.report);
  EXPECT_TRUE(
      text.starts_with("23 entries of the book were not unpacked as stored:\n"
                       "OEBPS/lost0.xhtml: not unpacked: its compression method 99 is not "
                       "supported\n"))
      << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 22);
  EXPECT_TRUE(
      text.ends_with("OEBPS/lost19.xhtml: not unpacked: its compression method 99 is not "
                     "supported\n... and 3 more\n"))
      << text;
  EXPECT_TRUE(boxes_.errors.empty()) << "the caller shows the box";
}

TEST_F(BookUnpackingTest, ABookWhosePackageDoesNotReadIsNotUnpacked) {
  testing::ZipWriter noPackage;
  noPackage.Add("OEBPS/chapter.xhtml", "<html/>");
  noPackage.WriteTo(dir_ / "plain.epub");
  EXPECT_EQ(BookUnpacking::Run(dir_ / "plain.epub", dir_ / "out").status,
            Status::kPackageUnreadable);
  EXPECT_EQ(BookUnpacking::Run(dir_ / "gone.epub", dir_ / "out").status, Status::kNoFile);
  EXPECT_FALSE(fs::exists(dir_ / "out"));
}

TEST_F(BookUnpackingTest, WithoutAPrivateTemporaryFolderNothingIsUnpacked) {
  // Another file stands where the private folder would be.
  testing::WriteFile(dir_ / ("quillmere-" + std::to_string(::getuid())), "in the way");
  const testing::ScopedEnvironment tmpdir("TMPDIR", dir_.path().string());
  EXPECT_EQ(BookUnpacking::Run(Write("Alice.epub", testing::EpubBuilder().AddChapters(1))).status,
            Status::kNoTemporaryFolder);
}

}  // namespace
}  // namespace quill
