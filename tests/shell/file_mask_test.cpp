#include "shell/file_mask.h"

#include <gtest/gtest.h>

#include "shell/search_params.h"

namespace quill {
namespace {

TEST(FileMask, WildcardsCoverRunsAndSingleCharacters) {
  struct Case {
    const char* mask;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"*.EPUB", "BOOK.EPUB", true},
      {"*.EPUB", ".EPUB", true},  // the star may stand for nothing
      {"*.EPUB", "X.EPUB.BAK", false},
      {"*.EPUB", "EPUB", false},
      {"*", "", true},
      {"*", "ANY NAME.TXT", true},
      {"?.EPUB", "A.EPUB", true},
      {"?.EPUB", ".EPUB", false},
      {"?.EPUB", "AB.EPUB", false},
      {"?.EPUB", "\u00C9.EPUB", true},      // one character of two bytes
      {"?.EPUB", "\U0001F4D6.EPUB", true},  // one character of four bytes
      {"A*B*C", "AXXBYYC", true},
      {"A*B*C", "AXXBYY", false},
      {"*A", "AAAA", true},
      {"*AB", "AAB", true},  // needs the star to give back what it took
      {"**", "", true},
      {"", "", true},
      {"", "A", false},
      {"BOOK.EPUB", "BOOK.EPUB", true},
      {"BOOK.EPUB", "BOOK.EPU", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MaskMatches(c.mask, c.name), c.matches) << c.mask << " / " << c.name;
  }
}

TEST(SearchParams, MasksMatchInAnyLetterCase) {
  TJvSearchParams params;
  params.SetFileMasks({"*.epub"});
  params.SetSearchTypes({stFileMask});
  EXPECT_TRUE(params.Matches("book.epub"));
  EXPECT_TRUE(params.Matches("NOTES.EPUB"));
  EXPECT_TRUE(params.Matches("c.Epub"));
  EXPECT_TRUE(params.Matches(".epub"));
  EXPECT_FALSE(params.Matches("x.epub.bak"));
  EXPECT_FALSE(params.Matches("book.epub "));

  params.SetFileMasks({"*.txt", "caf\u00e9*"});
  EXPECT_TRUE(params.Matches("CAF\u00C9 menu.pdf"));  // upper-cased beyond A to Z
  EXPECT_TRUE(params.Matches("notes.TXT"));
  EXPECT_FALSE(params.Matches("book.epub"));
}

TEST(SearchParams, EveryFileMatchesWithoutMasksOrWithoutTheMaskType) {
  TJvSearchParams params;
  params.SetSearchTypes({stFileMask});
  EXPECT_TRUE(params.Matches("anything.bin"));

  params.SetFileMasks({"*.epub"});
  params.SetSearchTypes({});
  EXPECT_TRUE(params.Matches("anything.bin"));
  EXPECT_EQ(TJvSearchTypes{stFileMask}.bits(), 2u);
}

}  // namespace
}  // namespace quill
