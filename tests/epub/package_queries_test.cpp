#include "epub/package_queries.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "epub/xml/xml_error_kinds.h"
#include "recording_user_messages.h"

namespace quill {
namespace {

using Strings = std::vector<std::string>;

// The fixture is a set of package queries, which the tests ask directly.
class OpfQueries : public ::testing::Test, public PackageQueries {
 protected:
  void SetUp() override {
    SpineIdrefList().clear();
    SpineHrefList().clear();
    TocList().clear();
  }
  void Load(std::string text) {
    MemoryStream stream(std::move(text));
    LoadXmlFromStream(stream);
  }

  // Lookups that miss raise the model's error instead of creating.
  void StopAutoCreation() { Xml().Options().Exclude(sxoAutoCreate); }

  Strings TocEntries() {
    Strings entries;
    for (const auto& toc : TocList()) entries.push_back(toc->NavLabel + "|" + toc->ContentSrc);
    return entries;
  }

  testing::RecordingUserMessages boxes;
};

// A subtitle after the title, a second author: the first is what readers show.
TEST_F(OpfQueries, SectionValueTakesTheFirstMatchingElement) {
  Load(
      "<package><metadata><?title x='pi'?><dc:title>First</dc:title><title>Second</title>"
      "</metadata><metadata><Title>Other case</Title></metadata></package>");
  EXPECT_EQ(GetSectionValue("metadata", "title"), "First");
  EXPECT_EQ(GetSectionValue("metadata", "creator"), "");
  EXPECT_EQ(GetSectionValue("Metadata", "title"), "");
}

TEST_F(OpfQueries, SectionValueWithAttributeLooksWithoutCreating) {
  Load(
      "<package><metadata><dc:identifier id='uid'>urn:a</dc:identifier>"
      "<dc:identifier>urn:b</dc:identifier></metadata></package>");
  EXPECT_EQ(GetSectionValueWithAttribute("metadata", "identifier", "id"), "urn:a");
  EXPECT_EQ(GetSectionValueWithAttribute("metadata", "identifier", "ID"), "");
  EXPECT_EQ(FindRootChild("metadata")->Items().GetItem(1).PropertyCount(), 0u);
}

TEST_F(OpfQueries, MetaContentAndIdentifierSchemeCompareValuesExactly) {
  Load(
      "<package><metadata>"
      "<meta name='calibre:series' content='Saga'/><meta name='Calibre:Series' content='x'/>"
      "<dc:identifier opf:scheme='ISBN'>978-1</dc:identifier>"
      "<dc:identifier opf:scheme='isbn'>978-2</dc:identifier>"
      "</metadata></package>");
  EXPECT_EQ(GetMetaContent("calibre:series"), "Saga");
  EXPECT_EQ(GetMetaContent("calibre:series_index"), "");
  EXPECT_EQ(GetIdentifierByScheme("ISBN"), "978-1");
  EXPECT_EQ(GetIdentifierByScheme("Isbn"), "");
}

TEST_F(OpfQueries, SubjectsReplaceTheListAndVersionComesFromTheRoot) {
  Load(
      "<package version='2.0'><metadata><dc:subject>A</dc:subject><x/>"
      "<dc:subject>B</dc:subject></metadata></package>");
  Strings subjects = {"stale"};
  GetSubjects(subjects);
  EXPECT_EQ(subjects, (Strings{"A", "B"}));
  EXPECT_EQ(GetPackageVersion(), "2.0");
}

TEST_F(OpfQueries, AttributeLookupsLeaveAttributesThatLaterWalksSee) {
  Load("<package><metadata><meta property='dcterms:modified'>2020</meta></metadata></package>");
  EXPECT_EQ(GetSectionValueWithAttribute("metadata", "meta", "name"), "");
  EXPECT_EQ(GetMetaContent("calibre:series"), "");  // adds an empty "name" to the meta
  EXPECT_EQ(GetSectionValueWithAttribute("metadata", "meta", "name"), "2020");
  EXPECT_EQ(GetPackageVersion(), "");
  EXPECT_EQ(Xml().Root().PropertyCount(), 1u);
}

TEST_F(OpfQueries, RootfilePathComesFromTheLastElementOfRootfiles) {
  Load(
      "<container><rootfiles><rootfile full-path='a.opf'/>"
      "<rootfile full-path='OEBPS/b.opf'/></rootfiles></container>");
  EXPECT_EQ(GetXMLValuex("rootfiles", "full-path"), "OEBPS/b.opf");
  Load(
      "<container><rootfiles><rootfile full-path='a.opf'/><!-- c --><?pi full-path='p'?>"
      "</rootfiles></container>");
  EXPECT_EQ(GetXMLValuex("rootfiles", "full-path"), "a.opf");
  EXPECT_EQ(GetXMLValuex("nothing", "full-path"), "");
  EXPECT_TRUE(boxes.messages.empty());
}

constexpr const char* kPackage =
    "<package version='2.0'>"
    "<manifest>"
    "<item id='c1' href='Text/ch1.xhtml'/>"
    "<item id='c2' href='Text/ch%202.xhtml'/>"
    "<item id='dup' href='a.xhtml'/><item id='dup' href='b.xhtml'/>"
    "<item ID='upper' id='lower' href='case.xhtml'/>"
    "<item id='nohref'/>"
    "<item id='ncx' href='toc.ncx'/>"
    "</manifest>"
    "<spine toc='ncx'>"
    "<itemref idref='c1'/><itemref idref='c2' linear='no'/><itemref idref='c1'/>"
    "<itemref idref='missing'/><itemref/><itemref IDREF='c2'/>"
    "<itemref idref='dup'/><itemref idref='lower'/><itemref idref='upper'/>"
    "<itemref idref='nohref'/>"
    "</spine></package>";

TEST_F(OpfQueries, SpineJoinsTheManifestInSpineOrder) {
  Load(kPackage);
  GetXmlSpineList();
  EXPECT_EQ(SpineIdrefList(),
            (Strings{"c1", "c2", "c1", "missing", "dup", "lower", "upper", "nohref"}));
  GetXmlManifestList();
  // "missing" yields nothing; both "dup" items yield their href; the item whose
  // first id-like attribute is ID='upper' answers to "upper" only.
  EXPECT_EQ(SpineHrefList(), (Strings{"Text\\ch1.xhtml", "Text\\ch%202.xhtml", "Text\\ch1.xhtml",
                                      "a.xhtml", "b.xhtml", "case.xhtml", ""}));
  // The item without an href now carries an empty one.
  const TJclSimpleXMLElem& noHref = FindRootChild("manifest")->Items().GetItem(5);
  EXPECT_EQ(noHref.PropertyCount(), 2u);
  EXPECT_EQ(GetNcxPath(), "toc.ncx");
  EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(OpfQueries, ManifestJoinAppendsToWhatTheListsHold) {
  Load(kPackage);
  SpineIdrefList() = {"c2"};
  SpineHrefList() = {"kept"};
  GetXmlManifestList();
  EXPECT_EQ(SpineHrefList(), (Strings{"kept", "Text\\ch%202.xhtml"}));
}

TEST_F(OpfQueries, NcxPathNeedsTheSpineTocAttribute) {
  Load("<package><manifest><item id='ncx' href='toc.ncx'/></manifest><spine/></package>");
  EXPECT_EQ(GetNcxPath(), "");
  Load("<package><manifest><item id='ncx' href='toc.ncx'/></manifest></package>");
  EXPECT_EQ(GetNcxPath(), "");
}

TEST_F(OpfQueries, GuideCoverTakesAnyAttributeValuedCover) {
  Load(
      "<package><guide><reference type='cover' href='c1.xhtml'/>"
      "<reference title='cover' href='c2.xhtml'/><reference type='toc' href='t.xhtml'/>"
      "</guide></package>");
  EXPECT_EQ(GetGuideCover(), "c1.xhtml");
  Load("<package/>");
  EXPECT_EQ(GetGuideCover(), "");
}

TEST_F(OpfQueries, CoverPathFollowsMetaToManifest) {
  Load(
      "<package><metadata><meta name='cover' content='img'/></metadata>"
      "<manifest><item id='img' href='Images/cover.jpg'/></manifest></package>");
  EXPECT_EQ(GetCoverPath(), "Images/cover.jpg");
  EXPECT_TRUE(HasCover());

  Load(
      "<package><metadata><meta name='cover' content='gone'/></metadata>"
      "<manifest><item id='img' href='Images/cover.jpg'/></manifest></package>");
  EXPECT_EQ(GetCoverPath(), "");
  EXPECT_FALSE(HasCover());
  EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(OpfQueries, CoverPathFromTheCoverMetaWhereverItStandsElseCoverImage) {
  const std::string manifest =
      "<manifest><item href='noid.xhtml'/><item id='img' href='img.jpg'/>"
      "<item id='art' properties='svg cover-image' href='art.png'/></manifest>";
  const std::vector<std::pair<std::string, std::string>> cases = {
      // EPUB 3 property metas after the cover meta leave it standing.
      {"<meta name='cover' content='img'/><meta property='dcterms:modified'>2020</meta><meta/>",
       "img.jpg"},
      {"<meta property='x'>y</meta><meta name='cover' content='img'/>", "img.jpg"},
      {"<meta property='x'>y</meta>", "art.png"},
      {"<meta name='cover' content=''/>", "art.png"},
      {"<meta name='cover' content='gone'/>", ""},
  };
  for (const auto& [metadata, cover] : cases) {
    Load("<package><metadata>" + metadata + "</metadata>" + manifest + "</package>");
    EXPECT_EQ(GetCoverPath(), cover) << metadata;
  }
  Load(
      "<package><manifest><item id='a' properties='cover-imagery' href='a.png'/></manifest>"
      "</package>");
  EXPECT_EQ(GetCoverPath(), "");
}

TEST_F(OpfQueries, NavMapWalkIsDepthFirstParentsFirst) {
  Load(
      "<ncx><navMap><navLabel><text>Contents</text></navLabel>"
      "<navPoint id='p1'><navLabel><ncx:text>Chapter 1</ncx:text></navLabel>"
      "<content src='ch1.xhtml#a'/>"
      "<navPoint id='p1.1'><navLabel><text>Section</text></navLabel>"
      "<content src='ch1.xhtml#b'/></navPoint></navPoint>"
      "<navPoint id='p2'><navLabel/></navPoint>"
      "<navPoint id='p3'><content src='ch3.xhtml'/></navPoint>"
      "</navMap></ncx>");
  ReadNavMap(FindRootChild("navMap"));
  EXPECT_EQ(TocEntries(),
            (Strings{"Contents|", "Chapter 1|ch1.xhtml#a", "Section|ch1.xhtml#b", "|ch3.xhtml"}));
  // The label lookup gave the empty navLabel a "text" child.
  const TJclSimpleXMLElem& emptyLabel =
      FindRootChild("navMap")->Items().GetItem(2).Items().GetItem(0);
  EXPECT_EQ(emptyLabel.Items().Count(), 1u);
}

TEST_F(OpfQueries, NavMapWalkHandlesNoElementAndDeepNesting) {
  ReadNavMap(nullptr);
  EXPECT_TRUE(TocList().empty());

  std::string ncx = "<ncx><navMap>";
  for (int i = 0; i < 990; ++i) ncx += "<navPoint><content src='c.xhtml'/>";
  for (int i = 0; i < 990; ++i) ncx += "</navPoint>";
  Load(ncx + "</navMap></ncx>");
  ReadNavMap(FindRootChild("navMap"));
  EXPECT_EQ(TocList().size(), 990u);
}

TEST_F(OpfQueries, GuardedWalksShowTheirPrefixAndKeepWhatTheyGathered) {
  Load(
      "<package><metadata><meta name='cover' content='b'/></metadata>"
      "<manifest><item id='a' href='a.xhtml'/><item id='b'/></manifest>"
      "<spine><itemref idref='a'/><itemref idref='b'/></spine>"
      "<guide><reference href='g.xhtml'/></guide>"
      "<rootfiles><rootfile full-path='x.opf'/><rootfile/></rootfiles></package>");
  StopAutoCreation();

  EXPECT_EQ(GetXMLValuex("rootfiles", "full-path"), "x.opf");
  GetXmlSpineList();
  GetXmlManifestList();
  EXPECT_EQ(SpineHrefList(), (Strings{"a.xhtml"}));
  EXPECT_EQ(GetCoverPath(), "");
  EXPECT_EQ(GetNcxPath(), "");
  EXPECT_EQ(boxes.messages,
            (Strings{"Hiba GetXMLValuexNo property named \"full-path\"",
                     "Hiba GetXmlManifestList01No property named \"href\"",
                     "Hiba a feldolgozas kozben GetCoverPathNo property named \"href\"",
                     "Hiba GetNcxPathNo property named \"toc\""}));
  EXPECT_TRUE(boxes.errors.empty());
}

TEST_F(OpfQueries, GuideCoverIsSilentAndOtherRoutinesLetErrorsPass) {
  Load(
      "<package><guide><reference type='cover' href='c.xhtml'/><reference type='cover'/>"
      "</guide><metadata><meta/></metadata></package>");
  StopAutoCreation();
  EXPECT_EQ(GetGuideCover(), "c.xhtml");
  EXPECT_TRUE(boxes.messages.empty());
  EXPECT_THROW(GetMetaContent("x"), EJclSimpleXMLError);
  EXPECT_THROW(GetPackageVersion(), EJclSimpleXMLError);

  MemoryStream broken(std::string("<a></b>"));
  EXPECT_THROW(LoadXmlFromStream(broken), EJclSimpleXMLError);
}

}  // namespace
}  // namespace quill
