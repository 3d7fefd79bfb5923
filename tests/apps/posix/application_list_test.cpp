#include "apps/application_list.h"

#include <sys/resource.h>
#include <csignal>

#include <gtest/gtest.h>

#include "recording_user_messages.h"
#include "scoped_environment.h"
#include "shell/posix/reg_file_registry.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RecordingUserMessages;
using testing::ScopedEnvironment;
using testing::TempDir;
using testing::WriteFile;

constexpr char kKeyLine[] = "[HKEY_CURRENT_USER\\Software\\Quillmere\\apppath]\n";

// A configuration folder of its own for each test, as XDG_CONFIG_HOME.
class ApplicationListStore : public ::testing::Test {
 protected:
  fs::path File() const { return config_ / "Quillmere" / "registry.reg"; }

  void WriteStore(const std::string& values) {
    fs::create_directories(File().parent_path());
    WriteFile(File(), std::string("Windows Registry Editor Version 5.00\n\n") + kKeyLine + values);
  }

  // A start-up: the list as a fresh run loads it.
  ApplicationList Load() { return LoadApplicationList(*OpenUserRegistry()); }
  // The end of a run.
  void Save(const ApplicationList& list) { SaveApplicationList(*OpenUserRegistry(), list); }

  TempDir temp_;
  fs::path config_ = temp_ / "config";
  ScopedEnvironment environment_{"XDG_CONFIG_HOME", config_.string()};
  RecordingUserMessages messages_;
};

TEST_F(ApplicationListStore, TheFileLivesInTheUsersConfigurationFolder) {
  EXPECT_EQ(UserRegistryFile(), File());
  ScopedEnvironment relative("XDG_CONFIG_HOME", "relative/config");
  ScopedEnvironment home("HOME", "/home/reader");
  EXPECT_EQ(UserRegistryFile(), fs::path("/home/reader/.config/Quillmere/registry.reg"));
}

TEST_F(ApplicationListStore, FirstRunStartsEmptyAndCreatesTheKeyWithCountZero) {
  EXPECT_TRUE(Load().empty());
  EXPECT_FALSE(fs::exists(File()));
  Save({});
  EXPECT_EQ(ReadFile(File()), std::string("Windows Registry Editor Version 5.00\n\n") + kKeyLine +
                                  "\"Count\"=dword:00000000\n");
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(ApplicationListStore, ListSurvivesARestartInItsOrderAndUnchanged) {
  const ApplicationList list = {"/usr/bin/zeta", "", "/no/such/file",
                                "/opt/\u00e1rv\u00edz \"q\"\\x"};
  Save(list);
  EXPECT_EQ(Load(), list);
  EXPECT_EQ(fs::status(File()).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(ApplicationListStore, CountIsWrittenAfterThePathsAndStaleValuesStay) {
  Save({"a", "b", "c", "d", "e"});
  Save({"x", "y", "z"});
  const std::string text = ReadFile(File());
  EXPECT_NE(text.find("\"Path3\"=\"d\""), std::string::npos);
  EXPECT_NE(text.find("\"Path4\"=\"e\""), std::string::npos);
  EXPECT_NE(text.find("\"Count\"=dword:00000003"), std::string::npos);
  EXPECT_EQ(Load(), (ApplicationList{"x", "y", "z"}));
}

TEST_F(ApplicationListStore, CountFollowsTheTypeRules) {
  WriteStore("\"Count\"=\"2\"\n\"Path0\"=\"a\"\n\"Path1\"=\"b\"\n\"Path2\"=\"c\"\n");
  EXPECT_EQ(Load(), (ApplicationList{"a", "b"})) << "a count stored as text";
  WriteStore("\"Count\"=hex(b):01,00,00,00,01,00,00,00\n\"Path0\"=\"a\"\n");
  EXPECT_EQ(Load(), (ApplicationList{"a"})) << "a REG_QWORD counts with its low 32 bits";
  WriteStore("\"Count\"=hex:02\n\"Path0\"=\"a\"\n\"Path1\"=\"b\"\n");
  EXPECT_EQ(Load().size(), 2u) << "REG_BINARY of at most 8 bytes";
  WriteStore("\"Count\"=hex:01,00,00,00,00,00,00,00,00\n\"Path0\"=\"a\"\n");
  EXPECT_TRUE(Load().empty()) << "REG_BINARY over 8 bytes reads as the default";
  WriteStore("\"Count\"=\"two\"\n\"Path0\"=\"a\"\n");
  EXPECT_TRUE(Load().empty()) << "text that is no number";
  WriteStore("\"Count\"=dword:ffffffff\n\"Path0\"=\"a\"\n");
  EXPECT_TRUE(Load().empty()) << "a negative count";
  WriteStore("\"Count\"=hex(7):31,00,00,00,00,00\n\"Path0\"=\"a\"\n");
  EXPECT_TRUE(Load().empty()) << "REG_MULTI_SZ is no number";
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(ApplicationListStore, PathsFollowTheTypeRules) {
  WriteStore(
      "\"Count\"=dword:00000005\n"
      "\"Path0\"=\"a\"\n"
      "\"Path2\"=hex:2f,00,62,00,00,00\n"  // binary data read as UTF-16 text
      "\"Path3\"=dword:00000007\n"         // a number is no text
      "\"Path4\"=hex(2):25,00,48,00,25,00,00,00\n");
  EXPECT_EQ(Load(), (ApplicationList{"a", "", "/b", "", "%H%"}));
}

TEST_F(ApplicationListStore, ACountBeyondTheStoredPathsCountsThemAndIsCapped) {
  WriteStore("\"Count\"=hex:ff,ff\n\"Path0\"=\"a\"\n\"Path2\"=\"c\"\n");
  EXPECT_EQ(Load(), (ApplicationList{"a", "", "c"}));
  Save(Load());
  EXPECT_EQ(ReadFile(File()).find("Path3"), std::string::npos) << "no empty entry written back";

  std::string paths = "\"Count\"=dword:7fffffff\n";
  for (int i = 0; i <= kMaxApplicationCount; ++i)
    paths += "\"Path" + std::to_string(i) + "\"=\"p" + std::to_string(i) + "\"\n";
  WriteStore(paths);
  const ApplicationList list = Load();
  ASSERT_EQ(list.size(), static_cast<std::size_t>(kMaxApplicationCount));
  EXPECT_EQ(list.back(), "p" + std::to_string(kMaxApplicationCount - 1));
}

TEST_F(ApplicationListStore, ADamagedFileLosesOnlyItsDamagedLines) {
  WriteStore(
      "\"Count\"=dword:00000003\n\"Path0\"=\"a\"\n\xFF\xFE\x01junk\n\"Path1\"=\"b\n\"Path2\"="
      "\"c\"\n");
  EXPECT_EQ(Load(), (ApplicationList{"a", "", "c"}));
  Save({"a", "c"});
  EXPECT_EQ(Load(), (ApplicationList{"a", "c"}));
}

TEST_F(ApplicationListStore, OtherKeysOfTheFileAreKept) {
  WriteStore("\"Count\"=dword:00000000\n\n[HKEY_CURRENT_USER\\Software\\Other]\n\"Keep\"=\"me\"\n");
  Save({"a"});
  EXPECT_NE(ReadFile(File()).find("[HKEY_CURRENT_USER\\Software\\Other]\n\"Keep\"=\"me\""),
            std::string::npos);
}

TEST_F(ApplicationListStore, AnUnreadableFileIsReportedAndNeverOverwritten) {
  fs::create_directories(File());  // a folder where the file should be
  EXPECT_TRUE(Load().empty());
  EXPECT_EQ(messages_.messages,
            std::vector<std::string>{
                "Unable to open key \"Software\\Quillmere\\apppath\\Count\" for read"});
  messages_.messages.clear();
  Save({"a"});
  EXPECT_EQ(messages_.messages,
            std::vector<std::string>{"Unable to create key 'Software\\Quillmere\\apppath'"});
  EXPECT_TRUE(fs::is_directory(File()));
}

TEST_F(ApplicationListStore, AKeyThatCannotBeCreatedIsReported) {
  WriteFile(config_, "a file where the configuration folder should be");
  Save({"a"});
  EXPECT_EQ(messages_.messages,
            std::vector<std::string>{"Unable to create key 'Software\\Quillmere\\apppath'"});
}

// Limits the size of files this process may write, so that the next write
// fails as on a full disk (root is not stopped by permissions).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST_F(ApplicationListStore, AFailedSaveKeepsThePreviousListWhole) {
  Save({"old 1", "old 2"});
  const std::string before = ReadFile(File());
  {
    FileSizeLimit limit(before.size() + 10);
    Save(ApplicationList(50, "/a/rather/long/path/to/an/application/that/will/not/fit"));
  }
  EXPECT_EQ(
      messages_.messages,
      std::vector<std::string>{
          "Unable to open key \"HKEY_CURRENT_USER\\Software\\Quillmere\\apppath\" for write"});
  EXPECT_EQ(ReadFile(File()), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(File().parent_path()), fs::directory_iterator()),
            1)
      << "no temporary file is left behind";
  EXPECT_EQ(Load(), (ApplicationList{"old 1", "old 2"}));
}

TEST_F(ApplicationListStore, AFileThatIsALinkStaysALink) {
  const fs::path real = temp_ / "dotfiles" / "registry.reg";
  fs::create_directories(real.parent_path());
  fs::create_directories(File().parent_path());
  fs::create_symlink(real, File());
  Save({"a"});
  EXPECT_TRUE(fs::is_symlink(File()));
  EXPECT_NE(ReadFile(real).find("\"Path0\"=\"a\""), std::string::npos);
  EXPECT_EQ(Load(), ApplicationList{"a"});
}

}  // namespace
}  // namespace quill
