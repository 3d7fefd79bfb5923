#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/path_text.h"
#include "cli_runner.h"
#include "epub_builder.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::DosDateTime;
using testing::RunCli;

// The program's standard output is in text mode: its lines end in CR LF.
std::string Lines(std::string text) {
  std::erase(text, '\r');
  return text;
}

// The command line reaches the program as UTF-16; names outside the system's
// code page must arrive whole, and come out as UTF-8.
class NonAsciiArguments : public ::testing::Test {
 protected:
  NonAsciiArguments() {
    fs::create_directory(library_);
    testing::EpubBuilder()
        .Modified(DosDateTime(2021, 6, 15, 10, 0, 0))
        .AddChapters(2)
        .EditChapter(0, DosDateTime(2021, 6, 20, 8, 30, 0))
        .WriteTo(book_);
  }

  testing::TempDir dir_;
  fs::path library_ = dir_ / fs::path(u8"Könyvek őszre");
  fs::path book_ = library_ / fs::path(u8"Éjszaka – első.epub");
};

TEST_F(NonAsciiArguments, AScanOfTheFolderListsTheBookUnderItsName) {
  const auto run = RunCli({"scan", Utf8Of(library_)});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(Lines(run.out), Utf8Of(book_) + "\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(NonAsciiArguments, UnpackWritesIntoTheNamedFolderAndPrintsIt) {
  const fs::path target = dir_ / fs::path(u8"Kicsomagolva ű");
  const auto run = RunCli({"unpack", Utf8Of(book_), "--to", Utf8Of(target)});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out), Utf8Of(target) + "\n");
  EXPECT_TRUE(fs::is_regular_file(target / "META-INF" / "container.xml"));
}

}  // namespace
}  // namespace quill
