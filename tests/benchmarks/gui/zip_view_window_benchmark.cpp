// A timing of the zip view's opening on a book of 5 000 content documents (the
// listing, the texts, and the window shown and painted) and of sorting its
// rows. Run it with
//   benchmarks --gtest_filter='ZipViewBenchmark.*'

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLocale>
#include <QTest>
#include <QTreeView>
#include <chrono>
#include <iostream>

#include "epub_builder.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"
#include "viewer/qt/zip_view_window.h"

namespace quill {
namespace {

using testing::DosDateTime;

TEST(ZipViewBenchmark, OpensABookOfFiveThousandDocuments) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  testing::ScriptedDialogs dialogs;
  TFrmZip frmZip(dialogs);
  testing::TempDir dir;
  const std::filesystem::path book = dir / "book.epub";
  testing::EpubBuilder builder;
  builder.AddChapters(5000);
  for (int i = 0; i < 5000; ++i) {  // a different time text on every row
    builder.EditChapter(static_cast<std::size_t>(i),
                        DosDateTime(1980 + i % 80, 1 + i % 12, 1 + i % 28, i % 24, i % 60, 0));
  }
  builder.WriteTo(book);
  auto* list = frmZip.findChild<QTreeView*>(QStringLiteral("ListView1"));
  ASSERT_NE(list, nullptr);
  const QString path = QString::fromStdString(book.string());
  for (int round = 0; round < 3; ++round) {
    const auto start = std::chrono::steady_clock::now();
    frmZip.Fill(path, 0);
    frmZip.show();
    frmZip.repaint();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(list->model()->rowCount(), 5000);
    std::cout << "Opening with 5000 content documents: " << took.count() << " ms\n";
    for (const int column : {1, 0}) {
      QHeaderView* header = list->header();
      const QPoint at(header->sectionViewportPosition(column) + 20, header->height() / 2);
      const auto sortStart = std::chrono::steady_clock::now();
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
      const std::chrono::duration<double, std::milli> sorting =
          std::chrono::steady_clock::now() - sortStart;
      std::cout << "  sorting by column " << column << ": " << sorting.count() << " ms\n";
    }
    frmZip.hide();
  }
}

}  // namespace
}  // namespace quill
