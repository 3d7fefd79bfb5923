#include "shell/search_files.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <stdexcept>

#include "links.h"
#include "temp_dir.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

class SearchFilesTest : public ::testing::Test {
 protected:
  SearchFilesTest() {
    search_.OnFindFile = [this](TJvSearchFiles&, const std::string& name) {
      found_.push_back(name);
      events_.push_back("found " + name);
    };
    search_.OnProgress = [this](TJvSearchFiles&) {
      ++progress_;
      events_.push_back("progress");
    };
  }

  void Touch(const fs::path& relative) {
    fs::create_directories((dir_ / relative).parent_path());
    std::ofstream(dir_ / relative) << "x";
  }

  std::string Root() const { return dir_.path().string(); }
  std::string PathOf(const fs::path& relative) const {
    fs::path path = dir_ / relative;
    return path.make_preferred().string();
  }

  // Configures the search as the folder commands do, and runs it.
  bool SearchEpubs(TJvDirOption option, const std::string& root) {
    found_.clear();
    events_.clear();
    progress_ = 0;
    search_.Files.clear();
    search_.DirOption = option;
    search_.Options += soOwnerData;
    search_.FileParams.SetFileMasks({"*.epub"});
    search_.FileParams.SetSearchTypes({stFileMask});
    search_.RootDirectory = root;
    return search_.Search();
  }

  // The full paths of the named entries of a folder, in the platform's listing order.
  std::vector<std::string> InListingOrder(const fs::path& folder,
                                          const std::set<std::string>& names) const {
    std::vector<std::string> paths;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir_ / folder)) {
      if (names.count(entry.path().filename().string())) paths.push_back(entry.path().string());
    }
    return paths;
  }

  testing::TempDir dir_;
  TJvSearchFiles search_;
  std::vector<std::string> found_;
  std::vector<std::string> events_;
  int progress_ = 0;
};

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(SearchFilesTest, ANewComponentSearchesFilesBelowTheRootAndAbortsOnErrors) {
  const TJvSearchFiles fresh;
  EXPECT_EQ(fresh.DirOption, doIncludeSubDirs);
  EXPECT_EQ(fresh.Options.bits(), 32u);
  EXPECT_FALSE(fresh.searching());
  EXPECT_FALSE(fresh.aborting());
}

TEST_F(SearchFilesTest, ReportsMatchesInAnyCaseAndAFoldersFilesBeforeItsSubfolders) {
  Touch("sub1/c.Epub");
  Touch("sub1/deeper/d.epub");
  Touch("sub2/e.EPUB");
  Touch("book.epub");
  Touch("NOTES.EPUB");
  Touch(".epub");
  Touch("x.epub.bak");
  Touch("readme.txt");

  EXPECT_TRUE(SearchEpubs(doIncludeSubDirs, Root()));
  std::vector<std::string> subfolderFiles;
  for (const std::string& sub : InListingOrder("", {"sub1", "sub2"})) {
    if (sub == PathOf("sub1")) {
      subfolderFiles.insert(subfolderFiles.end(),
                            {PathOf("sub1/c.Epub"), PathOf("sub1/deeper/d.epub")});
    } else {
      subfolderFiles.push_back(PathOf("sub2/e.EPUB"));
    }
  }
  EXPECT_EQ(found_,
            Concat({InListingOrder("", {"book.epub", "NOTES.EPUB", ".epub"}), subfolderFiles}));

  EXPECT_TRUE(SearchEpubs(doExcludeSubDirs, Root()));
  EXPECT_EQ(found_, InListingOrder("", {"book.epub", "NOTES.EPUB", ".epub"}));
}

TEST_F(SearchFilesTest, ARootWithOrWithoutTrailingSeparatorGivesTheSamePaths) {
  Touch("a.epub");
  Touch("sub/b.epub");
  ASSERT_TRUE(SearchEpubs(doIncludeSubDirs, Root()));
  const std::vector<std::string> withoutSeparator = found_;
  const char separator = static_cast<char>(fs::path::preferred_separator);
  ASSERT_TRUE(SearchEpubs(doIncludeSubDirs, Root() + separator));
  EXPECT_EQ(found_, withoutSeparator);
  EXPECT_EQ(std::set<std::string>(found_.begin(), found_.end()),
            (std::set<std::string>{PathOf("a.epub"), PathOf("sub/b.epub")}));
}

TEST_F(SearchFilesTest, ARootThatIsNoFolderRaisesNothingAndFails) {
  Touch("file.epub");
  for (const std::string& root : {PathOf("missing"), PathOf("file.epub"), std::string()}) {
    EXPECT_FALSE(SearchEpubs(doIncludeSubDirs, root)) << root;
    EXPECT_TRUE(events_.empty()) << root;
    EXPECT_FALSE(search_.searching());
  }
}

TEST_F(SearchFilesTest, AnEmptyRootRaisesProgressForTheDotEntriesOnly) {
  EXPECT_TRUE(SearchEpubs(doIncludeSubDirs, Root()));
  EXPECT_EQ(progress_, 2);
  EXPECT_TRUE(found_.empty());
}

TEST_F(SearchFilesTest, AbortInTheProgressHandlerStopsBeforeThatEntry) {
  for (int i = 0; i < 10; ++i) Touch("f" + std::to_string(i) + ".epub");
  search_.OnProgress = [this](TJvSearchFiles& sender) {
    events_.push_back("progress");
    if (++progress_ == 5) sender.Abort();
  };
  EXPECT_FALSE(SearchEpubs(doIncludeSubDirs, Root()));
  EXPECT_EQ(progress_, 5);
  EXPECT_EQ(events_.back(), "progress");  // the fifth entry was not examined
  EXPECT_GE(found_.size(), 2u);           // the four before it, the two dot entries aside
  EXPECT_LE(found_.size(), 4u);
  EXPECT_TRUE(search_.aborting());
  EXPECT_FALSE(search_.searching());

  search_.OnProgress = nullptr;  // the next search starts afresh and runs to the end
  EXPECT_TRUE(SearchEpubs(doIncludeSubDirs, Root()));
  EXPECT_EQ(found_.size(), 10u);
  EXPECT_FALSE(search_.aborting());
}

TEST_F(SearchFilesTest, AbortInASubfolderEndsTheScansAboveIt) {
  Touch("sub1/a.epub");
  Touch("sub2/b.epub");
  search_.OnProgress = [this](TJvSearchFiles& sender) {
    // The root lists ".", "..", sub1 and sub2; the next event is in a subfolder.
    if (++progress_ == 5) sender.Abort();
  };
  EXPECT_FALSE(SearchEpubs(doIncludeSubDirs, Root()));
  EXPECT_EQ(progress_, 5);
  EXPECT_TRUE(found_.empty());
}

TEST_F(SearchFilesTest, AbortWhileIdleDoesNothing) {
  Touch("a.epub");
  search_.Abort();
  EXPECT_FALSE(search_.aborting());
  EXPECT_TRUE(SearchEpubs(doIncludeSubDirs, Root()));
  EXPECT_EQ(found_.size(), 1u);
}

TEST_F(SearchFilesTest, AnUnreadableSubfolderIsPassedOver) {
  Touch("a.epub");
  Touch("locked/hidden.epub");
  Touch("open/b.epub");
  fs::permissions(dir_ / "locked", fs::perms::none);
  if (DIR* probe = ::opendir(PathOf("locked").c_str())) {
    ::closedir(probe);
    GTEST_SKIP() << "this user reads folders whatever their permissions (running as root)";
  }
  EXPECT_TRUE(SearchEpubs(doIncludeSubDirs, Root()));
  EXPECT_EQ(std::set<std::string>(found_.begin(), found_.end()),
            (std::set<std::string>{PathOf("a.epub"), PathOf("open/b.epub")}));
}

// A subfolder that vanishes, becomes a file or a link to itself between the
// listing of its parent and its own is told, and its sibling is still searched.
TEST_F(SearchFilesTest, AFolderThatFailsIsToldAndItsSiblingsAreStillSearched) {
  const fs::path spoilt = dir_ / "b";
  const std::vector<std::pair<const char*, std::function<void()>>> spoilers = {
      {"vanished", [&] { fs::remove_all(spoilt); }},
      {"a file",
       [&] {
         fs::remove_all(spoilt);
         std::ofstream(spoilt) << "x";
       }},
      // Where no link can be made, nothing stands there: vanished again.
      {"a link to itself",
       [&] {
         fs::remove_all(spoilt);
         testing::MakeLink("b", spoilt);
       }},
  };
  Touch("first.epub");
  Touch("c/kept.epub");
  for (const auto& [what, spoil] : spoilers) {
    Touch("b/lost.epub");
    // The root's own files come before any subfolder is entered.
    search_.OnFindFile = [&, spoil = spoil](TJvSearchFiles&, const std::string& name) {
      if (found_.empty()) spoil();
      found_.push_back(name);
    };
    std::vector<std::string> failed;
    search_.OnFolderError = [&](TJvSearchFiles&, const std::string& folder,
                                const std::error_code& error) {
      if (error) failed.push_back(folder);
    };
    EXPECT_FALSE(SearchEpubs(doIncludeSubDirs, Root())) << what;
    EXPECT_EQ(std::set<std::string>(found_.begin(), found_.end()),
              (std::set<std::string>{PathOf("first.epub"), PathOf("c/kept.epub")}))
        << what;
    EXPECT_EQ(failed, std::vector<std::string>{PathOf("b")}) << what;
    fs::remove(spoilt);
  }
}

TEST_F(SearchFilesTest, AnErrorFromAHandlerReachesTheCallerWithTheSearchEnded) {
  Touch("sub/deeper/a.epub");
  search_.OnFindFile = [](TJvSearchFiles&, const std::string&) {
    throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(SearchEpubs(doIncludeSubDirs, Root()), std::runtime_error);
  EXPECT_FALSE(search_.searching());

  search_.OnFindFile = [this](TJvSearchFiles&, const std::string& name) { found_.push_back(name); };
  EXPECT_TRUE(SearchEpubs(doIncludeSubDirs, Root()));
  EXPECT_EQ(found_, std::vector<std::string>{PathOf("sub/deeper/a.epub")});
}

TEST_F(SearchFilesTest, ASearchStartedDuringASearchAnswersFalseAndDisturbsNothing) {
  Touch("a.epub");
  Touch("sub/b.epub");
  int refused = 0;
  search_.OnProgress = [&](TJvSearchFiles& sender) {
    if (!sender.Search()) ++refused;
  };
  EXPECT_TRUE(SearchEpubs(doIncludeSubDirs, Root()));
  EXPECT_EQ(refused, 7);  // every entry: four in the root, three in sub
  EXPECT_EQ(found_.size(), 2u);
}

TEST_F(SearchFilesTest, FilesAreCollectedOnlyWithoutOwnerData) {
  Touch("a.epub");
  search_.Files = {"left over"};
  ASSERT_TRUE(SearchEpubs(doIncludeSubDirs, Root()));
  EXPECT_TRUE(search_.Files.empty());

  search_.Options -= soOwnerData;
  search_.RootDirectory = Root();
  ASSERT_TRUE(search_.Search());
  EXPECT_EQ(search_.Files, std::vector<std::string>{PathOf("a.epub")});
}

TEST_F(SearchFilesTest, ALinkToAnotherFolderIsSearchedAgain) {
  Touch("a/x.epub");
  if (testing::MakeLink(dir_ / "a", dir_ / "link")) GTEST_SKIP() << testing::kNoLinks;
  EXPECT_TRUE(SearchEpubs(doIncludeSubDirs, Root()));
  EXPECT_EQ(std::multiset<std::string>(found_.begin(), found_.end()),
            (std::multiset<std::string>{PathOf("a/x.epub"), PathOf("link/x.epub")}));
}

TEST_F(SearchFilesTest, ALinkCycleEndsTheDescentAtTheRepeatedFolder) {
  Touch("a/b/deep.epub");
  Touch("c/side.epub");
  if (testing::MakeLink(dir_.path(), dir_ / "a/b/up"))
    GTEST_SKIP() << testing::kNoLinks;  // back to the root
  fs::create_directory_symlink(".", dir_ / "self");
  fs::create_directory_symlink(dir_ / "a", dir_ / "c/to a");  // c and a lead to each other
  fs::create_directory_symlink(dir_ / "c", dir_ / "a/to c");
  EXPECT_TRUE(SearchEpubs(doIncludeSubDirs, Root()));
  // Each folder is entered once along every path that does not repeat a folder.
  EXPECT_EQ(std::multiset<std::string>(found_.begin(), found_.end()),
            (std::multiset<std::string>{PathOf("a/b/deep.epub"), PathOf("a/to c/side.epub"),
                                        PathOf("c/side.epub"), PathOf("c/to a/b/deep.epub")}));
}

}  // namespace
}  // namespace quill
