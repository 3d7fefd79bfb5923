#include "archive/unpack_to_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "recording_user_messages.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::ZipEntry;
using testing::ZipWriter;

constexpr std::uint16_t kUtf8Names = 0x0800;

ZipEntry Entry(std::string name, std::string data, std::uint16_t flag) {
  ZipEntry entry;
  entry.name = std::move(name);
  entry.data = std::move(data);
  entry.flag = flag;
  return entry;
}

// Every file below the folder as UTF-8 relative paths with "/" between names.
std::set<std::string> FilesUnder(const fs::path& folder) {
  std::set<std::string> files;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    if (!item.is_regular_file()) continue;
    const std::u8string name = item.path().lexically_relative(folder).generic_u8string();
    files.emplace(name.begin(), name.end());
  }
  return files;
}

TEST(UnpackNames, EntriesWithNonAsciiNamesLandUnderThoseNames) {
  testing::TempDir dir;
  const fs::path book = dir / "book.epub";
  ZipWriter()
      .Add(Entry("mimetype", "application/epub+zip", 0))
      .Add(Entry("OEBPS/Fejezetek/\xC3\x89jszaka \xE2\x80\x93 \xC5\x91sz.xhtml", "night",
                 kUtf8Names))
      .Add(Entry("OEBPS/\xE6\x9C\xAC.xhtml", "book", kUtf8Names))
      .Add(Entry("OEBPS/caf\x82.xhtml", "cp437", 0))  // no flag: code page 437, 0x82 is "é"
      .WriteTo(book);
  // The folder's own name is not ASCII either.
  const fs::path folder = dir / fs::path(u8"Kicsomagolt könyv");

  testing::RecordingUserMessages messages;
  ASSERT_TRUE(UnpackToFolder(book, folder));
  EXPECT_TRUE(messages.errors.empty());
  EXPECT_EQ(FilesUnder(folder), (std::set<std::string>{
                                    "mimetype",
                                    "OEBPS/Fejezetek/\xC3\x89jszaka \xE2\x80\x93 \xC5\x91sz.xhtml",
                                    "OEBPS/\xE6\x9C\xAC.xhtml",
                                    "OEBPS/caf\xC3\xA9.xhtml",
                                }));
  EXPECT_EQ(testing::ReadFile(folder / fs::path(u8"OEBPS/Fejezetek/Éjszaka – ősz.xhtml")), "night");
}

}  // namespace
}  // namespace quill
