#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "base/win32/wide_text.h"
#include "shell/search_files.h"
#include "shell/temporary_folder.h"
#include "temp_dir.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

// Points the system's temporary directory elsewhere for the object's life.
class TemporaryDirectoryOverride {
 public:
  explicit TemporaryDirectoryOverride(const std::wstring& folder) {
    wchar_t old[MAX_PATH * 4] = {};
    if (::GetEnvironmentVariableW(L"TMP", old, MAX_PATH * 4) > 0) old_ = old;
    ::SetEnvironmentVariableW(L"TMP", folder.c_str());
  }
  ~TemporaryDirectoryOverride() {
    ::SetEnvironmentVariableW(L"TMP", old_.empty() ? nullptr : old_.c_str());
  }
  TemporaryDirectoryOverride(const TemporaryDirectoryOverride&) = delete;
  TemporaryDirectoryOverride& operator=(const TemporaryDirectoryOverride&) = delete;

 private:
  std::wstring old_;
};

TEST(TemporaryFolder, ComesInItsLongFormWithItsTrailingSeparator) {
  testing::TempDir dir;
  const fs::path folder = dir / "A Rather Long Folder Name";
  fs::create_directory(folder);
  wchar_t shortForm[MAX_PATH * 4] = {};
  ASSERT_GT(::GetShortPathNameW(folder.c_str(), shortForm, MAX_PATH * 4), 0u);
  ASSERT_NE(std::wstring(shortForm), folder.wstring()) << "no short names here";

  const TemporaryDirectoryOverride override(shortForm);
  const std::string path = TemporaryFolderPath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.back(), '\\');
  EXPECT_EQ(WideOf(path), folder.wstring() + L"\\");
}

TEST(SearchFiles, EntriesThatAreHiddenAndSystemArePassedOver) {
  testing::TempDir dir;
  const auto touch = [&](const fs::path& relative, DWORD attributes) {
    fs::create_directories((dir / relative).parent_path());
    std::ofstream(dir / relative) << "x";
    ::SetFileAttributesW((dir / relative).c_str(), attributes);
  };
  touch("plain.epub", FILE_ATTRIBUTE_NORMAL);
  touch("hidden.epub", FILE_ATTRIBUTE_HIDDEN);
  touch("system.epub", FILE_ATTRIBUTE_SYSTEM);
  touch("both.epub", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  touch("secret\\inside.epub", FILE_ATTRIBUTE_NORMAL);
  ::SetFileAttributesW((dir / "secret").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

  TJvSearchFiles search;
  std::vector<std::string> found;
  search.OnFindFile = [&](TJvSearchFiles&, const std::string& name) {
    found.push_back(fs::u8path(name).filename().string());
  };
  search.Options += soOwnerData;
  search.FileParams.SetFileMasks({"*.epub"});
  search.FileParams.SetSearchTypes({stFileMask});
  search.RootDirectory = dir.path().string();
  ASSERT_TRUE(search.Search());
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"hidden.epub", "plain.epub", "system.epub"}));
  for (const char* name : {"hidden.epub", "system.epub", "both.epub", "secret"})
    ::SetFileAttributesW((dir / name).c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace quill
