// A timing of the directory search over a large generated tree. Run it with
//   benchmarks --gtest_filter='SearchWalkBenchmark.*'

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>

#include "shell/search_files.h"
#include "temp_dir.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

constexpr int kTopFolders = 50;
constexpr int kSubfoldersEach = 99;  // 50 + 50 * 99 = 5 000 folders below the root
constexpr int kFilesPerFolder = 20;  // 100 000 files, half of them books

void MakeFiles(const fs::path& folder) {
  fs::create_directory(folder);
  for (int i = 0; i < kFilesPerFolder; ++i) {
    const std::string name =
        (i % 2 ? "book-" : "note-") + std::to_string(i) + (i % 2 ? ".epub" : ".txt");
    const int fd = ::open((folder / name).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << folder / name;
    ::close(fd);
  }
}

long PeakResidentKiB() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(SearchWalkBenchmark, HundredThousandFilesInFiveThousandFolders) {
  testing::TempDir dir;
  for (int top = 0; top < kTopFolders; ++top) {
    const fs::path topFolder = dir / ("shelf " + std::to_string(top));
    MakeFiles(topFolder);
    for (int sub = 0; sub < kSubfoldersEach; ++sub)
      MakeFiles(topFolder / ("box " + std::to_string(sub)));
  }

  TJvSearchFiles search;
  search.Options += soOwnerData;
  search.FileParams.SetFileMasks({"*.epub"});
  search.FileParams.SetSearchTypes({stFileMask});
  search.RootDirectory = dir.path().string();
  long found = 0, entries = 0;
  search.OnFindFile = [&](TJvSearchFiles&, const std::string&) { ++found; };
  search.OnProgress = [&](TJvSearchFiles&) { ++entries; };

  ASSERT_TRUE(search.Search());  // warms the cache
  const long peakBefore = PeakResidentKiB();
  double best = 1e9;
  for (int run = 0; run < 5; ++run) {
    found = entries = 0;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(search.Search());
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  const long peakAfter = PeakResidentKiB();
  EXPECT_EQ(found, kTopFolders * (1 + kSubfoldersEach) * kFilesPerFolder / 2);
  std::cout << "walked " << entries << " entries, " << found
            << " books reported, best of 5: " << best * 1000 << " ms\n";

  // The same walk collecting every found path, to show what growth would look like.
  search.Options -= soOwnerData;
  ASSERT_TRUE(search.Search());
  const long peakCollecting = PeakResidentKiB();

  std::cout << "peak resident set: " << peakBefore << " KiB before the timed walks, " << peakAfter
            << " KiB after them, " << peakCollecting << " KiB after one walk collecting Files\n";
}

}  // namespace
}  // namespace quill
