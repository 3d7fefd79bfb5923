#include "apps/qt/frm_app_add.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QUrl>
#include <memory>

#include "apps/application_list.h"
#include "recording_user_messages.h"
#include "scoped_environment.h"
#include "scripted_dialogs.h"
#include "shell/user_registry.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnvironment;
using testing::ScriptedDialogs;
using testing::TempDir;
using testing::WriteFile;

// Each test has a configuration folder of its own (the store) and a folder of
// application files; the dialog is created as at start-up and destroyed as at
// the end of the run.
class AppDialog : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(apps_); }

  std::string App(const std::string& name, bool executable = false) {
    const fs::path path = apps_ / name;
    WriteFile(path, "#!/bin/sh\n");
    if (executable) fs::permissions(path, fs::perms::owner_all);
    return path.string();
  }
  static QString Q(const std::string& text) { return QString::fromStdString(text); }

  void Create() { dialog_ = std::make_unique<Tfrmapp>(dialogs_); }
  // The end of the run: the dialog goes, the list is saved; the stored list as
  // the next run loads it.
  ApplicationList EndRunAndReload() {
    dialog_.reset();
    return LoadApplicationList(*OpenUserRegistry());
  }

  QListWidget* List() const { return dialog_->findChild<QListWidget*>("ListBox1"); }
  QPushButton* Button(const char* name) const { return dialog_->findChild<QPushButton*>(name); }
  QPoint RowCentre(int row) const { return List()->visualItemRect(List()->item(row)).center(); }

  TempDir temp_;
  ScopedEnvironment config_{"XDG_CONFIG_HOME", (temp_ / "config").string()};
  fs::path apps_ = temp_ / "Tools";
  ScriptedDialogs dialogs_;
  testing::RecordingUserMessages messages_;
  std::unique_ptr<Tfrmapp> dialog_;
};

TEST_F(AppDialog, ShowsTheLayoutAndTextsOfTheForm) {
  Create();
  EXPECT_EQ(dialog_->windowTitle(), "Add apps...");
  EXPECT_EQ(dialog_->size(), QSize(600, 324));
  EXPECT_EQ(List()->geometry(), QRect(8, 19, 559, 190));
  EXPECT_EQ(dialog_->findChild<QLabel*>("Label1")->text(), "Applications :");
  EXPECT_EQ(dialog_->findChild<QLabel*>("DropHint")->text(),
            "Add application by Drag/Drop or select...");
  const std::pair<const char*, const char*> buttons[] = {{"RzButton5", "Delete selected"},
                                                         {"RzButton3", "Delete all"},
                                                         {"Button1", "App Add..."},
                                                         {"RzButton6", "Delete I don't exist"},
                                                         {"OkButton", "OK"},
                                                         {"CancelButton", "Cancel"}};
  for (const auto& [name, caption] : buttons) EXPECT_EQ(Button(name)->text(), caption) << name;
  EXPECT_FALSE(Button("Button1")->icon().isNull());
  EXPECT_TRUE(Button("OkButton")->isDefault());

  dialog_->show();
  dialog_->resize(800, 424);
  EXPECT_EQ(List()->geometry(), QRect(8, 19, 759, 290)) << "the list follows all four sides";
  EXPECT_EQ(Button("RzButton6")->x(), 449 + 200) << "follows the right edge";
  EXPECT_EQ(Button("CancelButton")->mapTo(dialog_.get(), QPoint()), QPoint(700, 424 - 45 + 16));
}

TEST_F(AppDialog, LoadsOnCreationUnsortedAndSavesOnDestructionWhateverTheResult) {
  const std::string b = App("b.exe"), a = App("a.exe");
  SaveApplicationList(*OpenUserRegistry(), {b, "", a});
  Create();
  EXPECT_EQ(dialog_->Applications(), (ApplicationList{b, "", a}));
  List()->setCurrentRow(0);
  Button("RzButton5")->click();
  dialog_->reject();  // Cancel undoes nothing
  EXPECT_EQ(EndRunAndReload(), (ApplicationList{"", a}));
}

TEST_F(AppDialog, DropsAddApplicationsSortedAndWithoutDuplicatesByCase) {
  const std::string lower = App("b.exe"), upper = App("A.exe"), dup = App("B.EXE");
  const std::string text = App("notes.txt"), program = App("reader", true);
  fs::create_directories(apps_ / "folder.exe");
  Create();
  dialog_->JvDragDrop1Drop({}, {Q(lower), Q(upper)});
  EXPECT_EQ(dialog_->Applications(), (ApplicationList{upper, lower}));
  dialog_->JvDragDrop1Drop({}, {Q(dup), Q((apps_ / "folder.exe").string()), Q(text),
                                Q((apps_ / "gone.exe").string()), Q(program)});
  EXPECT_EQ(dialog_->Applications(), (ApplicationList{upper, lower, program}))
      << "the first of equal entries stays; folders, text and missing files are skipped";
}

TEST_F(AppDialog, FilesDroppedFromTheFileManagerArriveAsUriList) {
  const std::string exe = App("My Reader.exe");
  Create();
  dialog_->show();
  auto* data = new QMimeData;
  data->setUrls({QUrl::fromLocalFile(Q(exe)), QUrl(QStringLiteral("https://example.org/x.exe"))});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(List()->viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(List()->viewport(), &drop);
  delete data;
  EXPECT_EQ(dialog_->Applications(), ApplicationList{exe});
}

TEST_F(AppDialog, DraggingAnEntryMovesItWithoutSorting) {
  SaveApplicationList(*OpenUserRegistry(), {"a", "b", "c", "d"});
  Create();
  dialog_->show();
  EXPECT_TRUE(dialog_->ListBox1DragOver(List(), 0, 0));
  EXPECT_FALSE(dialog_->ListBox1DragOver(dialog_.get(), 0, 0));

  const auto drag = [&](QPoint from, QPoint to) {
    dialog_->ListBox1MouseDown(Qt::LeftButton, Qt::NoModifier, from.x(), from.y());
    dialog_->ListBox1DragDrop(List(), to.x(), to.y());
  };
  drag(RowCentre(0), RowCentre(2));
  EXPECT_EQ(dialog_->Applications(), (ApplicationList{"b", "c", "a", "d"}));
  EXPECT_EQ(List()->currentItem()->text(), "a");
  const QPoint belowLast(5, List()->viewport()->height() - 2);
  drag(RowCentre(0), belowLast);
  EXPECT_EQ(dialog_->Applications(), (ApplicationList{"c", "a", "d", "b"}));
  drag(belowLast, RowCentre(0));  // began outside the entries
  drag(belowLast, belowLast);
  EXPECT_EQ(dialog_->Applications(), (ApplicationList{"c", "a", "d", "b"}));
}

TEST_F(AppDialog, DeleteButtonsRemoveSelectedAllOrMissing) {
  const std::string a = App("a.exe"), c = App("c.exe");
  SaveApplicationList(*OpenUserRegistry(), {a, (apps_ / "gone.exe").string(), "", c});
  Create();
  List()->clearSelection();
  Button("RzButton5")->click();
  EXPECT_EQ(dialog_->Applications().size(), 4u) << "no selection, nothing deleted";
  List()->setCurrentRow(3);
  Button("RzButton6")->click();
  EXPECT_EQ(dialog_->Applications(), (ApplicationList{a, c}));
  EXPECT_EQ(List()->currentItem()->text(), Q(c)) << "the selection survives";
  Button("RzButton5")->click();
  EXPECT_EQ(dialog_->Applications(), ApplicationList{a});
  Button("RzButton3")->click();
  EXPECT_TRUE(dialog_->Applications().empty());
  EXPECT_TRUE(EndRunAndReload().empty());
}

TEST_F(AppDialog, TheFileDialogAddsAnyChosenFile) {
  const std::string text = App("notes.txt");
  Create();
  dialogs_.fileAnswers = {{Q(text)}, {}};
  Button("Button1")->click();
  Button("Button1")->click();  // cancelled
  EXPECT_EQ(dialog_->Applications(), ApplicationList{text});
  ASSERT_EQ(dialogs_.fileTitles.size(), 2u);
  EXPECT_EQ(dialogs_.fileTitles[0], "Alkalmazások hozzáadása...");
  EXPECT_EQ(dialogs_.fileRequests[0].filter, "Exe fájlok (*.exe *.lnk *.desktop);;Minden fájl (*)");
  EXPECT_FALSE(dialogs_.fileRequests[0].multiple);
}

TEST_F(AppDialog, AnUnresolvableShortcutAddsNothing) {
  const std::string shortcut = App("reader.lnk");
  Create();
  dialogs_.fileAnswers = {{Q(shortcut)}};
  Button("Button1")->click();
  dialog_->JvDragDrop1Drop({}, {Q(shortcut)});
  EXPECT_TRUE(dialog_->Applications().empty());
}

// Renders one row as the list would, without anti-aliasing, so that every
// text pixel has the pen's colour.
QImage RenderRow(Tfrmapp& dialog, QListWidget* list, int row) {
  QImage image(300, 32, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QFont font = list->font();
  font.setStyleStrategy(QFont::NoAntialias);
  painter.setFont(font);
  painter.setBrush(Qt::white);
  painter.setPen(Qt::black);
  dialog.ListBox1DrawItem(painter, row, QRect(0, 0, 300, 32), QStyle::State_None);
  return image;
}

bool HasColour(const QImage& image, QRect area, QColor colour) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixelColor(x, y) == colour) return true;
  return false;
}

TEST_F(AppDialog, RowsShowTheIconAndGreyTextForMissingFiles) {
  QImage red(32, 32, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(QString::fromStdString((apps_ / "red.png").string())));
  const fs::path launcher = apps_ / "reader.desktop";
  WriteFile(launcher, "[Desktop Entry]\nExec=reader\nIcon=" + (apps_ / "red.png").string() + "\n");
  SaveApplicationList(*OpenUserRegistry(), {launcher.string(), (apps_ / "gone.exe").string()});
  Create();

  const QImage present = RenderRow(*dialog_, List(), 0);
  EXPECT_EQ(present.pixelColor(2, 2), QColor(Qt::red)) << "the icon at the row's top left";
  EXPECT_EQ(present.pixelColor(34, 16), QColor(Qt::white)) << "a gap before the text";
  EXPECT_TRUE(HasColour(present, QRect(37, 0, 263, 32), Qt::black));

  const QImage missing = RenderRow(*dialog_, List(), 1);
  EXPECT_FALSE(HasColour(missing, QRect(0, 0, 32, 32), Qt::red)) << "no icon for a missing file";
  EXPECT_TRUE(HasColour(missing, QRect(37, 0, 263, 32), QColor(128, 128, 128)));
  EXPECT_FALSE(HasColour(missing, QRect(37, 0, 263, 32), Qt::black));
}

}  // namespace
}  // namespace quill
