#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

#include "archive/ab_unzipper.h"
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
  const fs::path archive = dir / "early-record.epub";
  testing::ZipWriter zip;
  zip.Add("a.xhtml", "text");
  zip.layout().trailing = std::string(1u << 20, 'x');  // after the record, past any comment
  zip.WriteTo(archive);

  struct Case {
    fs::path path;
    std::string raised;
  };
  for (const Case& c : {Case{empty, "EAbUnhandledType: Hibas archívumtípus"},
                        Case{archive, "nothing raised"}}) {
    const std::uint64_t size = fs::file_size(c.path);
    const std::uint64_t before = BytesRead();
    TAbUnZipper unzipper;
    EXPECT_EQ(testing::RaisedBy([&] { unzipper.SetFileName(c.path); }), c.raised);
    const std::uint64_t read = BytesRead() - before;
    EXPECT_GE(read, size - (1u << 20)) << c.path;
    EXPECT_LE(read, size + (64u << 10)) << c.path;

    const std::uint64_t beforeValidity = BytesRead();
    EXPECT_FALSE(TZipFile::IsValid(c.path));  // no record in the last 64 KiB
    EXPECT_LE(BytesRead() - beforeValidity, 80u << 10) << c.path;
  }
}

}  // namespace
}  // namespace quill
