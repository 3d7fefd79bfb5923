#include "epub/spine_path_list.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

using Paths = std::vector<std::string>;

TEST(BuildSpinePathList, PrefixesTheOpfFolderInSpineOrder) {
  EXPECT_EQ(BuildSpinePathList("OEBPS", {"Text\\b.xhtml", "a.xhtml", "a.xhtml"}),
            (Paths{"OEBPS\\Text\\b.xhtml", "OEBPS\\a.xhtml", "OEBPS\\a.xhtml"}));
  EXPECT_EQ(BuildSpinePathList("", {"Text\\b.xhtml"}), (Paths{"Text\\b.xhtml"}));
  EXPECT_EQ(BuildSpinePathList("OEBPS\\Pkg", {}), Paths{});
}

TEST(BuildSpinePathList, DecodesPercentEscapes) {
  EXPECT_EQ(BuildSpinePathList("OEBPS", {"Chapter%201.xhtml", "caf%C3%A9.xhtml", "100%.xhtml",
                                         "%zz%4.xhtml", "a%2Fb.xhtml"}),
            (Paths{"OEBPS\\Chapter 1.xhtml", "OEBPS\\café.xhtml", "OEBPS\\100%.xhtml",
                   "OEBPS\\%zz%4.xhtml", "OEBPS\\a\\b.xhtml"}));
}

TEST(BuildSpinePathList, ResolvesDotSegmentsAgainstTheOpfFolder) {
  EXPECT_EQ(
      BuildSpinePathList("OEBPS\\Pkg", {"..\\Text\\c.xhtml", ".\\c.xhtml", "a\\..\\..\\c.xhtml",
                                        "%2E%2E\\c.xhtml", "\\Root\\c.xhtml"}),
      (Paths{"OEBPS\\Text\\c.xhtml", "OEBPS\\Pkg\\c.xhtml", "OEBPS\\c.xhtml", "OEBPS\\c.xhtml",
             "Root\\c.xhtml"}));
  // Above the root there is nothing to leave.
  EXPECT_EQ(BuildSpinePathList("", {"..\\..\\c.xhtml"}), (Paths{"c.xhtml"}));
  EXPECT_EQ(BuildSpinePathList("OEBPS", {"..\\..\\c.xhtml"}), (Paths{"c.xhtml"}));
}

}  // namespace
}  // namespace quill
