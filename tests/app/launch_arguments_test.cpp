#include "app/launch_arguments.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/book_paths.h"
#include "temp_dir.h"

namespace quill {
namespace {

using Action = LaunchArguments::Action;

TEST(LaunchArguments, AreReadAsPathsHelpVersionOrAnUnknownOption) {
  struct Case {
    std::vector<std::string> arguments;
    Action action;
    std::vector<std::string> paths;
    std::string unknown;
  };
  const Case cases[] = {
      {{}, Action::kRun, {}, ""},
      {{"a.epub", "/books", "-"}, Action::kRun, {"a.epub", "/books", "-"}, ""},
      {{"--", "--help", "-x.epub"}, Action::kRun, {"--help", "-x.epub"}, ""},
      {{"a.epub", "--version"}, Action::kVersion, {"a.epub"}, ""},
      {{"--bogus", "--version", "-h"}, Action::kHelp, {}, "--bogus"},
      {{"--bogus", "-z"}, Action::kUsageError, {}, "--bogus"},
  };
  for (const Case& c : cases) {
    const LaunchArguments parsed = ParseLaunchArguments(c.arguments);
    EXPECT_EQ(parsed.action, c.action) << ::testing::PrintToString(c.arguments);
    EXPECT_EQ(parsed.paths, c.paths);
    EXPECT_EQ(parsed.unknownOption, c.unknown);
  }
}

TEST(BookPaths, AreSortedIntoEpubFilesFoldersAndTheRest) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir / "shelf.epub");
  const std::string folder = (dir / "shelf.epub").string();
  const std::string book = (dir / "Book.EPUB").string();  // need not exist
  const std::string notes = (dir / "notes.txt").string();
  const BookPaths sorted = SortBookPaths({notes, book, folder});
  EXPECT_EQ(sorted.files, std::vector<std::string>{book});
  EXPECT_EQ(sorted.folders, std::vector<std::string>{folder});
  EXPECT_EQ(sorted.ignored, std::vector<std::string>{notes});
  EXPECT_TRUE(SortBookPaths({notes}).empty());
}

}  // namespace
}  // namespace quill
