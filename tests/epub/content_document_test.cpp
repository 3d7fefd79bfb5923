#include "epub/content_document.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(IsContentDocument, TakesTheExtensionFromTheLastDotWhateverTheCase) {
  for (const char* name :
       {"chapter.xhtml", "OEBPS/Text/Ch1.XHTML", "a.b.html", "index.HtM", "OEBPS\\Text\\c.htm"}) {
    EXPECT_TRUE(IsContentDocument(name)) << name;
  }
  for (const char* name :
       {"chapter.xml", "chapter.xhtm", "OEBPS/Text.d/chapter", "xhtml", "chapter.xhtml.bak",
        "a.xhtml\\b", "c:d.xhtml:x", "", "chapter.xhtml "}) {
    EXPECT_FALSE(IsContentDocument(name)) << name;
  }
}

}  // namespace
}  // namespace quill
