// A timing of the package reader on a typical book (container, OPF and NCX of
// a 40-chapter EPUB 2 book), warm cache; not a pass/fail test, so it is
// disabled by default. Run it with
//   epub_tests --gtest_also_run_disabled_tests --gtest_filter='PackageReaderBenchmark.*'

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include "epub/Epub.h"
#include "epub_builder.h"
#include "recording_user_messages.h"
#include "temp_dir.h"

namespace quill {
namespace {

constexpr int kOpens = 5000;

TEST(PackageReaderBenchmark, DISABLED_FortyChapterBook) {
  testing::RecordingUserMessages boxes;
  testing::TempDir dir;
  const std::filesystem::path path = dir / "forty.epub";
  testing::EpubBuilder().AddChapters(40).WriteTo(path);

  TEpuB warm;
  warm.Open(path);
  ASSERT_TRUE(warm.Ok);
  ASSERT_EQ(warm.SpineHrefs.size(), 40u);

  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kOpens; ++i) {
    TEpuB reader;
    reader.Open(path);
    if (!reader.Ok) FAIL() << "open " << i;
  }
  const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
  std::cout << "TEpuB::Open of a 40-chapter book: " << elapsed.count() / kOpens
            << " us per Open (" << kOpens << " opens)\n";
  EXPECT_TRUE(boxes.errors.empty());
}

}  // namespace
}  // namespace quill
