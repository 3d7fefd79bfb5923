// A timing of TZipFile::Open on corpus books. Run it with
//   benchmarks --gtest_filter='ZipFileBenchmark.*'

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>

#include "archive/zip_file.h"
#include "corpus.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

// The best mean time of one call, in microseconds, over five rounds.
template <typename Call>
double BestMicroseconds(int callsPerRound, Call&& call) {
  double best = 1e18;
  for (int round = 0; round < 5; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < callsPerRound; ++i) call();
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count() / callsPerRound);
  }
  return best;
}

TEST(ZipFileBenchmark, OpenCorpusBooks) {
  const fs::path dir = testing::CorpusDir() / "epub" / "idpf";
  if (!fs::is_directory(dir)) GTEST_SKIP() << testing::kNoCorpus;
  for (const char* name : {"mahabharata.epub", "moby-dick.epub", "wasteland.epub"}) {
    const fs::path book = dir / name;
    TZipFile reader;
    reader.Open(book);  // warms the cache
    const int entries = reader.FileCount();
    reader.Close();
    const double open = BestMicroseconds(2000, [&] {
      reader.Open(book);
      reader.Close();
    });
    const double listing = BestMicroseconds(2000, [&] {
      if (!TZipFile::IsValid(book)) std::abort();
      reader.Open(book);
      if (reader.FileNames().size() != static_cast<std::size_t>(entries)) std::abort();
      reader.Close();
    });
    std::cout << name << " (" << entries << " entries): Open+Close " << open
              << " us; IsValid+Open+FileNames+Close " << listing << " us\n";
  }
}

}  // namespace
}  // namespace quill
