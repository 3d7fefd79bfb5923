#include <sys/wait.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "apps/myfunctions.h"
#include "shell/application_start.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// A small program that records its arguments, one a line, in a marker file
// (written under another name first, so a reader never sees half of it).
class RecordingProgram : public ::testing::Test {
 protected:
  RecordingProgram() {
    WriteFile(program_,
              "#!/bin/sh\n"
              "{ echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; } > '" + marker_.string() + ".part'\n"
              "mv '" + marker_.string() + ".part' '" + marker_.string() + "'\n");
    fs::permissions(program_, fs::perms::owner_all);
    fs::create_directories(book_.parent_path());
    WriteFile(book_, "not really a book");
  }

  // The recorded lines, once the program has run; empty after a timeout.
  std::string WaitForMarker() {
    for (int i = 0; i < 500 && !fs::exists(marker_); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return fs::exists(marker_) ? ReadFile(marker_) : std::string();
  }

  TempDir temp_;
  fs::path program_ = temp_ / "record args";
  fs::path marker_ = temp_ / "marker";
  fs::path book_ = temp_ / "My Books" / "Alice's \"best\" book.epub";
};

TEST_F(RecordingProgram, TheBookArrivesAsTheOneArgument) {
  LaunchWithFile(program_.string(), book_.string());
  EXPECT_EQ(WaitForMarker(), "1\n" + book_.string() + "\n");
}

TEST_F(RecordingProgram, TheProgramIsDetachedAndLeavesNoZombie) {
  ASSERT_TRUE(StartApplication(program_, "x"));
  // The only child this process had is gone already, reaped: the program
  // itself belongs to init.
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  EXPECT_EQ(WaitForMarker(), "1\nx\n");
}

TEST_F(RecordingProgram, NothingStartsWhenTheProgramOrTheBookIsMissing) {
  LaunchWithFile((temp_ / "no program").string(), book_.string());
  LaunchWithFile(program_.string(), (temp_ / "no book.epub").string());
  LaunchWithFile(program_.string(), temp_.path().string());  // a folder is no file
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(fs::exists(marker_));
}

TEST_F(RecordingProgram, AFileThatCannotBeExecutedIsReportedAsNotStarted) {
  EXPECT_FALSE(StartApplication(book_, "x")) << "the book has no execute permission";
}

}  // namespace
}  // namespace quill
