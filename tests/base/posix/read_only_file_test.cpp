#include "base/read_only_file.h"

#include <gtest/gtest.h>
#include <fstream>
#include <string>

#include "temp_dir.h"

namespace quill {
namespace {

void Write(const std::filesystem::path& path, char fill) {
  std::ofstream(path, std::ios::binary) << std::string(100, fill);
}

std::string Read(const ReadOnlyFile& file, std::uint64_t offset, std::size_t count) {
  std::string bytes(count, '\0');
  bytes.resize(file.ReadAt(offset, std::as_writable_bytes(std::span(bytes))));
  return bytes;
}

// Bytes read ahead answer exactly the reads that lie within them (or run past
// the file's end from within them); every other read asks the file. The file
// is rewritten after the read-ahead, so the answer shows where it came from.
TEST(ReadOnlyFile, BytesReadAheadAnswerOnlyTheReadsWithinThem) {
  const testing::TempDir dir;
  Write(dir / "f", 'a');
  ReadOnlyFile file = ReadOnlyFile::Open(dir / "f", ReadOnlyFile::Sharing::kAll);
  file.ReadAhead(40, 30);
  file.ReadAhead(90, 50);  // runs past the end: 10 bytes held
  Write(dir / "f", 'b');
  const struct {
    std::uint64_t offset;
    std::size_t count;
    std::string expected;
  } cases[] = {
      {40, 30, std::string(30, 'a')},
      {50, 20, std::string(20, 'a')},
      {70, 0, ""},
      {40, 31, std::string(31, 'b')},
      {39, 2, std::string(2, 'b')},
      {95, 20, std::string(5, 'a')},
      {85, 10, std::string(10, 'b')},
      {100, 5, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Read(file, c.offset, c.count), c.expected) << c.offset << "+" << c.count;
  }
  ReadOnlyFile moved = std::move(file);
  EXPECT_EQ(Read(moved, 40, 30), std::string(30, 'a'));
}

}  // namespace
}  // namespace quill
