#include "shell/temporary_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>

#include "scoped_environment.h"
#include "temp_dir.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

class TemporaryFolderTest : public ::testing::Test {
 protected:
  fs::path Private() const { return dir_ / ("quillmere-" + std::to_string(::getuid())); }

  testing::TempDir dir_;
  testing::ScopedEnvironment tmpdir_{"TMPDIR", dir_.path().string() + "/"};
};

TEST_F(TemporaryFolderTest, IsAFolderOfTheUsersOwnWithASeparatorAtTheEnd) {
  EXPECT_EQ(TemporaryFolderPath(), Private().string() + "/");
  struct stat info {};
  ASSERT_EQ(::stat(Private().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(TemporaryFolderPath(), Private().string() + "/");  // found again
}

TEST_F(TemporaryFolderTest, AccessForOthersIsTakenAway) {
  fs::create_directory(Private());
  fs::permissions(Private(), fs::perms::all);
  EXPECT_FALSE(TemporaryFolderPath().empty());
  EXPECT_EQ(fs::status(Private()).permissions(), fs::perms::owner_all);
}

TEST_F(TemporaryFolderTest, ALinkOrAFileInItsPlaceIsRefused) {
  fs::create_directory(dir_ / "elsewhere");
  fs::create_directory_symlink(dir_ / "elsewhere", Private());
  EXPECT_EQ(TemporaryFolderPath(), "");
  fs::remove(Private());
  std::FILE* file = std::fopen(Private().c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_EQ(TemporaryFolderPath(), "");
}

TEST_F(TemporaryFolderTest, AFolderOfAnotherUserIsRefused) {
  fs::create_directory(Private());
  if (::chown(Private().c_str(), ::getuid() + 1, static_cast<gid_t>(-1)) != 0) {
    GTEST_SKIP() << "giving the folder to another user needs privileges";
  }
  EXPECT_EQ(TemporaryFolderPath(), "");
}

}  // namespace
}  // namespace quill
