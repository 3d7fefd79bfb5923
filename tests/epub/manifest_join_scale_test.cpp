// The package queries on a large package document: 10 000 manifest items and
// a spine of 10 000 items in another order. Checks the join's result at that
// size.

#include <gtest/gtest.h>

#include <string>

#include "epub/package_queries.h"

namespace quill {
namespace {

constexpr int kItems = 10'000;

std::string ItemId(int i) { return "item" + std::to_string(i); }
std::string ItemHref(int i) { return "Text/chapter" + std::to_string(i) + ".xhtml"; }
// The spine visits the items in a scrambled but complete order.
int SpinePosition(int k) { return static_cast<int>((k * 7919L) % kItems); }

std::string LargePackage() {
  std::string opf =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<package version=\"2.0\">\n<manifest>\n";
  for (int i = 0; i < kItems; ++i) {
    opf += "  <item id=\"" + ItemId(i) + "\" href=\"" + ItemHref(i) +
           "\" media-type=\"application/xhtml+xml\"/>\n";
  }
  opf += "</manifest>\n<spine toc=\"ncx\">\n";
  for (int k = 0; k < kItems; ++k)
    opf += "  <itemref idref=\"" + ItemId(SpinePosition(k)) + "\"/>\n";
  return opf + "</spine>\n</package>\n";
}

TEST(ManifestJoinScale, TenThousandManifestAndSpineItems) {
  MemoryStream stream(LargePackage());
  PackageQueries queries;
  queries.SpineIdrefList().clear();
  queries.SpineHrefList().clear();

  queries.LoadXmlFromStream(stream);
  queries.GetXmlSpineList();
  queries.GetXmlManifestList();

  ASSERT_EQ(queries.SpineHrefList().size(), static_cast<std::size_t>(kItems));
  for (int k = 0; k < kItems; k += 997) {
    std::string expected = ItemHref(SpinePosition(k));
    expected.replace(expected.find('/'), 1, "\\");
    EXPECT_EQ(queries.SpineHrefList()[k], expected);
  }
}

}  // namespace
}  // namespace quill
