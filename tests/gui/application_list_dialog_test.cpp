#include "apps/qt/application_list_dialog.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include "app_dialog.h"
#include "shell/application_files.h"

namespace quill {
namespace {

using testing::AppDialog;

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
  // The platform's application masks ("*.exe;*.lnk", and more on POSIX) as the
  // dialog shows them.
  const QString masks = QString::fromStdString(ApplicationFileMask()).replace(';', ' ');
  EXPECT_EQ(dialogs_.fileRequests[0].filter, "Exe fájlok (" + masks + ");;Minden fájl (*)");
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

}  // namespace
}  // namespace quill
