// How the main window copes with a library of 10 000 books, every one of them
// listed: the time of a whole folder search, the longest stretch in which the
// window handled no messages, and how soon Stop ends a search. Run with
//   benchmarks --gtest_filter='AddCommandsBenchmark.*'
// With QUILLMERE_BENCHMARK_LIBRARY set to a folder of 10 000 books (say one that
// quillmere-sample-library wrote), that library is searched instead, so the
// figure compares with the command line's scan of the same books.

#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/qt/main_window.h"
#include "epub_builder.h"
#include "recording_user_messages.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

namespace quill {
namespace {

constexpr int kBooks = 10000;
constexpr int kBooksPerFolder = 100;

class AddCommandsBenchmark : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (const char* given = std::getenv("QUILLMERE_BENCHMARK_LIBRARY")) {
      libraryPath_ = given;
      return;
    }
    library_ = std::make_unique<testing::TempDir>();
    libraryPath_ = library_->path();
    const std::string book = testing::EpubBuilder()
                                 .AddChapters(5)
                                 .EditChapter(0, testing::DosDateTime(2022, 1, 2, 3, 4, 6))
                                 .Build();
    for (int i = 0; i < kBooks; ++i) {
      const std::filesystem::path folder =
          library_->path() / ("shelf" + std::to_string(i / kBooksPerFolder));
      std::filesystem::create_directories(folder);
      testing::WriteFile(folder / ("book" + std::to_string(i) + ".epub"), book);
    }
  }
  static void TearDownTestSuite() { library_.reset(); }

  // All books of the generated library are listed; of a given one, some.
  static int ListedBooks() { return library_ ? kBooks : -1; }

  int Rows() { return form_.findChild<QTableView*>("ListView1")->model()->rowCount(); }

  // Runs "Add folder with subfolders" on the library; `atPump` runs at every
  // pump of window messages. Answers the longest time between two pumps.
  qint64 SearchLibrary(const std::function<void()>& atPump) {
    dialogs_.folderAnswers.push_back(QString::fromStdString(libraryPath_.string()));
    QElapsedTimer sincePump;
    qint64 longestGap = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      longestGap = std::max(longestGap, sincePump.restart());
      atPump();
    });
    watch.start(0);
    sincePump.start();
    form_.findChild<QAction*>("Addfolderwithsubfolders1")->trigger();
    return std::max(longestGap, sincePump.elapsed());
  }

  static std::unique_ptr<testing::TempDir> library_;
  static std::filesystem::path libraryPath_;
  testing::ScriptedDialogs dialogs_;
  testing::RecordingUserMessages messages_;
  TForm1 form_{dialogs_};
};

std::unique_ptr<testing::TempDir> AddCommandsBenchmark::library_;
std::filesystem::path AddCommandsBenchmark::libraryPath_;

TEST_F(AddCommandsBenchmark, FolderSearchOfTenThousandBooksStaysResponsive) {
  form_.show();
  QElapsedTimer whole;
  whole.start();
  const qint64 longestGap = SearchLibrary([] {});
  const qint64 elapsed = whole.elapsed();
  if (ListedBooks() >= 0) {
    ASSERT_EQ(Rows(), ListedBooks());
  }
  const int listed = Rows();
  std::printf(
      "folder search of %d books, %d listed: %lld ms (%.0f books/s); longest %lld ms "
      "without handling window messages\n",
      kBooks, listed, static_cast<long long>(elapsed), kBooks * 1000.0 / elapsed,
      static_cast<long long>(longestGap));

  QElapsedTimer sinceStop;
  const qint64 stoppedGap = SearchLibrary([&] {
    if (Rows() >= listed / 2 && !sinceStop.isValid()) {
      sinceStop.start();
      form_.findChild<QPushButton*>("btnleallit")->click();
    }
  });
  ASSERT_TRUE(sinceStop.isValid());
  std::printf(
      "Stop at %d rows: the search returned %lld ms after the click (longest gap %lld ms)\n",
      Rows(), static_cast<long long>(sinceStop.elapsed()), static_cast<long long>(stoppedGap));
  EXPECT_LT(Rows(), listed);
}

}  // namespace
}  // namespace quill
