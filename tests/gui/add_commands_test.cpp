// The three add commands of the main window on generated books: what they
// list, the labels they leave, their progress, the Stop buttons, and the busy
// state of a folder search. The dialogs are answered by script; what happens
// while a command runs is watched from a timer, which fires at the points
// where the command pumps window messages.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <map>
#include <string_view>

#include "app/command_messages.h"
#include "app/qt/book_list_model.h"
#include "app/qt/main_window.h"
#include "base/path_text.h"
#include "epub_builder.h"
#include "qstring_printer.h"
#include "recording_user_messages.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"
#include "too_long_path.h"
#include "widgets/radio_group.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::DosDateTime;
using testing::EpubBuilder;
using testing::WriteFile;

// How a generated book's first chapter differs from the production time that
// its other documents carry.
enum class Edit { kNone, kSameDayOtherHour, kOtherDay };

// Adds a sample unless it repeats the last one: a pump may run the watch more
// than once.
template <typename Value>
void Record(std::vector<Value>& samples, const Value& sample) {
  if (samples.empty() || samples.back() != sample) samples.push_back(sample);
}

// Runs a function at every pump of window messages while it is alive.
class AtEveryPump {
 public:
  explicit AtEveryPump(std::function<void()> action) {
    QObject::connect(&timer_, &QTimer::timeout, std::move(action));
    timer_.start(0);
  }

 private:
  QTimer timer_;
};

class AddCommandsTest : public ::testing::Test {
 protected:
  template <typename Widget>
  Widget* Child(const char* name) {
    auto* child = form.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  QString Text(const char* label) { return Child<QLabel>(label)->text(); }

  BookListModel& Books() {
    return *dynamic_cast<BookListModel*>(Child<QTableView>("ListView1")->model());
  }

  std::vector<std::string> ListedNames() {
    std::vector<std::string> names;
    for (const BookRow& row : Books().rows()) names.push_back(row.fileName);
    return names;
  }

  std::vector<std::string> SortedListedNames() {
    std::vector<std::string> names = ListedNames();
    std::sort(names.begin(), names.end());
    return names;
  }

  // The books and files are named in UTF-8, as the windows name them.
  std::string Book(std::string_view relative, Edit edit = Edit::kOtherDay) {
    const fs::path path = temp / PathFromUtf8(relative);
    fs::create_directories(path.parent_path());
    EpubBuilder book;
    book.AddChapters(3);
    if (edit == Edit::kSameDayOtherHour) book.EditChapter(0, DosDateTime(2021, 6, 15, 15, 45, 30));
    if (edit == Edit::kOtherDay) book.EditChapter(0, DosDateTime(2021, 7, 1, 9, 0, 0));
    book.WriteTo(path);
    return Utf8Of(path);
  }

  std::string File(std::string_view relative, const std::string& bytes) {
    const fs::path path = temp / PathFromUtf8(relative);
    fs::create_directories(path.parent_path());
    WriteFile(path, bytes);
    return Utf8Of(path);
  }

  void ChooseFiles(const std::vector<std::string>& files) {
    QStringList answer;
    for (const std::string& file : files) answer.push_back(QString::fromStdString(file));
    dialogs.fileAnswers.push_back(answer);
    Run("Openfile1");
  }

  void ChooseFolder(const char* command, const fs::path& folder) {
    dialogs.folderAnswers.push_back(QString::fromStdString(folder.string()));
    Run(command);
  }

  void Run(const char* command) { Child<QAction>(command)->trigger(); }

  // Drags the paths from a file manager onto the list and drops them there,
  // if the window accepts them; answers whether it did. The addition runs once
  // the drop has been answered.
  bool Drop(const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths)
      urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
    data.setUrls(urls);
    QWidget* list = Child<QTableView>("ListView1")->viewport();
    const QPoint at = list->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &drop);
    QApplication::processEvents();
    return drop.isAccepted();
  }

  testing::TempDir temp;
  testing::ScriptedDialogs dialogs;
  testing::RecordingUserMessages messages;
  TForm1 form{dialogs};
};

TEST_F(AddCommandsTest, CancelledDialogsChangeNothing) {
  form.show();
  Books().Append({"kept.epub", "/books/kept.epub"});
  Run("Openfile1");
  Run("Opendirectory1");
  Run("Addfolderwithsubfolders1");

  EXPECT_EQ(ListedNames(), std::vector<std::string>{"kept.epub"});
  EXPECT_EQ(Text("Label1"), "File:");
  EXPECT_EQ(Text("Label2"), "Count:");
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(dialogs.fileRequests[0].filter, "Epub (*.epub)");
  EXPECT_TRUE(dialogs.fileRequests[0].multiple);
  EXPECT_EQ(dialogs.folderTitles,
            (std::vector<QString>{"Mappa kiválasztása", "Mappa kiválasztása"}));
}

TEST_F(AddCommandsTest, OneChangedBookIsListedWithoutShowingProgress) {
  form.show();
  Books().Append({"earlier.epub", "/books/earlier.epub"});
  const std::string book = Book("Példa könyv.epub");
  bool progressSeen = false;
  {
    const AtEveryPump watch([&] { progressSeen = true; });
    ChooseFiles({book});
  }
  EXPECT_FALSE(progressSeen) << "one valid book is examined without pumping messages";
  EXPECT_EQ(ListedNames(), std::vector<std::string>{"Példa könyv.epub"});
  EXPECT_EQ(Books().rows()[0].path, book);
  EXPECT_EQ(Text("Label1"), "File: ");
  EXPECT_EQ(Text("Label2"), "count: 1");
  EXPECT_FALSE(Child<QWidget>("XiProgressBar1")->isVisible());
}

TEST_F(AddCommandsTest, SeveralFilesRunTheLoopWithZeroBasedIndices) {
  form.show();
  const std::vector<std::string> files = {
      Book("a.epub"),
      Book("b.epub", Edit::kNone),
      File("c.epub", "no archive at all"),
      (temp / "missing.epub").string(),
      Book("e.epub"),
  };
  std::vector<QString> label1;
  std::vector<QString> label2;
  std::vector<int> positions;
  bool busyParts = true;
  {
    const AtEveryPump watch([&] {
      Record(label1, Text("Label1"));
      Record(label2, Text("Label2"));
      auto* bar = Child<QProgressBar>("XiProgressBar1");
      Record(positions, bar->value());
      busyParts = busyParts && bar->isVisible() && bar->maximum() == 4 &&
                  Child<QWidget>("btnStop")->isVisible() && Child<QWidget>("Panel1")->isEnabled();
    });
    ChooseFiles(files);
  }
  EXPECT_EQ(label1, (std::vector<QString>{"File: a.epub", "File: b.epub", "File: c.epub",
                                          "File: missing.epub", "File: e.epub"}));
  EXPECT_EQ(label2,
            (std::vector<QString>{"All file 4\\ Read count: 0", "All file 4\\ Read count: 1",
                                  "All file 4\\ Read count: 2", "All file 4\\ Read count: 3",
                                  "All file 4\\ Read count: 4"}));
  EXPECT_EQ(positions, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_TRUE(busyParts) << "the bar and Stop are shown, nothing is disabled";

  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"a.epub", "e.epub"}));
  EXPECT_EQ(Text("Label1"), "File: ");
  EXPECT_EQ(Text("Label2"), "count: 2");
  EXPECT_FALSE(Child<QWidget>("XiProgressBar1")->isVisible());
  EXPECT_FALSE(Child<QWidget>("btnStop")->isVisible());
  // A file that is no archive is skipped without a word; one that is not there
  // any more is told after the command.
  EXPECT_TRUE(messages.messages.empty());
  ASSERT_EQ(messages.errors.size(), 1u);
  EXPECT_TRUE(messages.errors[0].starts_with("One problem while adding books:\n" + files[3] + ": "))
      << messages.errors[0];
}

TEST_F(AddCommandsTest, OneFileThatIsNoArchiveRunsTheLoopOnceAndListsNothing) {
  form.show();
  Books().Append({"earlier.epub", "/books/earlier.epub"});
  std::vector<QString> label2;
  {
    const AtEveryPump watch([&] { Record(label2, Text("Label2")); });
    ChooseFiles({File("broken.epub", "PK but not really")});
  }
  EXPECT_EQ(label2, std::vector<QString>{"All file 0\\ Read count: 0"});
  EXPECT_TRUE(ListedNames().empty());
  EXPECT_EQ(Text("Label2"), "count: 0");
}

TEST_F(AddCommandsTest, WhatTheBooksOfOneCommandShowIsToldInOneBoxNamingEachBook) {
  form.show();
  std::vector<std::string> broken;
  for (int i = 0; i < 23; ++i) {
    // The end record is there, the directory it points to is not.
    const fs::path book = temp / "library" / ("broken " + std::to_string(100 + i) + ".epub");
    fs::create_directories(book.parent_path());
    testing::ZipWriter zip;
    zip.Add("mimetype", "application/epub+zip").layout().directoryOffset = 0x7fffffff;
    zip.WriteTo(book);
    broken.push_back(Utf8Of(book));
  }
  Book("library/changed.epub");
  ChooseFolder("Opendirectory1", temp / "library");

  EXPECT_EQ(ListedNames(), std::vector<std::string>{"changed.epub"});
  ASSERT_EQ(messages.errors.size(), 1u);
  const std::string& box = messages.errors[0];
  EXPECT_TRUE(box.starts_with("23 problems while adding books:\n")) << box;
  EXPECT_TRUE(box.ends_with("\n... and 3 more\n")) << box;
  std::size_t named = 0;
  for (const std::string& book : broken) named += box.find("\n" + book + ": ") != std::string::npos;
  EXPECT_EQ(named, CommandMessages::kListed);
}

TEST_F(AddCommandsTest, PathsHandedOverThatCannotBeReadAreToldAfterTheAddition) {
  form.show();
  const std::string notes = File("notes.txt", "text");
  const std::string missing = Utf8Of(temp / "missing.epub");
  const std::string throughAFile = notes + "/inside.epub";
  const std::string gone = Utf8Of(temp / "gone");
  BookPaths paths = SortBookPaths({missing, throughAFile, notes, gone, Book("changed.epub")});
  form.AddBookPaths(paths);

  EXPECT_EQ(ListedNames(), std::vector<std::string>{"changed.epub"});
  ASSERT_EQ(messages.errors.size(), 1u);
  const std::string& box = messages.errors[0];
  EXPECT_TRUE(box.starts_with("4 problems while adding books:\n")) << box;
  EXPECT_NE(box.find("\n" + notes + ": neither an EPUB file nor a folder\n"), std::string::npos)
      << box;
  for (const std::string& path : {missing, throughAFile, gone}) {
    const std::size_t line = box.find("\n" + path + ": ");
    ASSERT_NE(line, std::string::npos) << path << "\n" << box;
    EXPECT_NE(box.compare(line + 1 + path.size(), 22, ": neither an EPUB file"), 0)
        << "the system's reason: " << box;
  }
}

TEST_F(AddCommandsTest, StopDuringSeveralFilesKeepsTheRowsFoundSoFar) {
  form.show();
  const std::vector<std::string> files = {Book("1.epub"), Book("2.epub"), Book("3.epub"),
                                          Book("4.epub")};
  {
    const AtEveryPump watch([&] {
      if (Books().rowCount() == 2) Child<QPushButton>("btnStop")->click();
    });
    ChooseFiles(files);
  }
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"1.epub", "2.epub"}));
  EXPECT_EQ(Text("Label1"), "File: ");
  EXPECT_EQ(Text("Label2"), "count: 2");

  // The next add starts with the flag cleared.
  ChooseFiles(files);
  EXPECT_EQ(Books().rowCount(), 4);
}

TEST_F(AddCommandsTest, TimeResolutionIsReadWhenEachBookIsExamined) {
  form.show();
  const std::vector<std::string> files = {Book("first.epub", Edit::kSameDayOtherHour),
                                          Book("second.epub", Edit::kSameDayOtherHour)};
  auto* resolution = Child<RadioGroup>("RzRadioGroup1");
  ASSERT_EQ(resolution->itemIndex(), 0);  // "Day": an edit on the same day passes
  {
    const AtEveryPump watch([&] { resolution->SetItemIndex(1); });
    ChooseFiles(files);
  }
  EXPECT_EQ(ListedNames(), std::vector<std::string>{"second.epub"});
}

TEST_F(AddCommandsTest, AddFolderListsOnlyTheFolderItselfAndWithSubfoldersTheTreeBelow) {
  form.show();
  Book("library/changed.epub");
  Book("library/unchanged.epub", Edit::kNone);
  Book("library/CAPITAL.EPUB");
  Book("library/book.epub.bak");
  File("library/notes.txt", "text");
  File("library/no archive.epub", "text");
  testing::ZipWriter()
      .Add("readme.txt", "no package")
      .WriteTo(temp / "library" / "no package.epub");
  Book("library/deeper/nested.epub");
  Book("library/deeper/deepest/last.epub");

  ChooseFolder("Opendirectory1", temp / "library");
  EXPECT_EQ(SortedListedNames(), (std::vector<std::string>{"CAPITAL.EPUB", "changed.epub"}));
  EXPECT_EQ(Text("Label1"), "File: ");
  EXPECT_EQ(Text("Label2"), "count: 2");

  ChooseFolder("Addfolderwithsubfolders1", temp / "library");
  EXPECT_EQ(SortedListedNames(),
            (std::vector<std::string>{"CAPITAL.EPUB", "changed.epub", "last.epub", "nested.epub"}));
  EXPECT_EQ(Text("Label2"), "count: 4");
  // A folder's own files come before its subfolders', the deepest last.
  EXPECT_EQ(ListedNames().back(), "last.epub");
  EXPECT_EQ(Text("lblfile"), "last.epub");
  EXPECT_EQ(Text("lbldb"), "4");
}

#ifndef _WIN32
TEST_F(AddCommandsTest, AFolderSearchTellsEachFolderItCannotOpenAndGoesOn) {
  form.show();
  Book("library/a/changed.epub");
  const testing::TooLongFolderChain chain(temp / "library/b");
  Book("library/c/changed too.epub");
  ChooseFolder("Addfolderwithsubfolders1", temp / "library");
  EXPECT_EQ(SortedListedNames(), (std::vector<std::string>{"changed too.epub", "changed.epub"}));
  EXPECT_EQ(messages.errors,
            std::vector<std::string>{"One problem while adding books:\n" +
                                     chain.firstTooLong().string() + ": File name too long\n"});
}
#endif

TEST_F(AddCommandsTest, FolderSearchShowsTheBusyStateAndRestoresTheWindow) {
  form.resize(900, 600);
  form.show();
  Book("library/a.epub");
  Book("library/b.epub");

  struct Seen {
    bool busyCursor = true, panelsDisabled = true, progressShown = true, stopEnabled = true;
    QPoint progressPosition;
    std::vector<QString> fileLabels;
  } seen;
  {
    const AtEveryPump watch([&] {
      const QCursor* cursor = QApplication::overrideCursor();
      seen.busyCursor = seen.busyCursor && cursor && cursor->shape() == Qt::WaitCursor;
      seen.panelsDisabled = seen.panelsDisabled && !Child<QWidget>("Panel1")->isEnabled() &&
                            !Child<QWidget>("NxHeaderPanel1")->isEnabled();
      seen.progressShown = seen.progressShown && Child<QWidget>("AddPnl")->isVisible();
      seen.stopEnabled = seen.stopEnabled && Child<QWidget>("btnleallit")->isEnabled();
      seen.progressPosition = Child<QWidget>("AddPnl")->pos();
      Record(seen.fileLabels, Text("Label1"));
    });
    ChooseFolder("Opendirectory1", temp / "library");
  }
  EXPECT_TRUE(seen.busyCursor);
  EXPECT_TRUE(seen.panelsDisabled);
  EXPECT_TRUE(seen.progressShown);
  EXPECT_TRUE(seen.stopEnabled);
  const QSize outer = form.frameGeometry().size();
  EXPECT_EQ(seen.progressPosition,
            QPoint(outer.width() / 2 - 401 / 2, outer.height() / 2 - 91 / 2));
  ASSERT_FALSE(seen.fileLabels.empty());
  EXPECT_EQ(seen.fileLabels.front(), "File: ") << "before the first book is found";

  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(Child<QWidget>("Panel1")->isEnabled());
  EXPECT_TRUE(Child<QWidget>("NxHeaderPanel1")->isEnabled());
  EXPECT_FALSE(Child<QWidget>("AddPnl")->isVisible());
  EXPECT_TRUE(Child<QWidget>("ListView1")->updatesEnabled());
}

TEST_F(AddCommandsTest, StopDuringAFolderSearchKeepsTheRowsFoundSoFar) {
  form.show();
  for (int i = 0; i < 6; ++i) Book("library/book" + std::to_string(i) + ".epub");
  {
    const AtEveryPump watch([&] {
      if (Books().rowCount() == 2) Child<QPushButton>("btnleallit")->click();
    });
    ChooseFolder("Opendirectory1", temp / "library");
  }
  EXPECT_EQ(Books().rowCount(), 2);
  EXPECT_EQ(Text("Label1"), "File: ");
  EXPECT_EQ(Text("Label2"), "count: 2");
  EXPECT_FALSE(Child<QWidget>("AddPnl")->isVisible());

  // A Stop click with no search running does nothing to the next search.
  Child<QPushButton>("btnleallit")->click();
  ChooseFolder("Opendirectory1", temp / "library");
  EXPECT_EQ(Books().rowCount(), 6);
}

TEST_F(AddCommandsTest, AFolderWithoutBooksEmptiesTheListAndKeepsTheProgressLabels) {
  form.show();
  Book("library/only.epub");
  fs::create_directories(temp / "empty");
  ChooseFolder("Opendirectory1", temp / "library");
  ASSERT_EQ(Text("lblfile"), "only.epub");

  ChooseFolder("Addfolderwithsubfolders1", temp / "empty");
  EXPECT_TRUE(ListedNames().empty());
  EXPECT_EQ(Text("Label2"), "count: 0");
  EXPECT_EQ(Text("lblfile"), "only.epub") << "kept until a new valid file is found";
  EXPECT_EQ(Text("lbldb"), "1");
}

TEST_F(AddCommandsTest, ClosingTheWindowEndsARunningFolderSearch) {
  form.show();
  for (int i = 0; i < 5; ++i) Book("library/book" + std::to_string(i) + ".epub");
  {
    const AtEveryPump watch([&] {
      if (Books().rowCount() == 1 && form.isVisible()) form.close();
    });
    ChooseFolder("Opendirectory1", temp / "library");
  }
  EXPECT_EQ(Books().rowCount(), 1);
}

TEST_F(AddCommandsTest, EachRowCarriesItsReasonAndTheSelectedOneShowsInTheStatusPanel) {
  form.show();
  ChooseFiles({Book("a.epub"), Book("b.epub", Edit::kNone), Book("c.epub")});
  ASSERT_EQ(ListedNames(), (std::vector<std::string>{"a.epub", "c.epub"}));
  const QString reason = Books().index(1, 1).data(Qt::ToolTipRole).toString();
  EXPECT_EQ(reason,
            "OEBPS/Text/chapter01.xhtml (2021-07-01T09:00:00) differs from "
            "most spine documents (2021-06-15T13:45:30)");
  EXPECT_EQ(Books().index(1, 0).data(Qt::ToolTipRole).toString(), reason);

  auto* list = Child<QTableView>("ListView1");
  EXPECT_EQ(Text("Label6"), "");
  list->selectRow(1);
  EXPECT_EQ(Text("Label6"), reason);
  EXPECT_EQ(Child<QWidget>("Label1")->pos(), QPoint(16, 8));
  EXPECT_EQ(Child<QWidget>("Label2")->pos(), QPoint(16, 24));
  EXPECT_FALSE(
      Child<QWidget>("Label6")->geometry().intersects(Child<QWidget>("Label1")->geometry()));

  ChooseFiles({Book("a.epub")});
  EXPECT_EQ(Text("Label6"), "") << "a new list has no selection";
}

TEST_F(AddCommandsTest, DroppedFilesAndFoldersAreAddedLikeTheAddCommands) {
  form.show();
  const std::string one = Book("dropped/one.epub");
  const std::string two = Book("dropped/two.epub");
  Book("dropped/same.epub", Edit::kNone);
  Book("first/a.epub");
  Book("first/deeper/b.epub");
  Book("second/c.epub");
  const std::string notes = File("notes.txt", "text");
  const std::string first = (temp / "first").string();
  const std::string second = (temp / "second").string();

  struct Case {
    std::vector<std::string> dropped;
    std::vector<std::string> listed;
  };
  const Case cases[] = {
      {{one, notes, two}, {"one.epub", "two.epub"}},
      {{second, first}, {"c.epub", "a.epub", "b.epub"}},
      {{first, one}, {"one.epub", "a.epub", "b.epub"}},
  };
  for (const Case& c : cases) {
    Books().Append({"earlier.epub", "/books/earlier.epub"});
    EXPECT_TRUE(Drop(c.dropped));
    EXPECT_EQ(ListedNames(), c.listed);
    EXPECT_EQ(Text("Label2"), "count: " + QString::number(c.listed.size()));
  }
  EXPECT_FALSE(Drop({notes})) << "nothing to add";
}

TEST_F(AddCommandsTest, DropsAreRefusedWhileACommandRuns) {
  form.show();
  for (int i = 0; i < 3; ++i) Book("library/book" + std::to_string(i) + ".epub");
  const std::string other = Book("other.epub");
  std::vector<bool> accepted;
  {
    const AtEveryPump watch([&] {
      if (accepted.empty()) accepted.push_back(Drop({other}));
    });
    ChooseFolder("Opendirectory1", temp / "library");
  }
  EXPECT_EQ(accepted, std::vector<bool>{false});
  EXPECT_EQ(Books().rowCount(), 3);
}

// Counts the paint events that widgets receive.
class PaintCounter : public QObject {
 public:
  std::map<QObject*, int> paints;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints[watched];
    return false;
  }
};

TEST_F(AddCommandsTest, FolderSearchRepaintsItsLabelsAtMostEveryFiftyMilliseconds) {
  constexpr int kBooks = 300;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const std::string book =
      EpubBuilder().AddChapters(2).EditChapter(0, DosDateTime(2021, 7, 1, 9, 0, 0)).Build();
  fs::create_directories(temp / "library");
  for (int i = 0; i < kBooks; ++i)
    WriteFile(temp / "library" / ("book" + std::to_string(i) + ".epub"), book);
  PaintCounter counter;
  const char* labels[] = {"Label1", "Label2", "lblfile", "lbldb"};
  for (const char* label : labels) Child<QLabel>(label)->installEventFilter(&counter);
  int pumps = 0;
  QElapsedTimer elapsed;
  elapsed.start();
  {
    const AtEveryPump watch([&] { ++pumps; });
    ChooseFolder("Opendirectory1", temp / "library");
  }
  const qint64 took = elapsed.elapsed();
  QApplication::processEvents();  // the last repaint

  EXPECT_EQ(Books().rowCount(), kBooks);
  EXPECT_GE(pumps, kBooks) << "messages are still pumped after every book";
  // One paint per interval, and more when the window paints the panels that
  // hold the labels (shown, disabled, enabled, and exposed again by a window
  // system that repaints on its own, as Windows does); not one per book.
  for (const char* label : labels) {
    EXPECT_LE(counter.paints[Child<QLabel>(label)], took / 50 + kBooks / 10)
        << label << " in " << took << " ms";
  }
  // The status labels are painted once more at the end; the progress panel is gone by then.
  EXPECT_GE(counter.paints[Child<QLabel>("Label2")], 1);
  EXPECT_EQ(Text("lblfile").toStdString(), ListedNames().back()) << "the last book's, painted";
  EXPECT_EQ(Text("Label2"), "count: " + QString::number(kBooks));
}

}  // namespace
}  // namespace quill
