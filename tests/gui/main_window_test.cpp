#include "app/qt/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "app/qt/book_list_model.h"
#include "scripted_dialogs.h"
#include "widgets/caption_panel.h"
#include "widgets/glass_button.h"
#include "widgets/header_panel.h"
#include "widgets/image_list.h"
#include "widgets/radio_group.h"

namespace quill {
namespace {

// The window under test, shown offscreen at its design size.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : form(dialogs) {}

  template <typename Widget>
  Widget* Child(const char* name) {
    auto* child = form.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  QString LabelText(const char* name) { return Child<QLabel>(name)->text(); }

  QRect GeometryInForm(QWidget* widget) {
    return QRect(widget->mapTo(&form, QPoint(0, 0)), widget->size());
  }

  BookListModel& Books() {
    return *dynamic_cast<BookListModel*>(Child<QTableView>("ListView1")->model());
  }

  void ClickHeader(int column) {
    QHeaderView* header = Child<QTableView>("ListView1")->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + 20, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }

  std::vector<std::string> FileNames() {
    std::vector<std::string> names;
    for (const BookRow& row : Books().rows()) names.push_back(row.fileName);
    return names;
  }

  std::vector<std::string> Paths() {
    std::vector<std::string> paths;
    for (const BookRow& row : Books().rows()) paths.push_back(row.path);
    return paths;
  }

  testing::ScriptedDialogs dialogs;
  TForm1 form;
};

QImage Pixels(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

TEST_F(MainWindowTest, ShowsItsFixedTextsExactly) {
  EXPECT_EQ(form.windowTitle(), "Zuro");
  EXPECT_EQ(Child<HeaderPanel>("NxHeaderPanel1")->caption(), "Quillmere");
  EXPECT_EQ(Child<GlassButton>("rkGlassButton4")->text(), "Menü...");

  auto* list = Child<QTableView>("ListView1");
  EXPECT_EQ(list->toolTip(), "Double click to zip view open");
  EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), "Filename");
  EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(), "Path");

  auto* resolution = Child<RadioGroup>("RzRadioGroup1");
  EXPECT_EQ(resolution->caption(), "Time Difference Comparison options");
  EXPECT_EQ(resolution->items(), (QStringList{"Day", "Hour", "Min", "Sec", "Full"}));

  EXPECT_EQ(LabelText("Label1"), "File:");
  EXPECT_EQ(LabelText("Label2"), "Count:");
  EXPECT_EQ(Child<QPushButton>("btnStop")->text(), "Stop");

  EXPECT_EQ(Child<CaptionPanel>("AddPnl")->caption(), "Adding files, please wait....");
  EXPECT_EQ(LabelText("Label3"), "Searching...");
  EXPECT_EQ(LabelText("Label5"), "Db:");
  EXPECT_EQ(LabelText("Label4"), "File:");
  EXPECT_EQ(LabelText("lbldb"), "");
  EXPECT_EQ(LabelText("lblfile"), "");
  EXPECT_EQ(Child<QPushButton>("btnleallit")->text(), "Stop");
}

TEST_F(MainWindowTest, MenuHoldsEveryCommandInOrderWithItsImage) {
  struct Item {
    const char* name;
    const char* caption;
    int image;  // -1: none
  };
  const Item expected[] = {
      {"Openfile1", "Add file", ImageList::kAddFile},
      {"Opendirectory1", "Add folder", ImageList::kFolder},
      {"Addfolderwithsubfolders1", "Add folder with subfolders", ImageList::kFolderBlueArrow},
      {"N1", "", -1},
      {"OpenFileExplorerandselect1", "Open File Explorer and select",
       ImageList::kFolderCurvedArrow},
      {"EpubunpackingandopeningintheInstitute1", "Epub unpacking and opening in the File Explorer",
       ImageList::kFolderUpArrow},
      {"N2", "", -1},
      {"Openwithanotherapplication1", "Open with another application", -1},
  };
  const ImageList images;
  const QList<QAction*> items = Child<QMenu>("PopupMenu1")->actions();
  ASSERT_EQ(items.size(), std::size(expected));
  for (qsizetype i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(items[i]->objectName(), expected[i].name);
    EXPECT_EQ(items[i]->text(), QString::fromUtf8(expected[i].caption));
    EXPECT_EQ(items[i]->isSeparator(), expected[i].caption[0] == '\0');
    if (expected[i].image < 0) {
      EXPECT_TRUE(items[i]->icon().isNull());
    } else {
      EXPECT_EQ(Pixels(items[i]->icon()), Pixels(images.icon(expected[i].image)));
    }
  }
  QMenu* openWith = items.back()->menu();
  ASSERT_NE(openWith, nullptr);
  ASSERT_EQ(openWith->actions().size(), 1);
  EXPECT_EQ(openWith->actions()[0]->objectName(), "Addanotherapp1");
  EXPECT_EQ(openWith->actions()[0]->text(), "Add another app");
}

TEST_F(MainWindowTest, HasTheDesignLayoutAndKeepsRightAnchoredControlsInPlace) {
  form.show();
  EXPECT_EQ(form.size(), QSize(931, 530));

  auto* list = Child<QTableView>("ListView1");
  EXPECT_EQ(GeometryInForm(list), QRect(0, 31, 931, 421));
  EXPECT_EQ(list->horizontalHeader()->sectionSize(0), 300);
  EXPECT_EQ(list->horizontalHeader()->sectionSize(1), 500);
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_TRUE(list->showGrid());
  EXPECT_EQ(Pixels(list->model()->headerData(1, Qt::Horizontal, Qt::DecorationRole).value<QIcon>()),
            Pixels(ImageList().icon(ImageList::kSortArrows)));

  EXPECT_EQ(GeometryInForm(Child<QWidget>("RzRadioGroup1")), QRect(0, 452, 931, 37));
  EXPECT_EQ(Child<RadioGroup>("RzRadioGroup1")->itemIndex(), 0);
  EXPECT_EQ(GeometryInForm(Child<QWidget>("RzPanel1")), QRect(0, 489, 931, 41));
  EXPECT_EQ(Child<QWidget>("rkGlassButton4")->geometry(), QRect(821, 0, 105, 26));
  EXPECT_EQ(Child<QWidget>("Label1")->pos(), QPoint(16, 8));
  EXPECT_EQ(Child<QWidget>("Label2")->pos(), QPoint(16, 24));

  auto* stop = Child<QPushButton>("btnStop");
  auto* progress = Child<QProgressBar>("XiProgressBar1");
  EXPECT_EQ(stop->geometry(), QRect(631, 11, 75, 25));
  EXPECT_EQ(progress->geometry(), QRect(712, 16, 200, 16));
  EXPECT_FALSE(stop->isVisible());
  EXPECT_FALSE(progress->isVisible());
  EXPECT_EQ(progress->minimum(), 0);
  EXPECT_EQ(progress->maximum(), 100);

  auto* progressPanel = Child<QWidget>("AddPnl");
  EXPECT_EQ(progressPanel->parentWidget(), &form);  // outside Panel1, so never disabled with it
  EXPECT_EQ(progressPanel->size(), QSize(401, 91));
  EXPECT_FALSE(progressPanel->isVisible());
  EXPECT_EQ(Child<QWidget>("btnleallit")->geometry(), QRect(306, 16, 75, 57));

  form.resize(1031, 600);
  EXPECT_EQ(Child<QWidget>("rkGlassButton4")->geometry(), QRect(921, 0, 105, 26));
  EXPECT_EQ(stop->geometry(), QRect(731, 11, 75, 25));
  EXPECT_EQ(progress->geometry(), QRect(812, 16, 200, 16));
  EXPECT_EQ(list->height(), 491);
}

TEST_F(MainWindowTest, MenuButtonDropsTheMenuAlignedToItsRightEdge) {
  // Small enough for the offscreen screen, so the menu is not pushed aside.
  form.resize(600, 400);
  form.move(0, 0);
  form.show();
  auto* button = Child<GlassButton>("rkGlassButton4");
  auto* menu = Child<QMenu>("PopupMenu1");
  QTest::mouseClick(button, Qt::LeftButton);
  ASSERT_TRUE(menu->isVisible());
  const QPoint buttonBottomRight = button->mapToGlobal(QPoint(button->width(), button->height()));
  EXPECT_EQ(menu->geometry().right() + 1, buttonBottomRight.x());
  EXPECT_EQ(menu->geometry().top(), buttonBottomRight.y());
  menu->hide();
}

TEST_F(MainWindowTest, ListUsesTheSameMenuAsItsContextMenu) {
  form.show();
  auto* list = Child<QTableView>("ListView1");
  ASSERT_EQ(list->contextMenuPolicy(), Qt::CustomContextMenu);
  emit list->customContextMenuRequested(QPoint(10, 10));
  auto* menu = Child<QMenu>("PopupMenu1");
  EXPECT_TRUE(menu->isVisible());
  menu->hide();
}

TEST_F(MainWindowTest, HeaderClicksSortDescendingFirstAndAlternateAcrossColumns) {
  form.show();
  Books().Append({"b.epub", "/books/2/b.epub"});
  Books().Append({"_c.epub", "/books/4/_c.epub"});
  Books().Append({"A.epub", "/books/1/A.epub"});
  Books().Append({"a.epub", "/books/3/a.epub"});
  auto* list = Child<QTableView>("ListView1");
  list->selectRow(0);  // b.epub

  ClickHeader(0);
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"_c.epub", "b.epub", "A.epub", "a.epub"}));
  ClickHeader(0);
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"A.epub", "a.epub", "b.epub", "_c.epub"}));
  ClickHeader(1);
  EXPECT_EQ(Paths(), (std::vector<std::string>{"/books/4/_c.epub", "/books/3/a.epub",
                                               "/books/2/b.epub", "/books/1/A.epub"}));

  // The selection stays on its book wherever the sort moves it.
  const QModelIndexList selected = list->selectionModel()->selectedRows();
  ASSERT_EQ(selected.size(), 1);
  EXPECT_EQ(selected[0].data().toString(), "b.epub");
  EXPECT_EQ(list->model()->index(0, 1).data().toString(), "/books/4/_c.epub");
}

TEST_F(MainWindowTest, RendersItsDesign) {
  Books().Append({"Példa könyv.epub", "/home/reader/Books/Példa könyv.epub"});
  Books().Append({"moby-dick.epub", "/home/reader/Books/classics/moby-dick.epub"});
  form.show();
  const QDir folder(QDir::temp().filePath(QStringLiteral("quillmere-gui")));
  ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));

  const QImage window = form.grab().toImage();
  ASSERT_EQ(window.size(), QSize(931, 530) * window.devicePixelRatio());
  EXPECT_TRUE(window.save(folder.filePath(QStringLiteral("main_window.png"))));
  EXPECT_EQ(window.pixelColor(500, 12), QColor(234, 165, 62));    // the header bar
  EXPECT_EQ(window.pixelColor(500, 500), QColor(153, 180, 209));  // the status panel

  // The progress panel as a folder search shows it, in the window's centre.
  auto* progressPanel = Child<QWidget>("AddPnl");
  progressPanel->move((931 - 401) / 2, (530 - 91) / 2);
  progressPanel->show();
  progressPanel->raise();
  Child<QLabel>("lbldb")->setText(QStringLiteral("12"));
  Child<QLabel>("lblfile")->setText(QStringLiteral("moby-dick.epub"));
  Child<QWidget>("btnStop")->show();
  Child<QProgressBar>("XiProgressBar1")->setValue(60);
  Child<QWidget>("XiProgressBar1")->show();
  EXPECT_TRUE(form.grab().save(folder.filePath(QStringLiteral("main_window_busy.png"))));

  auto* menu = Child<QMenu>("PopupMenu1");
  menu->adjustSize();
  EXPECT_TRUE(menu->grab().save(folder.filePath(QStringLiteral("menu.png"))));
}

}  // namespace
}  // namespace quill
