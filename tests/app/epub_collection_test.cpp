#include "app/epub_collection.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/book_examination.h"
#include "base/time_resolution.h"
#include "epub_builder.h"
#include "recording_user_messages.h"
#include "shell/search_files.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::DosDateTime;
using testing::EpubBuilder;
using Verdict = CheckOutcome::Verdict;
using Candidate = EpubCollection::Candidate;

const std::uint32_t kProduced = DosDateTime(2021, 6, 15, 10, 0, 0);

// A book of three chapters made at kProduced, the second one stored with `edited`.
EpubBuilder Book(std::uint32_t edited = kProduced) {
  EpubBuilder book;
  book.Modified(kProduced).AddChapters(3).EditChapter(1, edited);
  return book;
}

struct Listed {
  BookRow row;
  CheckOutcome reason;
};

class EpubCollectionTest : public ::testing::Test {
 protected:
  std::string Write(const fs::path& relative, const EpubBuilder& book) {
    fs::path path = dir_ / relative;
    path.make_preferred();
    fs::create_directories(path.parent_path());
    book.WriteTo(path);
    return path.string();
  }

  std::vector<std::string> ListedPaths() const {
    std::vector<std::string> paths;
    for (const Listed& book : listed_) paths.push_back(book.row.path);
    return paths;
  }

  testing::TempDir dir_;
  testing::RecordingUserMessages boxes_;
  int resolution_ = kResolutionDay;
  int resolutionReads_ = 0;
  std::vector<Listed> listed_;
  EpubCollection collection_{[this] { return ++resolutionReads_, resolution_; },
                             [this](const BookRow& row, const CheckOutcome& reason) {
                               listed_.push_back({row, reason});
                             }};
};

TEST_F(EpubCollectionTest, ListsAnEditedBookWithItsNameAndPathAndWhy) {
  const std::string edited = Write("shelf/edited.epub", Book(DosDateTime(2023, 1, 2, 9, 30, 0)));
  const std::string untouched = Write("untouched.epub", Book());

  EXPECT_TRUE(collection_.AddIfChanged(edited));
  EXPECT_FALSE(collection_.AddIfChanged(untouched));

  ASSERT_EQ(listed_.size(), 1u);
  EXPECT_EQ(listed_[0].row.fileName, "edited.epub");
  EXPECT_EQ(listed_[0].row.path, edited);
  const CheckOutcome& reason = listed_[0].reason;
  EXPECT_EQ(reason.verdict, Verdict::kDocumentDiffers);
  EXPECT_EQ(reason.document, "OEBPS/Text/chapter02.xhtml");
  EXPECT_EQ(reason.referenceDocument, "OEBPS/Text/chapter03.xhtml");
  EXPECT_GT(reason.documentTime, reason.referenceTime);
  EXPECT_TRUE(boxes_.messages.empty() && boxes_.errors.empty());
}

TEST_F(EpubCollectionTest, ABookWhosePackageReadsButWhichCannotBeConfirmedIsListed) {
  // The spine names a document that the archive lacks.
  EpubBuilder missingDocuments = Book();
  missingDocuments.ReplaceEntry(missingDocuments.OpfFolderPrefix() + "content.opf",
                                "<package><manifest><item id=\"a\" href=\"gone.xhtml\"/></manifest>"
                                "<spine><itemref idref=\"a\"/></spine></package>");
  // A content document outside the spine with an impossible stored time.
  EpubBuilder impossibleTime = Book();
  impossibleTime.AddResource("Text/notes.xhtml", "<html/>");
  auto zip = impossibleTime.ToZip();
  testing::ZipEntry broken;
  broken.name = "OEBPS/Text/appendix.xhtml";
  broken.data = "<html/>";
  broken.modified = DosDateTime(2021, 0, 15, 10, 0, 0);
  zip.Add(broken);
  const fs::path impossible = dir_ / "impossible.epub";
  zip.WriteTo(impossible);

  EXPECT_TRUE(collection_.AddIfChanged(Write("missing.epub", missingDocuments)));
  EXPECT_TRUE(collection_.AddIfChanged(impossible.string()));

  ASSERT_EQ(listed_.size(), 2u);
  EXPECT_EQ(listed_[0].reason.verdict, Verdict::kNoSpineDocument);
  EXPECT_EQ(listed_[1].reason.verdict, Verdict::kImpossibleDate);
  EXPECT_EQ(listed_[1].reason.document, "OEBPS/Text/appendix.xhtml");
}

TEST_F(EpubCollectionTest, ABookWhosePackageCannotBeReadIsNeverListed) {
  const std::uint32_t edited = DosDateTime(2023, 1, 2, 9, 30, 0);
  EpubBuilder lowerCaseContainer = Book(edited);
  lowerCaseContainer.ContainerEntryName("meta-inf/container.xml");
  EpubBuilder brokenNcx = Book(edited);
  brokenNcx.ReplaceEntry(brokenNcx.OpfFolderPrefix() + "toc.ncx", "<ncx><navMap></ncx>");
  testing::ZipWriter noPackage;
  noPackage.Add("OEBPS/chapter.xhtml", "<html/>", edited);
  noPackage.WriteTo(dir_ / "no-package.epub");

  EXPECT_FALSE(collection_.AddIfChanged(Write("container.epub", lowerCaseContainer)));
  EXPECT_FALSE(collection_.AddIfChanged(Write("ncx.epub", brokenNcx)));
  EXPECT_EQ(collection_.AddCandidate((dir_ / "no-package.epub").string()),
            Candidate::kPackageUnreadable);
  EXPECT_TRUE(listed_.empty());
  EXPECT_EQ(resolutionReads_, 0);  // nothing was compared
}

TEST_F(EpubCollectionTest, AMissingOrInvalidCandidateIsSkippedWithoutAMessage) {
  testing::WriteFile(dir_ / "text.epub", "not an archive at all");
  fs::create_directory(dir_ / "folder.epub");

  EXPECT_EQ(collection_.AddCandidate((dir_ / "gone.epub").string()), Candidate::kSkipped);
  EXPECT_EQ(collection_.AddCandidate((dir_ / "text.epub").string()), Candidate::kSkipped);
  EXPECT_EQ(collection_.AddCandidate((dir_ / "folder.epub").string()), Candidate::kSkipped);
  EXPECT_EQ(collection_.AddCandidate(Write("edited.epub", Book(DosDateTime(2023, 1, 2, 9, 30, 0)))),
            Candidate::kListed);
  EXPECT_EQ(listed_.size(), 1u);
  EXPECT_TRUE(boxes_.messages.empty() && boxes_.errors.empty());
}

TEST_F(EpubCollectionTest, TheTimeResolutionIsReadForEachBook) {
  // Edited 40 minutes after production: the same day and hour, another minute.
  const std::string touched = Write("touched.epub", Book(DosDateTime(2021, 6, 15, 10, 40, 0)));
  for (const int resolution : {kResolutionDay, kResolutionHour, kResolutionMin, kResolutionSec,
                               kResolutionFull, kResolutionDay}) {
    resolution_ = resolution;
    collection_.AddIfChanged(touched);
  }
  EXPECT_EQ(resolutionReads_, 6);
  EXPECT_EQ(listed_.size(), 3u);  // "Min", "Sec" and "Full" see the edit
  for (int resolution = kResolutionDay; resolution <= kResolutionFull; ++resolution) {
    EXPECT_EQ(IsUnchanged(touched, resolution), resolution <= kResolutionHour) << resolution;
  }
}

TEST_F(EpubCollectionTest, FolderSearchesFindEpubFilesAloneOrWithThoseBelow) {
  const std::uint32_t edited = DosDateTime(2023, 1, 2, 9, 30, 0);
  const std::string a = Write("a.epub", Book(edited));
  const std::string b = Write("B.EPUB", Book(edited));
  Write("untouched.epub", Book());
  Write("kept.epub.bak", Book(edited));
  const std::string c = Write("sub/deeper/c.Epub", Book(edited));
  Write("sub/d.epub", Book());

  TJvSearchFiles search;
  search.Files = {"left over"};
  search.FileParams.SetFileMasks({"*.txt"});
  search.OnFindFile = [&](TJvSearchFiles&, const std::string& name) {
    collection_.AddCandidate(name);
  };
  for (const bool subfolders : {false, true}) {
    listed_.clear();
    EpubCollection::ConfigureFolderSearch(search, subfolders, dir_.path().string());
    EXPECT_EQ(search.DirOption, subfolders ? doIncludeSubDirs : doExcludeSubDirs);
    EXPECT_TRUE(search.Options.contains(soOwnerData) && search.Options.contains(soSearchFiles));
    EXPECT_EQ(search.FileParams.FileMasks(), std::vector<std::string>{"*.epub"});
    EXPECT_EQ(search.FileParams.SearchTypes(), TJvSearchTypes{stFileMask});
    EXPECT_TRUE(search.Search());
    EXPECT_TRUE(search.Files.empty());

    std::vector<std::string> paths = ListedPaths();
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> expected = subfolders ? std::vector{a, b, c} : std::vector{a, b};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(paths, expected) << "subfolders " << subfolders;
  }
}

TEST_F(EpubCollectionTest, ExaminingLeavesEveryBookUntouched) {
  const std::string edited = Write("edited.epub", Book(DosDateTime(2023, 1, 2, 9, 30, 0)));
  const auto past = fs::last_write_time(edited) - std::chrono::hours(24 * 400);
  fs::last_write_time(edited, past);
  fs::permissions(edited, fs::perms::owner_read);
  const std::string bytes = testing::ReadFile(edited);
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(collection_.AddCandidate(edited), Candidate::kListed);
  }
  EXPECT_EQ(testing::ReadFile(edited), bytes);
  EXPECT_EQ(fs::last_write_time(edited), past);
}

}  // namespace
}  // namespace quill
