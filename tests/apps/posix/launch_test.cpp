#include <sys/wait.h>

#include <gtest/gtest.h>

#include "apps/application_launch.h"
#include "recording_program.h"
#include "shell/application_start.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteFile;

// A program that records its arguments, and a book to start it with.
class RecordingProgram : public ::testing::Test {
 protected:
  RecordingProgram() {
    fs::create_directories(book_.parent_path());
    WriteFile(book_, "not really a book");
  }

  std::string WaitForMarker() { return recorder_.WaitForRecord(); }

  TempDir temp_;
  testing::RecordingProgram recorder_{temp_.path()};
  fs::path program_ = recorder_.path();
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
  // A launch that must start, made after the ones that must not, is the only
  // one the program records.
  LaunchWithFile(program_.string(), book_.string());
  EXPECT_EQ(WaitForMarker(), "1\n" + book_.string() + "\n");
}

TEST_F(RecordingProgram, AFileThatCannotBeExecutedIsReportedAsNotStarted) {
  EXPECT_FALSE(StartApplication(book_, "x")) << "the book has no execute permission";
}

}  // namespace
}  // namespace quill
