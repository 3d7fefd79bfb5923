// The package queries on a large package document: 10 000 manifest items and
// a spine of 10 000 items in another order. Checks the join's result at that
// size and prints the time each step takes (the times are information, not a
// pass/fail limit). Run alone with
//   epub_tests --gtest_filter='ManifestJoinScale.*'

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
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

double MillisecondsOf(const auto& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

TEST(ManifestJoinScale, TenThousandManifestAndSpineItems) {
  MemoryStream stream(LargePackage());
  const std::size_t bytes = stream.Size();
  PackageQueries queries;
  queries.SpineIdrefList().clear();
  queries.SpineHrefList().clear();

  const double parse = MillisecondsOf([&] { queries.LoadXmlFromStream(stream); });
  const double spine = MillisecondsOf([&] { queries.GetXmlSpineList(); });
  const double join = MillisecondsOf([&] { queries.GetXmlManifestList(); });

  ASSERT_EQ(queries.SpineHrefList().size(), static_cast<std::size_t>(kItems));
  for (int k = 0; k < kItems; k += 997) {
    std::string expected = ItemHref(SpinePosition(k));
    expected.replace(expected.find('/'), 1, "\\");
    EXPECT_EQ(queries.SpineHrefList()[k], expected);
  }
  std::cout << "package of " << bytes << " bytes: parse " << parse << " ms, spine " << spine
            << " ms, manifest join " << join << " ms\n";
}

}  // namespace
}  // namespace quill
