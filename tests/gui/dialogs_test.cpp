#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <stdexcept>

#include "app/main_window_texts.h"
#include "archive/archive_error_kinds.h"
#include "base/scoped_user_messages.h"
#include "recording_user_messages.h"
#include "scripted_dialogs.h"
#include "widgets/open_file_dialog.h"
#include "widgets/qt_user_messages.h"
#include "widgets/select_directory.h"

namespace quill {
namespace {

TEST(SelectDirectory, ShowsItsTitleAndReturnsTheChosenFolder) {
  testing::ScriptedDialogs dialogs;
  dialogs.folderAnswers = {QStringLiteral("/home/reader/Books")};
  TJvSelectDirectory picker(dialogs, nullptr);
  picker.SetTitle(QString::fromUtf8(texts::kSelectFolderTitle));

  ASSERT_TRUE(picker.Execute());
  EXPECT_EQ(picker.Directory(), "/home/reader/Books");
  ASSERT_EQ(dialogs.folderTitles.size(), 1u);
  EXPECT_EQ(dialogs.folderTitles[0], "Mappa kiválasztása");
}

TEST(SelectDirectory, CancelLeavesNoFolderFromAnEarlierChoice) {
  testing::ScriptedDialogs dialogs;
  dialogs.folderAnswers = {QStringLiteral("/home/reader/Books"), QString()};
  TJvSelectDirectory picker(dialogs, nullptr);
  ASSERT_TRUE(picker.Execute());
  EXPECT_FALSE(picker.Execute());
  EXPECT_TRUE(picker.Directory().isEmpty());
}

TEST(OpenFileDialog, AsksForEpubFilesAndKeepsTheirOrder) {
  testing::ScriptedDialogs dialogs;
  dialogs.fileAnswers = {{QStringLiteral("/b/2.epub"), QStringLiteral("/a/1.epub")}, {}};
  OpenFileDialog dialog(dialogs, nullptr);
  dialog.SetFilter(QString::fromUtf8(texts::kEpubFilterName),
                   QString::fromUtf8(texts::kEpubFilterMask));
  dialog.SetMultiSelect(true);

  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Files(), (QStringList{"/b/2.epub", "/a/1.epub"}));
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(dialogs.fileRequests[0].filter, "Epub (*.epub)");
  EXPECT_TRUE(dialogs.fileRequests[0].multiple);

  EXPECT_FALSE(dialog.Execute());
  EXPECT_TRUE(dialog.Files().isEmpty());
}

TEST(QtUserMessages, ShowsMessagesAndErrorsInTheirOwnBoxesAsUtf8) {
  testing::ScriptedDialogs dialogs;
  QtUserMessages messages(dialogs);
  ScopedUserMessages scope(messages);
  ShowMessage("Nem tudom a könyvtárat létrehozni : ");
  ShowErrorBox("EAbZipInvalid");
  EXPECT_EQ(dialogs.messages, (std::vector<QString>{"Nem tudom a könyvtárat létrehozni : "}));
  EXPECT_EQ(dialogs.errors, (std::vector<QString>{"EAbZipInvalid"}));
}

// An object whose event handler fails the way a command can.
class FailingReceiver : public QObject {
 public:
  bool event(QEvent*) override { throw EZipException("the archive has no central directory"); }
};

TEST(Application, ShowsAnErrorThatEscapesAnEventHandlerAndGoesOn) {
  testing::RecordingUserMessages shown;
  FailingReceiver receiver;
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&receiver, &event));
  EXPECT_EQ(shown.errors, (std::vector<std::string>{"the archive has no central directory"}));
}

}  // namespace
}  // namespace quill
