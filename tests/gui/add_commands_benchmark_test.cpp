// How the main window copes with a library of 10 000 books, every one of them
// listed: the time of a whole folder search, the longest stretch in which the
// window handled no messages, and how soon Stop ends a search. Disabled by
// default; run with
//   gui_tests --gtest_also_run_disabled_tests --gtest_filter='AddCommandsBenchmark.*'

#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "app/qt/Unit1.h"
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
    library_ = std::make_unique<testing::TempDir>();
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

  int Rows() { return form_.findChild<QTableView*>("ListView1")->model()->rowCount(); }

  // Runs "Add folder with subfolders" on the library; `atPump` runs at every
  // pump of window messages. Answers the longest time between two pumps.
  qint64 SearchLibrary(const std::function<void()>& atPump) {
    dialogs_.folderAnswers.push_back(QString::fromStdString(library_->path().string()));
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
  testing::ScriptedDialogs dialogs_;
  testing::RecordingUserMessages messages_;
  TForm1 form_{dialogs_};
};

std::unique_ptr<testing::TempDir> AddCommandsBenchmark::library_;

TEST_F(AddCommandsBenchmark, DISABLED_FolderSearchOfTenThousandBooksStaysResponsive) {
  form_.show();
  QElapsedTimer whole;
  whole.start();
  const qint64 longestGap = SearchLibrary([] {});
  const qint64 elapsed = whole.elapsed();
  ASSERT_EQ(Rows(), kBooks);
  std::printf(
      "folder search of %d books, all listed: %lld ms (%.0f books/s); longest %lld ms "
      "without handling window messages\n",
      kBooks, static_cast<long long>(elapsed), kBooks * 1000.0 / elapsed,
      static_cast<long long>(longestGap));

  QElapsedTimer sinceStop;
  const qint64 stoppedGap = SearchLibrary([&] {
    if (Rows() >= kBooks / 2 && !sinceStop.isValid()) {
      sinceStop.start();
      form_.findChild<QPushButton*>("btnleallit")->click();
    }
  });
  ASSERT_TRUE(sinceStop.isValid());
  std::printf(
      "Stop at %d rows: the search returned %lld ms after the click (longest gap %lld ms)\n",
      Rows(), static_cast<long long>(sinceStop.elapsed()), static_cast<long long>(stoppedGap));
  EXPECT_LT(Rows(), kBooks);
}

}  // namespace
}  // namespace quill
