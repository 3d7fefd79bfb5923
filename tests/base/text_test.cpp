#include "base/text.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(Text, Cp437DecodesTheHighHalf) {
  EXPECT_EQ(Cp437ToUtf8("\xC3\xA9"), "\u251C\u2310");
  EXPECT_EQ(Cp437ToUtf8("abc\x80\xFF"), "abc\u00C7\u00A0");
}

TEST(Text, Utf8ByShapeNeedsHighBytesAndCompleteSequences) {
  EXPECT_TRUE(IsUtf8ByShape("caf\xC3\xA9"));
  EXPECT_TRUE(IsUtf8ByShape("\xF0\x9F\x93\x96"));
  EXPECT_FALSE(IsUtf8ByShape("plain"));
  EXPECT_FALSE(IsUtf8ByShape("caf\xC3"));           // continuation missing at the end
  EXPECT_FALSE(IsUtf8ByShape("\xA9"));              // stray continuation
  EXPECT_FALSE(IsUtf8ByShape("\xC0\x80"));          // overlong lead
  EXPECT_FALSE(IsUtf8ByShape("\xC3\xA9\xF5\x80"));  // F5 never occurs
}

TEST(Text, SanitizeReplacesIllFormedSequences) {
  EXPECT_EQ(SanitizeUtf8("a\xFF"
                         "b"),
            "a\uFFFD"
            "b");
  EXPECT_EQ(SanitizeUtf8("\xED\xA0\x80"), "\uFFFD\uFFFD\uFFFD");  // surrogate
  EXPECT_EQ(SanitizeUtf8("\xC3\xA9"), "\u00E9");
}

TEST(Text, Utf16LeDecodesSurrogatePairs) {
  EXPECT_EQ(Utf16LeToUtf8(std::string("A\0\xE9\0", 4)), "A\u00E9");
  EXPECT_EQ(Utf16LeToUtf8(std::string("\x3D\xD8\x16\xDC", 4)), "\U0001F416");
  EXPECT_EQ(Utf16LeToUtf8(std::string("\x3D\xD8", 2)), "\uFFFD");
}

TEST(Text, Utf16LeEncodingRoundTripsAndReplacesIllFormedInput) {
  EXPECT_EQ(Utf8ToUtf16Le("A\u00E9\U0001F416"), std::string("A\0\xE9\0\x3D\xD8\x16\xDC", 8));
  EXPECT_EQ(Utf16LeToUtf8(Utf8ToUtf16Le("\u0151 \U0001F4D6")), "\u0151 \U0001F4D6");
  EXPECT_EQ(Utf8ToUtf16Le("\xFF"), std::string("\xFD\xFF", 2));
}

TEST(Text, AsciiFoldingLeavesOtherLettersAlone) {
  EXPECT_EQ(UpperAscii("ch\u00e9.xhtml"), "CH\u00e9.XHTML");
  EXPECT_EQ(LowerAscii("CH\u00c9.XHTML"), "ch\u00c9.xhtml");
  EXPECT_TRUE(SameTextAscii("OEBPS/Content.OPF", "oebps/content.opf"));
  EXPECT_FALSE(SameTextAscii("\u00e9", "\u00c9"));
}

TEST(Text, UnicodeEqualityFoldsBeyondAscii) {
  EXPECT_TRUE(SameTextUnicode("OEBPS\\\u00C9t\u00E9.xhtml", "oebps\\\u00e9T\u00c9.XHTML"));
  EXPECT_TRUE(SameTextUnicode("\u0391\u0411", "\u03b1\u0431"));
  EXPECT_FALSE(SameTextUnicode("abc", "abcd"));
}

TEST(Text, Utf16OrderPutsSupplementaryBeforeHighBmp) {
  EXPECT_LT(CompareUtf16("a", "b"), 0);
  EXPECT_GT(CompareUtf16("ab", "a"), 0);
  EXPECT_EQ(CompareUtf16("\u00e9", "\u00e9"), 0);
  // U+1F600 is D83D DE00 in UTF-16, below U+FF01.
  EXPECT_LT(CompareUtf16("\U0001F600", "\uFF01"), 0);
  EXPECT_LT(CompareUtf16("B", "a"), 0);
}

TEST(Text, ExtensionStopsAtBackslashAndColonNotSlash) {
  EXPECT_EQ(ExtensionOf("OEBPS/Text/ch1.xhtml"), ".xhtml");
  EXPECT_EQ(ExtensionOf("OEBPS/Text.d/chapter"), ".d/chapter");
  EXPECT_EQ(ExtensionOf("dir.x\\file"), "");
  EXPECT_EQ(ExtensionOf("c:file"), "");
  EXPECT_EQ(ExtensionOf("noext"), "");
}

}  // namespace
}  // namespace quill
