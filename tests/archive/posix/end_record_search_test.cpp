#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>

#include "archive/unzipper.h"
#include "archive/zip_file.h"
#include "raised_error.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

// The bytes this process has read so far, as the kernel counts them.
std::uint64_t BytesRead() {
  std::ifstream io("/proc/self/io");
  for (std::string key; io >> key;) {
    std::uint64_t value = 0;
    io >> value;
    if (key == "rchar:") return value;
  }
  return 0;
}

// Searching a large file for its end record reads each of its bytes at most
// once, wherever the record is or when there is none (a sparse file stands in
// for a large one). The directory reader's search stays in the last 64 KiB.
TEST(EndRecordSearch, ReadsEachByteAtMostOnce) {
  const testing::TempDir dir;
  constexpr std::uint64_t kSize = 96u << 20;
  const fs::path empty = dir / "no-record.epub";
  std::ofstream(empty).close();
  fs::resize_file(empty, kSize);
  // Archives with bytes after the end record (past any comment): far more
  // than the first block read from the end, and just so many that the record
  // lies across that block's start.
  const auto archive = [&](std::size_t trailing) {
    const fs::path path = dir / ("trailing-" + std::to_string(trailing) + ".epub");
    testing::ZipWriter zip;
    zip.Add("a.xhtml", "text");
    zip.layout().trailing = std::string(trailing, 'x');
    zip.WriteTo(path);
    return path;
  };

  struct Case {
    fs::path path;
    std::string raised;
    bool validByTail;  // a record in the last 64 KiB
  };
  for (const Case& c : {Case{empty, "EAbUnhandledType: Hibas archívumtípus", false},
                        Case{archive(1u << 20), "nothing raised", false},
                        Case{archive(16393), "nothing raised", true}}) {
    const std::uint64_t size = fs::file_size(c.path);
    const std::uint64_t before = BytesRead();
    TAbUnZipper unzipper;
    EXPECT_EQ(testing::RaisedBy([&] { unzipper.SetFileName(c.path); }), c.raised);
    EXPECT_EQ(unzipper.Count(), c.path == empty ? 0u : 1u);
    const std::uint64_t read = BytesRead() - before;
    EXPECT_GE(read, size / 2) << c.path;
    // The directory read after the search may take a few blocks again.
    EXPECT_LE(read, size + (256u << 10)) << c.path;

    const std::uint64_t beforeValidity = BytesRead();
    EXPECT_EQ(TZipFile::IsValid(c.path), c.validByTail) << c.path;
    EXPECT_LE(BytesRead() - beforeValidity, 80u << 10) << c.path;
  }
}

}  // namespace
}  // namespace quill
