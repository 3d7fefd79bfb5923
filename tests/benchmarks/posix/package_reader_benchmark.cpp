// A timing of the package reader on a typical book (container, OPF and NCX of
// a 40-chapter EPUB 2 book), warm cache. Run it with
//   benchmarks --gtest_filter='PackageReaderBenchmark.*'

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <iostream>

#include "epub/package_reader.h"
#include "epub_builder.h"
#include "recording_user_messages.h"
#include "temp_dir.h"

namespace quill {
namespace {

constexpr int kOpens = 5000;

// Processor time of this process (user and system) in microseconds: on a
// machine shared with other work it varies less than the wall clock.
double CpuMicroseconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto micros = [](const timeval& t) { return t.tv_sec * 1e6 + t.tv_usec; };
  return micros(usage.ru_utime) + micros(usage.ru_stime);
}

TEST(PackageReaderBenchmark, FortyChapterBook) {
  testing::RecordingUserMessages boxes;
  testing::TempDir dir;
  const std::filesystem::path path = dir / "forty.epub";
  testing::EpubBuilder().AddChapters(40).WriteTo(path);

  TEpuB warm;
  warm.Open(path);
  ASSERT_TRUE(warm.Ok);
  ASSERT_EQ(warm.SpineHrefs.size(), 40u);

  const double cpuStart = CpuMicroseconds();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kOpens; ++i) {
    TEpuB reader;
    reader.Open(path);
    if (!reader.Ok) FAIL() << "open " << i;
  }
  const std::chrono::duration<double, std::micro> elapsed =
      std::chrono::steady_clock::now() - start;
  const double cpu = CpuMicroseconds() - cpuStart;
  std::cout << "TEpuB::Open of a 40-chapter book: " << elapsed.count() / kOpens << " us wall, "
            << cpu / kOpens << " us processor per Open (" << kOpens << " opens)\n";
  EXPECT_TRUE(boxes.errors.empty());
}

// The same book's costs apart: extracting one package document (an archive
// opened and walked, one entry inflated) and parsing each document.
TEST(PackageReaderBenchmark, PartsOfAnOpen) {
  testing::RecordingUserMessages boxes;
  testing::TempDir dir;
  const std::filesystem::path path = dir / "forty.epub";
  testing::EpubBuilder().AddChapters(40).WriteTo(path);
  TEpuB reader;
  const auto time = [&](const char* what, auto&& step) {
    const double cpuStart = CpuMicroseconds();
    for (int i = 0; i < kOpens; ++i) step();
    std::cout << what << ": " << (CpuMicroseconds() - cpuStart) / kOpens << " us processor\n";
  };
  for (const char* entry : {"META-INF\\container.xml", "OEBPS\\content.opf", "OEBPS\\toc.ncx"}) {
    MemoryStream document;
    ASSERT_TRUE(reader.ExtractEntry(path, entry, document));
    time((std::string("ExtractEntry ") + entry).c_str(), [&] {
      MemoryStream stream;
      reader.ExtractEntry(path, entry, stream);
    });
    time((std::string("LoadXmlFromStream ") + entry).c_str(), [&] {
      document.SetPosition(0);
      reader.Queries().LoadXmlFromStream(document);
    });
  }
}

}  // namespace
}  // namespace quill
