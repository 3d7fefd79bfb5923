#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>
#include <QTableView>
#include <QTimer>
#include <memory>

#include "app/qt/book_list_model.h"
#include "app/qt/main_window.h"
#include "apps/application_list.h"
#include "apps/qt/application_list_dialog.h"
#include "base/path_text.h"
#include "recording_program.h"
#include "recording_user_messages.h"
#include "scoped_environment.h"
#include "scripted_dialogs.h"
#include "shell/user_registry.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::RecordingProgram;
using testing::ScopedEnvironment;
using testing::ScriptedDialogs;
using testing::TempDir;
using testing::WriteFile;

// The main window and the application list dialog as one run of the program
// creates them, over a configuration folder of the test's own.
class OpenWithSubmenu : public ::testing::Test {
 protected:
  void TearDown() override { EndRun(); }

  void StartRun() {
    form_ = std::make_unique<TForm1>(dialogs_);
    frmapp_ = std::make_unique<Tfrmapp>(dialogs_, form_.get());
    form_->SetApplicationListDialog(frmapp_.get());
    form_->show();
  }
  void EndRun() {
    frmapp_.reset();
    form_.reset();
  }

  // An application file the dialog accepts: an executable in a folder.
  std::string App(const fs::path& relative) {
    const fs::path path = temp_ / "Tools" / relative;
    fs::create_directories(path.parent_path());
    WriteFile(path, "#!/bin/sh\n");
    fs::permissions(path, fs::perms::owner_all);
    return path.string();
  }

  QMenu* Submenu() const { return form_->findChild<QMenu*>("Openwithanotherapplication1"); }
  QList<QAction*> Items() const { return Submenu()->actions(); }
  QStringList Captions() const {
    QStringList captions;
    for (const QAction* item : Items()) captions.push_back(item->iconText());
    return captions;
  }
  QAction* AddAnotherApp() const { return Items().value(0); }

  // Lists the book and selects its row, as an add command and a click would.
  void SelectBook(const fs::path& book) {
    auto* list = form_->findChild<QTableView*>("ListView1");
    auto* books = dynamic_cast<BookListModel*>(list->model());
    books->Append({Utf8Of(book.filename()), Utf8Of(book)});
    list->selectRow(books->rowCount() - 1);
  }

  // Opens the dialog through "Add another app"; `inDialog` runs while it is
  // shown and closes it.
  template <typename Action>
  void UseDialog(Action inDialog) {
    QTimer::singleShot(0, frmapp_.get(), inDialog);
    AddAnotherApp()->trigger();
  }

  static QString Q(const std::string& text) { return QString::fromStdString(text); }

  TempDir temp_;
  ScopedEnvironment config_{"XDG_CONFIG_HOME", (temp_ / "config").string()};
  ScriptedDialogs dialogs_;
  testing::RecordingUserMessages messages_;
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<Tfrmapp> frmapp_;
};

TEST_F(OpenWithSubmenu, OffersEachEntryByFileNameWithItsPathAsHint) {
  const std::string reader = App("Reader/reader.exe"), other = App("Other/reader.exe");
  const std::string ampersand = App("AT&T viewer");
  const std::string missing = (temp_ / "Tools" / "gone.exe").string();
  SaveApplicationList(*OpenUserRegistry(), {reader, missing, "", other, ampersand});
  StartRun();

  EXPECT_EQ(Captions(), (QStringList{"Add another app", "", "reader.exe", "gone.exe", "",
                                     "reader.exe", "AT&T viewer"}));
  const QList<QAction*> items = Items();
  EXPECT_EQ(items[0]->objectName(), "Addanotherapp1");
  EXPECT_TRUE(items[1]->isSeparator());
  const std::pair<std::string, bool> expected[] = {
      {reader, true}, {missing, false}, {"", false}, {other, true}, {ampersand, true}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(items[i + 2]->toolTip(), Q(expected[i].first)) << i;
    EXPECT_EQ(items[i + 2]->isEnabled(), expected[i].second) << i;
    EXPECT_TRUE(items[i + 2]->icon().isNull());
  }
  EXPECT_TRUE(Submenu()->toolTipsVisible());
}

TEST_F(OpenWithSubmenu, AnApplicationStartsWithTheSelectedBookOrSaysNoFileIsSelected) {
  fs::create_directories(temp_ / "one");
  fs::create_directories(temp_ / "two");
  const RecordingProgram first(temp_ / "one", "record.exe"), second(temp_ / "two", "record.exe");
  SaveApplicationList(*OpenUserRegistry(), {first.path().string(), second.path().string()});
  StartRun();
  ASSERT_EQ(Captions().mid(2), (QStringList{"record.exe", "record.exe"}));

  Items()[3]->trigger();
  EXPECT_EQ(messages_.messages, std::vector<std::string>{"No file selected"});

  const fs::path book = temp_ / "My Books" / PathFromUtf8("Példa könyv.epub");
  fs::create_directories(book.parent_path());
  WriteFile(book, "book");
  SelectBook(book);
  Items()[3]->trigger();
  EXPECT_EQ(second.WaitForRecord(), "1\n" + Utf8Of(book) + "\n")
      << "the path with blanks arrives as one argument";
  EXPECT_FALSE(first.HasRun()) << "items of the same caption start their own programs";
  EXPECT_EQ(messages_.messages.size(), 1u);
}

TEST_F(OpenWithSubmenu, TheDialogsOkRebuildsTheSubmenuAndCancelDoesNot) {
  const std::string viewer = App("viewer.exe"), reader = App("reader.exe");
  StartRun();
  EXPECT_EQ(Captions(), (QStringList{"Add another app", ""}));

  UseDialog([&] {
    frmapp_->JvDragDrop1Drop({}, {Q(viewer)});
    frmapp_->reject();
  });
  EXPECT_EQ(Captions(), (QStringList{"Add another app", ""})) << "Cancel leaves the submenu";

  const QPointer<QAction> handled = AddAnotherApp();
  UseDialog([&] {
    frmapp_->JvDragDrop1Drop({}, {Q(reader)});
    frmapp_->accept();
  });
  EXPECT_EQ(Captions(), (QStringList{"Add another app", "", "reader.exe", "viewer.exe"}));
  EXPECT_FALSE(Items().contains(handled.data()));
  EXPECT_FALSE(handled.isNull()) << "the item whose click ran is not destroyed under it";
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(handled.isNull());

  // The new "Add another app" opens the dialog like the first one.
  UseDialog([&] {
    frmapp_->RzButton3Click();
    frmapp_->accept();
  });
  EXPECT_EQ(Captions(), (QStringList{"Add another app", ""}));
}

TEST_F(OpenWithSubmenu, TheListSurvivesARestartInItsOrder) {
  const std::string c = App("c.exe"), a = App("a.exe"), b = App("b.exe");
  StartRun();
  UseDialog([&] {
    frmapp_->JvDragDrop1Drop({}, {Q(c), Q(a), Q(b)});
    frmapp_->accept();
  });
  const QStringList offered = Captions();
  EXPECT_EQ(offered, (QStringList{"Add another app", "", "a.exe", "b.exe", "c.exe"}));
  EndRun();

  StartRun();
  EXPECT_EQ(Captions(), offered);
  EXPECT_EQ(Items()[4]->toolTip(), Q(c));
}

}  // namespace
}  // namespace quill
