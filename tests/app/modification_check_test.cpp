#include "app/modification_check.h"

#include <gtest/gtest.h>
#include <filesystem>

#include "app/check_outcome.h"
#include "app/check_reason.h"
#include "archive/dos_date_time.h"
#include "base/time_resolution.h"
#include "epub/spine_path_list.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::DosDateTime;
using testing::ZipEntry;
using testing::ZipWriter;

const std::uint32_t kProduced = DosDateTime(2021, 6, 15, 10, 0, 0);
const std::uint32_t kEdited = DosDateTime(2023, 1, 2, 9, 30, 0);

class SpineTimesMatchTest : public ::testing::Test {
 protected:
  // A book whose entries carry the given stored times, the package first.
  fs::path Book(const std::vector<std::pair<std::string, std::uint32_t>>& entries,
                std::uint16_t flag = 0) {
    ZipWriter zip;
    zip.Add("mimetype", "application/epub+zip", kProduced);
    zip.Add("OEBPS/content.opf", "<package/>", kEdited);  // not a content document
    for (const auto& [name, time] : entries) {
      ZipEntry entry;
      entry.name = name;
      entry.data = name;
      entry.modified = time;
      entry.flag = flag;
      zip.Add(entry);
    }
    const fs::path path = dir_ / ("book" + std::to_string(++books_) + ".epub");
    zip.WriteTo(path);
    return path;
  }

  testing::TempDir dir_;
  int books_ = 0;
};

const std::vector<std::string> kSpine = {"OEBPS\\c1.xhtml", "OEBPS\\c2.xhtml"};

TEST_F(SpineTimesMatchTest, AnUntouchedBookMatchesAtEveryResolution) {
  const fs::path book = Book({{"OEBPS/c1.xhtml", kProduced}, {"OEBPS/c2.xhtml", kProduced}});
  for (int resolution = kResolutionDay; resolution <= kResolutionFull; ++resolution) {
    EXPECT_TRUE(SpineTimesMatch(book, kSpine, resolution)) << resolution;
  }
}

TEST_F(SpineTimesMatchTest, AnEditedDocumentIsCaughtAtTheChosenResolution) {
  const fs::path edited = Book({{"OEBPS/c1.xhtml", kEdited}, {"OEBPS/c2.xhtml", kProduced}});
  EXPECT_FALSE(SpineTimesMatch(edited, kSpine, kResolutionDay));

  const fs::path touched = Book(
      {{"OEBPS/c1.xhtml", DosDateTime(2021, 6, 15, 10, 59, 58)}, {"OEBPS/c2.xhtml", kProduced}});
  EXPECT_TRUE(SpineTimesMatch(touched, kSpine, kResolutionHour));
  EXPECT_FALSE(SpineTimesMatch(touched, kSpine, kResolutionMin));
}

TEST_F(SpineTimesMatchTest, TheReferenceIsTheLastContentDocumentSpineOrNot) {
  const fs::path navLast = Book(
      {{"OEBPS/c1.xhtml", kProduced}, {"OEBPS/c2.xhtml", kProduced}, {"OEBPS/nav.xhtml", kEdited}});
  EXPECT_FALSE(SpineTimesMatch(navLast, kSpine, kResolutionDay));
  const fs::path navFirst = Book(
      {{"OEBPS/nav.xhtml", kEdited}, {"OEBPS/c1.xhtml", kProduced}, {"OEBPS/c2.xhtml", kProduced}});
  EXPECT_TRUE(SpineTimesMatch(navFirst, kSpine, kResolutionDay));
  // An impossible time on any content document ends the check; on other entries it does not.
  const fs::path badNav =
      Book({{"OEBPS/nav.xhtml", 0}, {"OEBPS/c1.xhtml", kProduced}, {"OEBPS/c2.xhtml", kProduced}});
  EXPECT_FALSE(SpineTimesMatch(badNav, kSpine, kResolutionDay));
  const fs::path badImage =
      Book({{"OEBPS/cover.jpg", 0}, {"OEBPS/c1.xhtml", kProduced}, {"OEBPS/c2.xhtml", kProduced}});
  EXPECT_TRUE(SpineTimesMatch(badImage, kSpine, kResolutionDay));
}

TEST_F(SpineTimesMatchTest, WithoutASpineDocumentInTheArchiveNothingIsConfirmed) {
  EXPECT_FALSE(SpineTimesMatch(Book({{"OEBPS/c1.xml", kProduced}}), kSpine, kResolutionDay));
  EXPECT_FALSE(SpineTimesMatch(Book({{"OEBPS/other.xhtml", kProduced}}), kSpine, kResolutionDay));
  EXPECT_FALSE(SpineTimesMatch(Book({{"OEBPS/c1.xhtml", kProduced}}), {}, kResolutionDay));
  EXPECT_FALSE(SpineTimesMatch(dir_ / "missing.epub", kSpine, kResolutionDay));
  testing::WriteFile(dir_ / "text.epub", "not an archive");
  EXPECT_FALSE(SpineTimesMatch(dir_ / "text.epub", kSpine, kResolutionDay));
}

TEST_F(SpineTimesMatchTest, FindsDocumentsIgnoringLetterCase) {
  EXPECT_TRUE(SpineTimesMatch(Book({{"OEBPS/Text/Ch1.XHTML", kProduced}}),
                              {"OEBPS\\Text\\ch1.xhtml"}, kResolutionDay));
  EXPECT_TRUE(SpineTimesMatch(Book({{"OEBPS/Éjszaka.xhtml", kProduced}}, 0x0800),
                              {"oebps\\éJSZAKA.xhtml"}, kResolutionDay));
}

TEST_F(SpineTimesMatchTest, DecodesNamesAsTheExtractionDoes) {
  // UTF-8 without the flag, as many producers store it, and code page 437.
  EXPECT_TRUE(SpineTimesMatch(Book({{"OEBPS/caf\xC3\xA9.xhtml", kProduced}}), {"OEBPS\\café.xhtml"},
                              kResolutionDay));
  EXPECT_TRUE(SpineTimesMatch(Book({{"OEBPS/caf\x82.xhtml", kProduced}}), {"OEBPS\\café.xhtml"},
                              kResolutionDay));
}

TEST_F(SpineTimesMatchTest, FindsDocumentsThatTheSpineNamesWithEscapesOrDotSegments) {
  const fs::path book = Book({{"OEBPS/Text/Chapter 1.xhtml", kProduced},
                              {"OEBPS/Text/caf\xC3\xA9.xhtml", kProduced},
                              {"OEBPS/Shared/notes.xhtml", kProduced}});
  const auto spine = BuildSpinePathList(
      "OEBPS\\Text", {"Chapter%201.xhtml", "caf%C3%A9.xhtml", "..\\Shared\\.\\notes.xhtml"});
  EXPECT_TRUE(SpineTimesMatch(book, spine, kResolutionFull));
  for (const std::string& path : spine) {
    EXPECT_TRUE(SpineTimesMatch(book, {path}, kResolutionFull)) << path;
  }
}

TEST_F(SpineTimesMatchTest, ABookWithThousandsOfDocuments) {
  std::vector<std::pair<std::string, std::uint32_t>> entries;
  std::vector<std::string> spine;
  for (int i = 0; i < 4000; ++i) {
    entries.emplace_back("OEBPS/Text/section" + std::to_string(i) + ".xhtml", kProduced);
    spine.push_back("OEBPS\\Text\\Section" + std::to_string(i) + ".xhtml");
  }
  EXPECT_TRUE(SpineTimesMatch(Book(entries), spine, kResolutionSec));
  entries[1234].second = kEdited;
  entries.emplace_back("OEBPS/Text/nav.xhtml", kProduced);  // keeps the reference
  EXPECT_FALSE(SpineTimesMatch(Book(entries), spine, kResolutionSec));
}

TEST_F(SpineTimesMatchTest, TellsWhyABookIsNotConfirmed) {
  using Verdict = CheckOutcome::Verdict;
  const CheckOutcome differs = CheckSpineTimes(Book({{"OEBPS/c1.xhtml", kProduced},
                                                     {"OEBPS/c2.xhtml", kEdited},
                                                     {"OEBPS/nav.xhtml", kProduced}}),
                                               kSpine, kResolutionDay);
  EXPECT_EQ(differs.verdict, Verdict::kDocumentDiffers);
  EXPECT_EQ(differs.document, "OEBPS/c2.xhtml");
  EXPECT_EQ(differs.documentTime, DosDateTimeToTimestamp(kEdited));
  EXPECT_EQ(differs.referenceDocument, "OEBPS/nav.xhtml");
  EXPECT_EQ(differs.referenceTime, DosDateTimeToTimestamp(kProduced));

  EXPECT_EQ(
      CheckSpineTimes(Book({{"OEBPS/other.xhtml", kProduced}}), kSpine, kResolutionDay).verdict,
      Verdict::kNoSpineDocument);
  const CheckOutcome missing = CheckSpineTimes(dir_ / "missing.epub", kSpine, kResolutionDay);
  EXPECT_EQ(missing.verdict, Verdict::kCannotExamine);
  EXPECT_EQ(missing.problem.rfind("EFOpenError: ", 0), 0u) << missing.problem;
  EXPECT_TRUE(
      CheckSpineTimes(Book({{"OEBPS/c1.xhtml", kProduced}}), kSpine, kResolutionDay).unchanged());
}

// The reason names the documents whose time differs from that of most spine
// documents, whichever of them the reference is; the verdict stays the check's.
TEST_F(SpineTimesMatchTest, ReasonsNameTheOddDocumentsOut) {
  using Verdict = CheckOutcome::Verdict;
  const std::vector<std::string> spine = {"OEBPS\\c1.xhtml", "OEBPS\\c2.xhtml", "OEBPS\\c3.xhtml"};
  struct Case {
    std::vector<std::pair<std::string, std::uint32_t>> entries;
    std::vector<std::string> spine;
    Verdict verdict;
    std::string text;
  };
  const std::vector<Case> cases = {
      {{{"OEBPS/c1.xhtml", kEdited}, {"OEBPS/c2.xhtml", kProduced}, {"OEBPS/c3.xhtml", kProduced}},
       spine,
       Verdict::kDocumentDiffers,
       "OEBPS/c1.xhtml (2023-01-02T09:30:00) differs from most spine documents "
       "(2021-06-15T10:00:00)"},
      // The edited document is the reference itself: the untouched ones are not named.
      {{{"OEBPS/c1.xhtml", kProduced}, {"OEBPS/c2.xhtml", kProduced}, {"OEBPS/c3.xhtml", kEdited}},
       spine,
       Verdict::kDocumentDiffers,
       "the reference document OEBPS/c3.xhtml (2023-01-02T09:30:00), the last content document, "
       "is the odd one out: it differs from most spine documents (2021-06-15T10:00:00)"},
      {{{"OEBPS/c1.xhtml", kEdited}, {"OEBPS/c2.xhtml", kEdited}, {"OEBPS/nav.xhtml", kProduced}},
       spine,
       Verdict::kDocumentDiffers,
       "the reference document OEBPS/nav.xhtml (2021-06-15T10:00:00), the last content document, "
       "is the odd one out: it differs from most spine documents (2023-01-02T09:30:00)"},
      {{{"OEBPS/c1.xhtml", kProduced}, {"OEBPS/cover.svg", kProduced}},
       {"OEBPS\\cover.svg", "OEBPS\\page.png"},
       Verdict::kSpineListsNoContentDocument,
       "the spine lists no XHTML or HTML document"},
      {{{"OEBPS/c1.xhtml", kProduced}},
       {"OEBPS\\gone.xhtml"},
       Verdict::kNoSpineDocument,
       "no spine document found in the archive"},
      {{{"OEBPS/c1.xhtml", kProduced}, {"OEBPS/notes.xhtml", DosDateTime(2021, 2, 30, 10, 0, 0)}},
       spine,
       Verdict::kImpossibleDate,
       "the stored date of OEBPS/notes.xhtml is impossible"},
  };
  for (const Case& c : cases) {
    const CheckOutcome outcome = CheckSpineTimes(Book(c.entries), c.spine, kResolutionDay);
    EXPECT_EQ(outcome.verdict, c.verdict) << c.text;
    EXPECT_EQ(CheckReasonText(outcome), c.text);
  }
}

// Each document counts once, by its last copy; the group of the common time
// is found at the chosen resolution, the exact time shown is the one most of
// it carry, and an even split is told as one.
TEST_F(SpineTimesMatchTest, ReasonsCountEachDocumentOnceAndTellAnEvenSplit) {
  const std::uint32_t title = DosDateTime(2021, 6, 15, 23, 50, 20);
  const std::uint32_t body = DosDateTime(2021, 6, 15, 23, 50, 22);
  const std::uint32_t stray = DosDateTime(2022, 3, 1, 8, 0, 0);
  const std::vector<std::string> spine = {"OEBPS\\c1.xhtml", "OEBPS\\c2.xhtml", "OEBPS\\c3.xhtml",
                                          "OEBPS\\c4.xhtml"};
  struct Case {
    std::vector<std::pair<std::string, std::uint32_t>> entries;
    int resolution;
    std::string text;
  };
  const std::vector<Case> cases = {
      {{{"OEBPS/c1.xhtml", title},
        {"OEBPS/c2.xhtml", body},
        {"OEBPS/c3.xhtml", body},
        {"OEBPS/c4.xhtml", kEdited}},
       kResolutionDay,
       "the reference document OEBPS/c4.xhtml (2023-01-02T09:30:00), the last content document, "
       "is the odd one out: it differs from most spine documents (2021-06-15T23:50:22)"},
      {{{"OEBPS/c1.xhtml", kProduced},
        {"OEBPS/c2.xhtml", kProduced},
        {"OEBPS/c3.xhtml", kEdited},
        {"OEBPS/c4.xhtml", kEdited}},
       kResolutionFull,
       "half of the spine documents carry 2023-01-02T09:30:00, the other half differ: "
       "OEBPS/c1.xhtml (2021-06-15T10:00:00), OEBPS/c2.xhtml (2021-06-15T10:00:00)"},
      {{{"OEBPS/c1.xhtml", stray},
        {"OEBPS/c2.xhtml", kProduced},
        {"OEBPS/c3.xhtml", kProduced},
        {"OEBPS/c1.xhtml", kEdited},
        {"OEBPS/c4.xhtml", kProduced}},
       kResolutionHour,
       "OEBPS/c1.xhtml (2023-01-02T09:30:00) differs from most spine documents "
       "(2021-06-15T10:00:00)"},
      {{{"OEBPS/c1.xhtml", kProduced}, {"OEBPS/c2.xhtml", stray}, {"OEBPS/c3.xhtml", kEdited}},
       kResolutionSec,
       "1 of the 3 spine documents carries 2023-01-02T09:30:00, the others differ: "
       "OEBPS/c1.xhtml (2021-06-15T10:00:00), OEBPS/c2.xhtml (2022-03-01T08:00:00)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckReasonText(CheckSpineTimes(Book(c.entries), spine, c.resolution)), c.text);
  }
}

TEST_F(SpineTimesMatchTest, LeavesTheBookUnchanged) {
  const fs::path book = Book({{"OEBPS/c1.xhtml", kProduced}, {"OEBPS/c2.xhtml", kEdited}});
  const auto past = fs::last_write_time(book) - std::chrono::hours(24 * 30);
  fs::last_write_time(book, past);
  fs::permissions(book, fs::perms::owner_read);
  const std::string bytes = testing::ReadFile(book);
  for (int resolution = kResolutionDay; resolution <= kResolutionFull; ++resolution) {
    EXPECT_FALSE(SpineTimesMatch(book, kSpine, resolution));
  }
  EXPECT_EQ(testing::ReadFile(book), bytes);
  EXPECT_EQ(fs::last_write_time(book), past);
}

// A name stored in a legacy code page with a Unicode Path field is the
// field's name to the check, as it is to the package reader's extraction.
TEST_F(SpineTimesMatchTest, FindsADocumentByItsUnicodePathName) {
  const std::string raw = "OEBPS/f\x8B.xhtml";  // code page 437, not UTF-8 by shape
  for (const std::uint32_t time : {kProduced, kEdited}) {
    ZipWriter zip;
    ZipEntry entry;
    entry.name = raw;
    entry.data = "text";
    entry.modified = time;
    entry.extra = testing::UnicodePathField(testing::Crc32(raw), "OEBPS/f\xC5\x91.xhtml");  // "fő"
    zip.Add(entry);
    zip.Add("OEBPS/last.xhtml", "last", kProduced);
    const fs::path path = dir_ / "unicode.epub";
    zip.WriteTo(path);
    const CheckOutcome outcome = CheckSpineTimes(path, {"OEBPS\\f\xC5\x91.xhtml"}, kResolutionDay);
    if (time == kProduced) {
      EXPECT_TRUE(outcome.unchanged());
    } else {
      EXPECT_EQ(outcome.verdict, CheckOutcome::Verdict::kDocumentDiffers);
      EXPECT_EQ(outcome.document, "OEBPS/f\xC5\x91.xhtml");
    }
  }
}

// A document stored after entry 65 535 of a ZIP64 archive is compared.
TEST_F(SpineTimesMatchTest, ReadsEveryEntryOfAZip64Archive) {
  ZipWriter zip;
  zip.layout().zip64 = true;
  for (int i = 0; i < 65540; ++i) {
    ZipEntry filler;
    filler.name = "f/" + std::to_string(i);
    filler.method = 0;
    zip.Add(filler);
  }
  zip.Add("OEBPS/late.xhtml", "late", kEdited);
  zip.Add("OEBPS/last.xhtml", "last", kProduced);
  const fs::path path = dir_ / "zip64.epub";
  zip.WriteTo(path);
  const CheckOutcome outcome = CheckSpineTimes(path, {"OEBPS\\late.xhtml"}, kResolutionDay);
  EXPECT_EQ(outcome.verdict, CheckOutcome::Verdict::kDocumentDiffers) << outcome.problem;
  EXPECT_EQ(outcome.document, "OEBPS/late.xhtml");
}

}  // namespace
}  // namespace quill
