#include "epub/xml/simple_xml.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/memory_stream.h"
#include "epub/xml/simple_xml_parser.h"
#include "epub/xml/xml_error_kinds.h"

namespace quill {
namespace {

// The setting of the system's one document.
const SimpleXmlOptions kSystemOptions = {sxoAutoCreate, sxoAutoIndent, sxoAutoEncodeValue,
                                         sxoAutoEncodeEntity};

class SimpleXml : public ::testing::Test {
 protected:
  TJclSimpleXMLElemClassic& Parse(std::string text) {
    MemoryStream stream(std::move(text));
    document.LoadFromStream(stream, seUTF8);
    return document.Root();
  }

  // "Kind: message" of the error a parse raises, or "no error".
  std::string ParseError(std::string text) {
    try {
      Parse(std::move(text));
    } catch (const Error& error) {
      return error.kind() + ": " + error.message();
    }
    return "no error";
  }

  TJclSimpleXMLElem& Child(TJclSimpleXMLElem& element, std::size_t index) {
    return element.Items().GetItem(index);
  }

  TJvSimpleXML document{kSystemOptions};
};

template <typename Node>
bool Is(const TJclSimpleXMLElem& node) {
  return dynamic_cast<const Node*>(&node) != nullptr;
}

TEST_F(SimpleXml, ReferencesAreDecodedExactlyOnce) {
  auto& root = Parse("<t a=\"x &amp;lt; y\">A &amp;amp; B</t>");
  EXPECT_EQ(root.Value(), "A &amp; B");
  EXPECT_EQ(root.Properties().GetItem(0).Value(), "x &lt; y");
}

TEST_F(SimpleXml, CharacterReferencesAndWhatStaysUnchanged) {
  EXPECT_EQ(Parse("<t>&#65;&#x41;&#X41;&AMP;&Lt;&GT;&apos;&quot;</t>").Value(), "AAA&<>'\"");
  EXPECT_EQ(Parse("<t>&#233;&#x1F600;</t>").Value(), "\u00E9\U0001F600");
  EXPECT_EQ(Parse("<t>&#x4G; &#; &foo; &nbsp; &amp x</t>").Value(),
            "&#x4G; &#; &foo; &nbsp; &amp x");
  EXPECT_EQ(Parse("<t>end &#65</t>").Value(), "end &#65");
}

TEST_F(SimpleXml, TextKeepsItsWhiteSpaceAndLineBreaks) {
  EXPECT_EQ(Parse("<title>\n  My Book\n</title>").Value(), "\n  My Book\n");
  EXPECT_EQ(Parse("<t>a\r\n b</t>").Value(), "a\r\n b");
}

TEST_F(SimpleXml, ValueRuleLeavesOtherContentAsChildren) {
  auto& whiteSpace = Parse("<a> \r\n\t </a>");
  EXPECT_EQ(whiteSpace.Value(), "");
  EXPECT_EQ(whiteSpace.Items().Count(), 0u);

  auto& cdata = Parse("<d><![CDATA[<p>Hi &amp;</p>]]></d>");
  EXPECT_EQ(cdata.Value(), "");
  ASSERT_EQ(cdata.Items().Count(), 1u);
  EXPECT_TRUE(Is<TJclSimpleXMLElemCData>(Child(cdata, 0)));
  EXPECT_EQ(Child(cdata, 0).Value(), "<p>Hi &amp;</p>");

  auto& comment = Parse("<d><!-- a <b> &amp; --></d>");
  EXPECT_EQ(comment.Value(), "");
  ASSERT_EQ(comment.Items().Count(), 1u);
  EXPECT_TRUE(Is<TJclSimpleXMLElemComment>(Child(comment, 0)));
  EXPECT_EQ(Child(comment, 0).Value(), " a <b> &amp; ");

  auto& mixed = Parse("<p>Hi <b>there</b><?pi x='1'?></p>");
  EXPECT_EQ(mixed.Value(), "");
  ASSERT_EQ(mixed.Items().Count(), 3u);
  EXPECT_TRUE(Is<TJclSimpleXMLElemText>(Child(mixed, 0)));
  EXPECT_EQ(Child(mixed, 0).Value(), "Hi ");
  EXPECT_EQ(Child(mixed, 0).Name(), "");
  EXPECT_EQ(Child(mixed, 1).Name(), "b");
  EXPECT_EQ(Child(mixed, 1).Value(), "there");
  EXPECT_TRUE(Is<TJclSimpleXMLElemProcessingInstruction>(Child(mixed, 2)));
  EXPECT_EQ(Child(mixed, 2).Name(), "pi");
  EXPECT_EQ(Child(mixed, 2).Properties().GetItem(0).Value(), "1");
}

TEST_F(SimpleXml, NamesSplitAtTheColon) {
  auto& root = Parse(
      "<opf:package xmlns:opf='u' opf:scheme='ISBN' x:y:z=\"1\" v = \"line\nbreak<\" v='2'/>");
  EXPECT_EQ(root.Name(), "package");
  EXPECT_EQ(root.NameSpace(), "opf");
  ASSERT_EQ(root.PropertyCount(), 5u);
  EXPECT_EQ(root.Properties().GetItem(1).Name(), "scheme");
  EXPECT_EQ(root.Properties().GetItem(1).NameSpace(), "opf");
  EXPECT_EQ(root.Properties().GetItem(2).Name(), "z");
  EXPECT_EQ(root.Properties().GetItem(2).NameSpace(), "x:y");
  EXPECT_EQ(root.Properties().GetItem(3).Value(), "line\nbreak<");
  EXPECT_EQ(root.Properties().GetItem(4).Value(), "2");  // duplicates are kept
}

TEST_F(SimpleXml, EndTagsMatchExactlyUnlessPrefixed) {
  EXPECT_EQ(Parse("<m><dc:Title>T</dc:title></m>").Items().GetItem(0).Value(), "T");
  EXPECT_EQ(ParseError("<m><Title>T</title></m>"),
            "EJclSimpleXMLError: Invalid XML Element: Erroneous end of tag, expecting </Title> "
            "but </title> found at position 11");
}

TEST_F(SimpleXml, EndTagMayHoldWhiteSpaceBeforeItsClose) {
  auto& root = Parse("<a><b>x</b \n></a >");
  ASSERT_EQ(root.Items().Count(), 1u);
  EXPECT_EQ(Child(root, 0).Value(), "x");
}

TEST_F(SimpleXml, AttributeLookupIgnoresCaseFirstMatchAndCreates) {
  auto& root = Parse("<p V\u00C9RSION='1' v\u00e9rsion='2' opf:scheme='ISBN'/>");
  EXPECT_EQ(root.Properties().GetItemNamed("v\u00e9rsion").Value(), "1");
  EXPECT_EQ(root.Properties().GetItemNamed("scheme").Value(), "ISBN");
  EXPECT_EQ(root.PropertyCount(), 3u);
  EXPECT_EQ(root.Properties().GetItemNamed("version").Value(), "");
  EXPECT_EQ(root.PropertyCount(), 4u);
  EXPECT_EQ(root.Properties().GetItem(3).Name(), "version");
}

TEST_F(SimpleXml, ElementLookupFoldsAsciiOnlyLastMatchAndCreates) {
  auto& root =
      Parse("<navLabel><text>one</text><ncx:text>two</ncx:text><\u00C9>e</\u00C9></navLabel>");
  EXPECT_EQ(root.Items().GetItemNamed("TEXT").Value(), "two");
  EXPECT_EQ(root.Items().Count(), 3u);
  auto& created = root.Items().GetItemNamed("\u00e9");  // not the same letter to A-Z folding
  EXPECT_EQ(root.Items().Count(), 4u);
  EXPECT_EQ(&created, &Child(root, 3));
  EXPECT_EQ(created.Name(), "\u00e9");
  EXPECT_EQ(created.Value(), "");
}

TEST_F(SimpleXml, InputEndingEarlyKeepsWhatWasRead) {
  EXPECT_EQ(Parse("").Items().Count(), 0u);
  EXPECT_EQ(Parse(" \r\n\t").PropertyCount(), 0u);
  EXPECT_EQ(Parse("\xEF\xBB\xBF").Items().Count(), 0u);

  auto& afterB = Parse("<a><b/>");
  ASSERT_EQ(afterB.Items().Count(), 1u);
  EXPECT_EQ(Child(afterB, 0).Name(), "b");

  auto& inText = Parse("<a><title>My Bo");
  EXPECT_EQ(Child(inText, 0).Value(), "My Bo");

  auto& inTag = Parse("<a x=\"1\" y=\"2");
  ASSERT_EQ(inTag.PropertyCount(), 1u);
  EXPECT_EQ(inTag.Properties().GetItem(0).Value(), "1");

  EXPECT_EQ(Parse("<a><b></b").Items().Count(), 1u);
}

TEST_F(SimpleXml, NothingAfterTheRootIsRead) {
  EXPECT_EQ(ParseError("<a/>garbage <<<& </b>"), "no error");
  EXPECT_EQ(ParseError("<a></a><!-- unclosed"), "no error");
}

TEST_F(SimpleXml, PrologItemsAreReadAndKept) {
  auto& root = Parse(
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
      "<?xml-stylesheet href=\"s.css\" type=\"text/css\"?>\n"
      "<!-- note -->\n"
      "<!DOCTYPE ncx PUBLIC \"-//x\" \"y\" [ <!ENTITY e '>'> ]>\n"
      "<ncx>caf\u00e9</ncx>");
  EXPECT_EQ(root.Name(), "ncx");
  EXPECT_EQ(root.Value(), "caf\u00e9");  // read as UTF-8 whatever the declaration says
  ASSERT_EQ(document.Prolog().Count(), 3u);
  EXPECT_EQ(document.Prolog().GetItem(0).Name(), "xml");
  EXPECT_EQ(document.Prolog().GetItem(1).Name(), "xml-stylesheet");
  EXPECT_EQ(document.Prolog().GetItem(2).Value(), " note ");
  EXPECT_EQ(document.DocType(), " ncx PUBLIC \"-//x\" \"y\" [ <!ENTITY e '>'> ]");
}

// A tree larger than the document's first block of memory, then a small one:
// each parse reads its own input whole, and the root stays the same object.
TEST_F(SimpleXml, LargeAndSmallDocumentsInTurn) {
  std::string large = "<manifest>";
  for (int i = 0; i < 5000; ++i) {
    const std::string n = std::to_string(i);
    large += "<item id=\"c" + n + "\" href=\"Text/chapter" + n + ".xhtml\">&amp;" + n + "</item>";
  }
  large += "</manifest>";
  auto& root = Parse(large);
  ASSERT_EQ(root.Items().Count(), 5000u);
  EXPECT_EQ(Child(root, 0).Properties().GetItemNamed("id").Value(), "c0");
  EXPECT_EQ(Child(root, 4999).Properties().GetItemNamed("href").Value(), "Text/chapter4999.xhtml");
  EXPECT_EQ(Child(root, 4999).Value(), "&4999");
  EXPECT_EQ(Child(root, 4999).Properties().GetItemNamed("media-type").Value(), "");
  EXPECT_EQ(Child(root, 4999).PropertyCount(), 3u);

  auto& small = Parse("<a x='1'>t</a>");
  EXPECT_EQ(&small, &root);
  EXPECT_EQ(small.Name(), "a");
  EXPECT_EQ(small.Value(), "t");
  EXPECT_EQ(small.Items().Count(), 0u);
  ASSERT_EQ(small.PropertyCount(), 1u);
  EXPECT_EQ(small.Properties().GetItem(0).Value(), "1");
  EXPECT_EQ(Parse(large).Items().Count(), 5000u);
}

TEST_F(SimpleXml, ParseReplacesTheTreeAndReadsFromTheStreamPosition) {
  Parse("<?pi?><a x='1'><b/></a>");
  MemoryStream stream(std::string("junk<c y='2'/>"));
  stream.SetPosition(4);
  document.LoadFromStream(stream, seUTF8);
  EXPECT_EQ(stream.Position(), stream.Size());
  auto& root = document.Root();
  EXPECT_EQ(root.Name(), "c");
  EXPECT_EQ(root.Items().Count(), 0u);
  ASSERT_EQ(root.PropertyCount(), 1u);
  EXPECT_EQ(root.Properties().GetItem(0).Name(), "y");
  EXPECT_EQ(document.Prolog().Count(), 0u);
}

TEST_F(SimpleXml, IllFormedUtf8BecomesReplacementCharacters) {
  auto& root = Parse("<a t='\xFF'>x\xC3(\xED\xA0\x80</a>");
  EXPECT_EQ(root.Value(), "x\uFFFD(\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(root.Properties().GetItem(0).Value(), "\uFFFD");
}

TEST_F(SimpleXml, EveryParseErrorNamesItsProblemAndPosition) {
  const std::pair<std::string, std::string> cases[] = {
      {"  x<a/>", "Invalid Document: Unexpected text in file prolog at position 2"},
      {"<a><b:c:d/></a>", "Invalid XML Element: malformed tag found (no valid name) at position 7"},
      {"<a>< b/></a>", "Invalid XML Element: malformed tag found (no valid name) at position 4"},
      {"<a><b*/></a>", "Invalid XML Element: malformed tag found (no valid name) at position 5"},
      {"<a b=\"1\"c=\"2\"/>",
       "Invalid XML Element: Expected end of tag but \"c\" found at position 8"},
      {"<a/ >", "Invalid XML Element: Expected end of tag but \" \" found at position 3"},
      {"<a></a x>", "Invalid XML Element: Expected end of tag but \"x\" found at position 7"},
      {"<?pi a='1'?x><a/>",
       "Invalid XML Element: Expected end of tag but \"x\" found at position 11"},
      {"<a></b>",
       "Invalid XML Element: Erroneous end of tag, expecting </a> but </b> found at position 3"},
      {"<a 1=\"x\"/>",
       "Invalid XML Element: Unexpected character in property declaration (\"1\" found at "
       "position 3)"},
      {"<a b/>",
       "Invalid XML Element: Unexpected character in property declaration (\"/\" found at "
       "position 4)"},
      {"<a b*='x'/>",
       "Invalid XML Element: Unexpected character in property declaration (\"*\" found at "
       "position 4)"},
      {"<a b=x/>",
       "Invalid XML Element: Unexpected character in property declaration. Expecting \" or ' "
       "but \"x\"  found at position 5"},
      {"<a><!-x--></a>", "Invalid Comment: expected \"<!--\" but found \"<!-x\" at position 3"},
      {"<a><!DOCTYPE x></a>",
       "Invalid Comment: expected \"<!--\" but found \"<!DO\" at position 3"},
      {"<a><!-- a -- b --></a>",
       "Invalid Comment: \"--\" not allowed inside comments at position 10"},
      {"<a><!-- abc", "Invalid Comment: Unexpected end of data at position 11"},
      {"<a><?pi x='1'", "Invalid Comment: Unexpected end of data at position 13"},
      {"<!DOCTYPE a [ <!ENTITY x '>'> ", "Invalid Comment: Unexpected end of data at position 30"},
      {"<a><![CDAT[x]]></a>",
       "Invalid CDATA: expected \"<![CDATA[\" but found \"<![CDAT[x\" at position 3"},
      {"<a><![CDATA[abc", "Invalid CDATA: Unexpected end of data at position 15"},
      {"<!DOCTYP a><a/>",
       "Invalid Header: expected \"<!DOCTYPE\" but found \"<!DOCTYP \" at position 0"},
  };
  for (const auto& [input, message] : cases) {
    EXPECT_EQ(ParseError(input), "EJclSimpleXMLError: " + message) << input;
  }
  EXPECT_EQ(ParseError("<?xml version=\"1.0\" encoding=\"klingon\"?><a/>"),
            "EJclCharsetError: No matching charset");
  EXPECT_EQ(ParseError("<?xml version=\"1.0\" encoding=\"\"?><a/>"), "no error");
}

TEST_F(SimpleXml, ErrorKeepsWhatWasBuiltBeforeIt) {
  ParseError("<a x='1'><b/><c></d></a>");
  auto& root = document.Root();
  EXPECT_EQ(root.PropertyCount(), 1u);
  EXPECT_EQ(root.Items().Count(), 2u);
}

std::string Nested(std::size_t depth) {
  std::string text;
  for (std::size_t i = 0; i < depth; ++i) text += "<e>";
  for (std::size_t i = 0; i < depth; ++i) text += "</e>";
  return text;
}

TEST_F(SimpleXml, NestingIsBoundedInsteadOfExhaustingTheStack) {
  EXPECT_EQ(ParseError(Nested(SimpleXmlParser::kMaxDepth)), "no error");
  EXPECT_EQ(ParseError(Nested(SimpleXmlParser::kMaxDepth + 1)),
            "EJclSimpleXMLError: Invalid XML Element: elements nested deeper than 1000 levels at "
            "position 3000");
  EXPECT_NE(ParseError(std::string(1'000'000, '<') + "a"), "no error");
  EXPECT_NE(ParseError(Nested(200'000)), "no error");
}

TEST_F(SimpleXml, ReadingOptionsChangeLookupsAndText) {
  document.Options() = {};
  auto& root = Parse("<a><t>x &amp; y</t><b>  </b><B/></a>");
  EXPECT_EQ(Child(root, 0).Value(), "x &amp; y");  // references stay without sxoAutoEncodeValue
  EXPECT_THROW(root.Items().GetItemNamed("missing"), EJclSimpleXMLError);
  EXPECT_THROW(root.Properties().GetItemNamed("missing"), EJclSimpleXMLError);
  EXPECT_THROW(root.Items().GetItem(9), EJclSimpleXMLError);
  EXPECT_EQ(root.Items().GetItemNamed("b").Name(), "B");

  document.Options() = {sxoCaseSensitive, sxoKeepWhitespace};
  auto& kept = Parse("<a><b>  </b><B/></a>");
  EXPECT_EQ(kept.Items().GetItemNamed("b").Value(), "  ");

  document.Options() = {sxoTrimPrecedingTextWhitespace, sxoTrimFollowingTextWhitespace};
  EXPECT_EQ(Parse("<a>\n  My Book \u3000</a>").Value(), "My Book");
}

TEST_F(SimpleXml, DamagedDocumentsParseOrFailCleanly) {
  const std::string valid =
      "\xEF\xBB\xBF<?xml version='1.0' encoding='utf-8'?><!DOCTYPE n [<!ENTITY a 'b'>]>"
      "<!-- c --><n:ncx a='1' b=\"&amp;&#x41;\"><navMap><navPoint><navLabel><text>T&#233;"
      "</text></navLabel><content src='c.xhtml#x'/></navPoint><![CDATA[x]]><?p q='r'?>"
      "</navMap></n:ncx>";
  const char replacements[] = {'<', '>', '/', '&', '"', '\'', '-', '!', '?', ':', ' ', '\xC3'};
  // A cut or a damaged byte either parses or raises the model's own error, and
  // the document parses the intact text again afterwards; the sanitizer build
  // catches any read out of bounds.
  const auto parsesOrFailsCleanly = [&](const std::string& text) {
    const std::string outcome = ParseError(text);
    return outcome == "no error" || outcome.starts_with("EJclSimpleXMLError: ") ||
           outcome.starts_with("EJclCharsetError: ");
  };
  for (std::size_t i = 0; i < valid.size(); ++i) {
    EXPECT_TRUE(parsesOrFailsCleanly(valid.substr(0, i))) << "cut at " << i;
    for (const char c : replacements) {
      std::string damaged = valid;
      damaged[i] = c;
      EXPECT_TRUE(parsesOrFailsCleanly(damaged)) << "byte " << i << " made " << c;
    }
  }
  EXPECT_EQ(Parse(valid).Name(), "ncx");
}

}  // namespace
}  // namespace quill
