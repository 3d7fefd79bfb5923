// A timing of unpacking a large book. Run it with
//   benchmarks --gtest_filter='UnpackBenchmark.*'
// The book is written under the temporary folder (TMPDIR), which is where the
// unpacked files go too; TMPDIR=/dev/shm separates the cost of the disk.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <iostream>
#include <random>
#include <string>

#include "archive/unpack_to_folder.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

constexpr int kChapters = 1890;
constexpr int kImages = 110;
constexpr std::size_t kImageSize = 400 * 1024;

std::string ChapterText(int number) {
  std::string text = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body><h1>Chapter " +
                     std::to_string(number) + "</h1>";
  std::mt19937 random(number);
  while (text.size() < 20 * 1024) {
    text += "<p>Paragraph " + std::to_string(random()) + " of a long and winding tale.</p>\n";
  }
  return text + "</body></html>";
}

std::string ImageBytes(int number) {
  std::mt19937 random(100000 + number);
  std::string bytes(kImageSize, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

struct CpuTimes {
  double user = 0;
  double system = 0;
};

CpuTimes CpuNow() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return {usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6,
          usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6};
}

void TimeUnpack(const char* what, const std::filesystem::path& book,
                const std::filesystem::path& folder) {
  const CpuTimes before = CpuNow();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(UnpackToFolder(book, folder));
  const std::chrono::duration<double, std::milli> wall = std::chrono::steady_clock::now() - start;
  const CpuTimes after = CpuNow();
  std::cout << what << ": " << wall.count() << " ms wall, " << (after.user - before.user) * 1000
            << " ms user, " << (after.system - before.system) * 1000 << " ms system\n";
}

TEST(UnpackBenchmark, FiftyMegabyteBookWithTwoThousandEntries) {
  testing::TempDir dir;
  const std::filesystem::path book = dir / "large.epub";
  {
    testing::ZipWriter zip;
    zip.layout().deflateLevel = 6;
    testing::ZipEntry mimetype;
    mimetype.name = "mimetype";
    mimetype.data = "application/epub+zip";
    mimetype.method = 0;
    zip.Add(mimetype);
    for (int i = 0; i < kChapters; ++i) {
      zip.Add("OEBPS/Text/chapter" + std::to_string(i) + ".xhtml", ChapterText(i));
    }
    for (int i = 0; i < kImages; ++i) {
      testing::ZipEntry image;
      image.name = "OEBPS/Images/image" + std::to_string(i) + ".jpg";
      image.data = ImageBytes(i);
      image.method = 0;
      zip.Add(image);
    }
    zip.WriteTo(book);
  }
  std::cout << "book: " << std::filesystem::file_size(book) << " bytes, " << 1 + kChapters + kImages
            << " entries\n";

  TimeUnpack("warm-up unpack", book, dir / "warm-up");
  TimeUnpack("unpack into a fresh folder", book, dir / "fresh");
  TimeUnpack("unpack over the earlier copy", book, dir / "fresh");
}

}  // namespace
}  // namespace quill
