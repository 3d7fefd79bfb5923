#include "viewer/qt/zip_view_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QLocale>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <filesystem>

#include "app/qt/book_list_model.h"
#include "app/qt/main_window.h"
#include "epub_builder.h"
#include "qstring_printer.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"
#include "viewer/qt/zip_image_list.h"
#include "viewer/qt/zip_view_model.h"
#include "widgets/image_list.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::DosDateTime;
using testing::EpubBuilder;
using testing::ZipEntry;
using testing::ZipWriter;

ZipEntry Entry(std::string name, std::string data, std::uint16_t method) {
  ZipEntry entry;
  entry.name = std::move(name);
  entry.data = std::move(data);
  entry.method = method;
  return entry;
}

// Two deflated chapters (the second stored at midnight), a stored ".html"
// document of 1152 bytes, an ".HTM" document whose CRC-32 has all bits set,
// and an archive comment.
ZipWriter SampleBook() {
  ZipWriter zip =
      EpubBuilder().AddChapters(2).EditChapter(1, DosDateTime(2022, 3, 1, 0, 0, 0)).ToZip();
  zip.Add(Entry("OEBPS/Text/notes.html", std::string(1152, 'n'), 0));
  ZipEntry index = Entry("OEBPS/index.HTM", "<html>index</html>", 8);
  index.crc = 0xFFFFFFFFu;
  zip.Add(index);
  zip.layout().archiveComment = "Made for the zip view";
  return zip;
}

QImage Pixels(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

// The window as start-up creates it, in a known locale.
class ZipViewTest : public ::testing::Test {
 protected:
  ZipViewTest() : frmZip(dialogs) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }
  ~ZipViewTest() override { QLocale::setDefault(previousLocale_); }

  template <typename Widget>
  Widget* Child(const char* name) {
    auto* child = frmZip.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QTreeView* List() { return Child<QTreeView>("ListView1"); }
  int RowCount() { return List()->model()->rowCount(); }
  QString Cell(int row, int column) {
    return List()->model()->index(row, column).data().toString();
  }
  QStringList Row(int row) {
    QStringList cells;
    for (int column = 0; column < 7; ++column) cells.push_back(Cell(row, column));
    return cells;
  }
  QStringList Column(int column) {
    QStringList cells;
    for (int row = 0; row < RowCount(); ++row) cells.push_back(Cell(row, column));
    return cells;
  }
  QImage RowImage(int row) {
    return Pixels(List()->model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>());
  }
  void ClickHeader(int column) {
    QHeaderView* header = List()->header();
    const QPoint at(header->sectionViewportPosition(column) + 20, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }
  QString Fill(const fs::path& path) {
    const QString text = QString::fromStdString(path.string());
    frmZip.Fill(text, 0);
    return text;
  }

  QLocale previousLocale_;
  testing::ScriptedDialogs dialogs;
  TFrmZip frmZip;
  testing::TempDir dir;
  fs::path book = dir / "book.epub";
};

TEST_F(ZipViewTest, HasItsCaptionLayoutColumnsAndImages) {
  EXPECT_EQ(frmZip.windowTitle(), "Zipview");
  EXPECT_EQ(frmZip.font().family(), "Tahoma");
  EXPECT_EQ(frmZip.font().pixelSize(), 11);
  frmZip.show();
  EXPECT_EQ(frmZip.size(), QSize(894, 504));
  EXPECT_EQ(Child<QToolBar>("ToolBar1")->geometry(), QRect(0, 0, 894, 29));
  EXPECT_TRUE(Child<QToolBar>("ToolBar1")->actions().isEmpty());
  EXPECT_EQ(Child<QStatusBar>("StatusBar1")->geometry(), QRect(0, 504 - 19, 894, 19));
  EXPECT_EQ(List()->geometry(), QRect(0, 29, 894, 504 - 29 - 19));
  EXPECT_EQ(List()->selectionBehavior(), QAbstractItemView::SelectRows);

  const QStringList captions{"Filename", "ModifiedDateTime",  "CompressedSize", "UncompressedSize",
                             "CRC32",    "CompressionMethod", "Comment"};
  const int widths[] = {450, 140, 100, 110, 80, 100, 100};
  ASSERT_EQ(List()->model()->columnCount(), 7);
  for (int column = 0; column < 7; ++column) {
    EXPECT_EQ(List()->model()->headerData(column, Qt::Horizontal).toString(), captions[column]);
    EXPECT_EQ(List()->header()->sectionSize(column), widths[column]);
    const QVariant image = List()->model()->headerData(column, Qt::Horizontal, Qt::DecorationRole);
    EXPECT_EQ(image.isValid(), column == 1) << column;
  }
  const ZipImageList images;
  EXPECT_EQ(
      Pixels(List()->model()->headerData(1, Qt::Horizontal, Qt::DecorationRole).value<QIcon>()),
      Pixels(images.icon(kSortArrowsImage)));
  EXPECT_EQ(Pixels(images.icon(kSortArrowsImage)),
            Pixels(ImageList().icon(ImageList::kSortArrows)));
  for (int index = 0; index < ZipImageList::kCount; ++index) {
    const QImage image = Pixels(images.icon(index));
    EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_TRUE(image.hasAlphaChannel());
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << index;  // a transparent corner
  }
  EXPECT_NE(Pixels(images.icon(kXmlPageImage)), Pixels(images.icon(kHtmPageImage)));
}

TEST_F(ZipViewTest, ListsTheContentDocumentsWithTheirRecordedValues) {
  SampleBook().WriteTo(book);
  const QString path = Fill(book);

  EXPECT_EQ(frmZip.windowTitle(), "Zipview: " + path);
  EXPECT_TRUE(dialogs.messages.empty());
  ASSERT_EQ(RowCount(), 4);
  const QString comment = "Made for the zip view";
  EXPECT_EQ(Row(0)[0], "OEBPS/Text/chapter01.xhtml");
  EXPECT_EQ(Row(0)[1], "6/15/21 1:45:30 PM");  // short date, blank, long time without zone
  EXPECT_EQ(Row(0)[5], "8");
  EXPECT_EQ(Row(0)[6], comment);
  EXPECT_EQ(Row(1).mid(0, 2), (QStringList{"OEBPS/Text/chapter02.xhtml", "3/1/22"}));  // midnight
  EXPECT_EQ(Row(2),
            (QStringList{"OEBPS/Text/notes.html", "6/15/21 1:45:30 PM", "1.13 KB", "1.13 KB",
                         QString::number(testing::Crc32(std::string(1152, 'n'))), "0", comment}));
  EXPECT_EQ(Row(3)[0], "OEBPS/index.HTM");
  EXPECT_EQ(Row(3)[4], "4294967295");
  EXPECT_EQ(Row(3)[6], comment);

  const ZipImageList images;
  EXPECT_EQ(RowImage(0), Pixels(images.icon(kXmlPageImage)));
  EXPECT_EQ(RowImage(2), Pixels(images.icon(kHtmPageImage)));
  EXPECT_EQ(RowImage(3), Pixels(images.icon(kHtmPageImage)));
}

TEST_F(ZipViewTest, MarksTheReferenceAndTheDifferingChapterAtTheGivenResolution) {
  EpubBuilder()
      .Modified(DosDateTime(2021, 6, 15, 10, 0, 0))
      .AddChapters(3)
      .EditChapter(0, DosDateTime(2021, 6, 15, 11, 30, 0))
      .WriteTo(book);
  struct Case {
    int resolution;
    bool firstMarked;
    QString status;
  };
  const QString reference =
      " the reference time 6/15/21 10:00:00 AM (document OEBPS/Text/chapter03.xhtml) at "
      "resolution ";
  const Case cases[] = {
      {0, false, "All 3 spine documents agree with" + reference + "Day"},
      {1, true, "1 of 3 spine documents differ from" + reference + "Hour"},
  };
  for (const Case& c : cases) {
    frmZip.Fill(QString::fromStdString(book.string()), c.resolution);
    ASSERT_EQ(RowCount(), 3);
    EXPECT_EQ(Child<QStatusBar>("StatusBar1")->currentMessage(), c.status);
    const QModelIndex first = List()->model()->index(0, 1);
    const QModelIndex middle = List()->model()->index(1, 1);
    const QModelIndex last = List()->model()->index(2, 1);
    // A tint, a sign by the name and a tooltip, never the tint alone.
    for (const int role :
         {int(Qt::BackgroundRole), ZipViewModel::kMarkSignRole, int(Qt::ToolTipRole)}) {
      EXPECT_EQ(first.siblingAtColumn(0).data(role).isValid(), c.firstMarked) << role;
      EXPECT_FALSE(middle.siblingAtColumn(0).data(role).isValid()) << role;
      EXPECT_TRUE(last.siblingAtColumn(0).data(role).isValid()) << role;
    }
    EXPECT_FALSE(first.data(Qt::DecorationRole).isValid()) << "the time column keeps its room";
    EXPECT_EQ(Cell(0, 1), "6/15/21 11:30:00 AM") << "the texts stay as they are";
  }
  const QAbstractItemModel* model = List()->model();
  EXPECT_NE(Pixels(model->index(0, 0).data(ZipViewModel::kMarkSignRole).value<QIcon>()),
            Pixels(model->index(2, 0).data(ZipViewModel::kMarkSignRole).value<QIcon>()));
}

TEST_F(ZipViewTest, WritesTimesAndSizesInTheUsersLocale) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  SampleBook().WriteTo(book);
  Fill(book);
  ASSERT_EQ(RowCount(), 4);
  EXPECT_EQ(Cell(0, 1), "15.06.21 13:45:30");
  EXPECT_EQ(Cell(1, 1), "01.03.22");
  EXPECT_EQ(Cell(2, 2), "1,13 KB");
}

TEST_F(ZipViewTest, AFailureShowsItsMessageAndKeepsTheRowsReadBeforeIt) {
  EpubBuilder()
      .AddChapters(3)
      .EditChapter(1, DosDateTime(2021, 0, 15, 10, 0, 0))  // month 0
      .WriteTo(book);
  const QString path = Fill(book);

  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], "EConvertError\n\rInvalid argument to date encode\n\r" + path +
                                     "\n\rNo ModifiedDateTime ?");
  EXPECT_EQ(frmZip.windowTitle(), "Zipview: " + path);
  ASSERT_EQ(RowCount(), 2);
  EXPECT_EQ(Cell(0, 1), "6/15/21 1:45:30 PM");
  EXPECT_EQ(Row(1), (QStringList{"OEBPS/Text/chapter02.xhtml", "", "", "", "", "", ""}));
  EXPECT_EQ(RowImage(1), Pixels(ZipImageList().icon(kXmlPageImage)));

  // A row without sub-items never upsets the time sort.
  ClickHeader(1);  // descending: the row without a time last
  EXPECT_EQ(Column(0), (QStringList{"OEBPS/Text/chapter01.xhtml", "OEBPS/Text/chapter02.xhtml"}));
  ClickHeader(1);
  EXPECT_EQ(Column(0), (QStringList{"OEBPS/Text/chapter02.xhtml", "OEBPS/Text/chapter01.xhtml"}));
  EXPECT_EQ(Row(0)[1], "");
}

TEST_F(ZipViewTest, AMissingOrInvalidFileOpensAnEmptyListUnderItsPath) {
  SampleBook().WriteTo(book);
  Fill(book);
  ASSERT_EQ(RowCount(), 4);
  const QString missing = Fill(dir / "gone.epub");
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(frmZip.windowTitle(), "Zipview: " + missing);
  testing::WriteFile(book, "no archive");
  Fill(book);
  EXPECT_EQ(RowCount(), 0);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ZipViewTest, SortsByNameAndTimeWithItsStateKeptAcrossOpenings) {
  ZipWriter zip;
  zip.Add("b.xhtml", "b", DosDateTime(2021, 6, 15, 13, 45, 30));
  zip.Add("_c.xhtml", "c", DosDateTime(2020, 1, 1, 0, 0, 0));
  // Two-digit years: "79" reads back as 2079, "99" as 1999.
  zip.Add("A.html", "a", DosDateTime(2079, 12, 31, 23, 59, 58));
  zip.Add("a.htm", "a", DosDateTime(1999, 12, 31, 23, 59, 58));
  zip.WriteTo(book);
  Fill(book);
  const QStringList archiveOrder{"b.xhtml", "_c.xhtml", "A.html", "a.htm"};
  EXPECT_EQ(Column(0), archiveOrder);

  ClickHeader(0);  // the run's first sort: Z to A
  EXPECT_EQ(Column(0), (QStringList{"_c.xhtml", "b.xhtml", "A.html", "a.htm"}));
  ClickHeader(0);  // "A.HTM" is a prefix of "A.HTML"
  EXPECT_EQ(Column(0), (QStringList{"a.htm", "A.html", "b.xhtml", "_c.xhtml"}));

  Fill(book);  // a new opening shows archive order; the direction carries on
  EXPECT_EQ(Column(0), archiveOrder);
  ClickHeader(1);  // descending
  EXPECT_EQ(Column(0), (QStringList{"A.html", "b.xhtml", "_c.xhtml", "a.htm"}));

  Fill(book);
  ClickHeader(1);  // ascending: oldest first, the midnight row in its place
  EXPECT_EQ(Column(0), (QStringList{"a.htm", "_c.xhtml", "b.xhtml", "A.html"}));
  EXPECT_EQ(Column(1), (QStringList{"12/31/99 11:59:58 PM", "1/1/20", "6/15/21 1:45:30 PM",
                                    "12/31/79 11:59:58 PM"}));
}

TEST_F(ZipViewTest, ADoubleClickOnABookOpensTheViewModallyForItsPath) {
  SampleBook().WriteTo(book);
  TForm1 form1(dialogs);
  form1.SetZipView(&frmZip);
  auto* books = form1.findChild<QTableView*>(QStringLiteral("ListView1"));
  ASSERT_NE(books, nullptr);
  dynamic_cast<BookListModel&>(*books->model()).Append({"book.epub", book.string()});
  form1.show();

  // What the view shows while it is open; the first event of its modal loop
  // reads it and closes the view.
  struct Seen {
    bool modal = false;
    QString caption;
    int rows = -1;
  };
  std::vector<Seen> seen;
  const auto watchOpening = [&] {
    QTimer::singleShot(0, &frmZip, [&] {
      if (!frmZip.isVisible()) return;
      seen.push_back(
          {QApplication::activeModalWidget() == &frmZip, frmZip.windowTitle(), RowCount()});
      frmZip.close();
    });
  };

  // A double-click as the mouse makes it: a click, then the second press.
  const auto doubleClick = [books](QPoint at) {
    QTest::mouseClick(books->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(books->viewport(), Qt::LeftButton, {}, at);
  };

  // Below the last row, where there is no book, nothing opens.
  books->selectRow(0);
  watchOpening();
  doubleClick(QPoint(20, books->viewport()->height() - 4));
  QCoreApplication::processEvents();
  EXPECT_TRUE(seen.empty());

  watchOpening();
  doubleClick(books->visualRect(books->model()->index(0, 1)).center());
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].modal);
  EXPECT_EQ(seen[0].caption, "Zipview: " + QString::fromStdString(book.string()));
  EXPECT_EQ(seen[0].rows, 4);
  EXPECT_FALSE(frmZip.isVisible());  // closing only hides it
  EXPECT_EQ(RowCount(), 4);          // the rows stay until the next opening
}

TEST_F(ZipViewTest, RendersTheFilledWindow) {
  SampleBook().WriteTo(book);
  Fill(book);
  frmZip.show();
  const QDir folder(QDir::temp().filePath(QStringLiteral("quillmere-gui")));
  ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
  const QImage window = frmZip.grab().toImage();
  ASSERT_EQ(window.size(), QSize(894, 504) * window.devicePixelRatio());
  EXPECT_TRUE(window.save(folder.filePath(QStringLiteral("zip_view.png"))));
}

}  // namespace
}  // namespace quill
