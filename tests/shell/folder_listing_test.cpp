#include "shell/folder_listing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "links.h"
#include "temp_dir.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

// Every entry of the folder with whether the listing took it for a folder.
std::map<std::string, bool> ListAll(const fs::path& folder) {
  FolderListing listing(folder.string());
  EXPECT_EQ(listing.start(), ListingStart::kOpened);
  std::map<std::string, bool> entries;
  FolderEntry entry;
  while (listing.Next(entry)) entries[entry.name] = entry.isFolder;
  EXPECT_TRUE(listing.Close());
  return entries;
}

TEST(FolderListing, ListsDotEntriesAndFollowsLinksToTellFoldersFromFiles) {
  testing::TempDir dir;
  std::ofstream(dir / "file.epub") << "x";
  fs::create_directory(dir / "folder");
  if (testing::MakeLink(dir / "folder", dir / "folder link")) GTEST_SKIP() << testing::kNoLinks;
  fs::create_symlink(dir / "file.epub", dir / "file link");
  fs::create_symlink(dir / "gone", dir / "dangling link");

  const std::map<std::string, bool> expected = {
      {".", true},           {"..", true},         {"file.epub", false},     {"folder", true},
      {"folder link", true}, {"file link", false}, {"dangling link", false},
  };
  EXPECT_EQ(ListAll(dir.path()), expected);
}

TEST(FolderListing, NamesAPathThatLeadsToNoFolderAsNotFound) {
  testing::TempDir dir;
  std::ofstream(dir / "file.epub") << "x";
  EXPECT_EQ(FolderListing((dir / "missing").string()).start(), ListingStart::kPathNotFound);
  EXPECT_EQ(FolderListing((dir / "file.epub").string()).start(), ListingStart::kPathNotFound);
  EXPECT_EQ(FolderListing((dir / "missing/deeper").string()).start(), ListingStart::kPathNotFound);
}

TEST(FolderListing, AFolderKeepsItsIdentityThroughALink) {
  testing::TempDir dir;
  fs::create_directory(dir / "a");
  fs::create_directory(dir / "b");
  if (testing::MakeLink(dir / "a", dir / "link")) GTEST_SKIP() << testing::kNoLinks;
  const FolderListing a((dir / "a").string());
  const FolderListing link((dir / "link/").string());
  const FolderListing b((dir / "b").string());
  EXPECT_EQ(a.identity(), link.identity());
  EXPECT_FALSE(a.identity() == b.identity());
}

}  // namespace
}  // namespace quill
