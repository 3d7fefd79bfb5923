#include "viewer/zip_view_marks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/time_resolution.h"
#include "epub_builder.h"
#include "fixed_time_text_locale.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

using testing::DosDateTime;
using testing::EpubBuilder;

// Three chapters made on 2021-06-15 at 10:00; the first one edited at 11:30
// the same day, so "Day" lets it pass and "Hour" does not.
struct MarksCase {
  int resolution;
  std::vector<ZipViewMark> marks;
  std::string text;
};

class ZipViewMarksTest : public ::testing::TestWithParam<MarksCase> {
 protected:
  std::filesystem::path WriteBook() {
    const std::filesystem::path book = dir_ / "book.epub";
    EpubBuilder()
        .Modified(DosDateTime(2021, 6, 15, 10, 0, 0))
        .AddChapters(3)
        .EditChapter(0, DosDateTime(2021, 6, 15, 11, 30, 0))
        .WriteTo(book);
    return book;
  }

  testing::TempDir dir_;
  testing::FixedTimeTextLocale locale_;
};

TEST_P(ZipViewMarksTest, MarksTheReferenceAndTheSpineDocumentsThatDiffer) {
  const std::filesystem::path book = WriteBook();
  const ZipViewListing listing = ListContentDocuments(book);
  ASSERT_EQ(listing.rows.size(), 3u);
  const ZipViewMarks marks =
      MarkSpineDocuments(listing, ReadSpinePaths(book), GetParam().resolution);
  EXPECT_EQ(marks.marks, GetParam().marks);
  EXPECT_EQ(ZipViewMarksText(marks, listing, locale_), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Resolutions, ZipViewMarksTest,
    ::testing::Values(
        MarksCase{kResolutionDay,
                  {ZipViewMark::kNone, ZipViewMark::kNone, ZipViewMark::kReference},
                  "All 3 spine documents agree with the reference time 2021-06-15 10:00:00 "
                  "(document OEBPS/Text/chapter03.xhtml) at resolution Day"},
        MarksCase{kResolutionHour,
                  {ZipViewMark::kDiffers, ZipViewMark::kNone, ZipViewMark::kReference},
                  "1 of 3 spine documents differ from the reference time 2021-06-15 10:00:00 "
                  "(document OEBPS/Text/chapter03.xhtml) at resolution Hour"}));

TEST(ZipViewMarksWithoutComparison, SayWhyNothingIsMarked) {
  ZipViewListing listing;
  listing.rows.push_back({"Text/a.xhtml", ZipViewFields{}});
  const testing::FixedTimeTextLocale locale;

  const ZipViewMarks noSpine = MarkSpineDocuments(listing, std::nullopt, kResolutionDay);
  EXPECT_EQ(noSpine.marks, std::vector<ZipViewMark>{ZipViewMark::kNone});
  EXPECT_EQ(ZipViewMarksText(noSpine, listing, locale),
            "The book's spine could not be read, so no document is marked.");

  const ZipViewMarks notInSpine =
      MarkSpineDocuments(listing, std::vector<std::string>{"Text\\other.xhtml"}, kResolutionDay);
  EXPECT_EQ(ZipViewMarksText(notInSpine, listing, locale),
            "No content document of the archive is named by the spine.");

  listing.failure = ZipViewFailure{"EConvertError", "Invalid argument to date encode"};
  const ZipViewMarks failed =
      MarkSpineDocuments(listing, std::vector<std::string>{"TEXT\\A.XHTML"}, kResolutionDay);
  EXPECT_EQ(failed.marks, std::vector<ZipViewMark>{ZipViewMark::kNone});
  EXPECT_EQ(ZipViewMarksText(failed, listing, locale),
            "Not every stored time could be read, so no document is marked.");
}

}  // namespace
}  // namespace quill
