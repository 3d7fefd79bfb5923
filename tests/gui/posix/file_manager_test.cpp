#include "shell/qt/posix/file_manager.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QUrl>

#include "private_session_bus.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::PrivateSessionBus;
using testing::WriteFile;

TEST_F(PrivateSessionBus, TheFileManagerIsAskedToShowTheItemsUri) {
  StartFileManager();
  const fs::path book = temp_ / "My Books" / "Alice & Bob.epub";
  fs::create_directories(book.parent_path());
  WriteFile(book, "book");
  EXPECT_TRUE(ShowItemInFileManager(QString::fromStdString(book.string()), *client_));
  EXPECT_EQ(
      fileManager_.shown(),
      QStringList{
          QUrl::fromLocalFile(QString::fromStdString(book.string())).toString(QUrl::FullyEncoded)});
  EXPECT_TRUE(fileManager_.shown().constFirst().contains(QStringLiteral("My%20Books")));
}

TEST_F(PrivateSessionBus, WithoutAFileManagerNothingAnswersAndTheResultIsFalse) {
  WriteFile(temp_ / "book.epub", "book");
  EXPECT_FALSE(
      ShowItemInFileManager(QString::fromStdString((temp_ / "book.epub").string()), *client_));
}

TEST_F(PrivateSessionBus, AMissingItemIsNotSentAtAll) {
  StartFileManager();
  EXPECT_FALSE(
      ShowItemInFileManager(QString::fromStdString((temp_ / "gone.epub").string()), *client_));
  EXPECT_FALSE(ShowItemInFileManager(QString(), *client_));
  EXPECT_TRUE(fileManager_.shown().isEmpty());
}

TEST_F(PrivateSessionBus, TheContainingFolderOpensWithTheDefaultHandler) {
  const fs::path folder = temp_ / "My Books";
  fs::create_directories(folder / "Unpacked");
  WriteFile(folder / "Alice.epub", "book");
  for (const fs::path& item : {folder / "Alice.epub", folder / "Unpacked"}) {
    EXPECT_TRUE(OpenContainingFolder(QString::fromStdString(item.string()))) << item;
  }
  EXPECT_FALSE(OpenContainingFolder(QString::fromStdString((folder / "gone.epub").string())));
  EXPECT_FALSE(OpenContainingFolder(QString()));
  const QString expected = QString::fromStdString(folder.string());
  EXPECT_EQ(folderHandler_.opened(), (QStringList{expected, expected}));
}

TEST(FileManager, NoBusMeansFalse) {
  const QDBusConnection none = QDBusConnection::connectToBus(
      QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere"));
  EXPECT_FALSE(ShowItemInFileManager(QStringLiteral("/"), none));
  QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

}  // namespace
}  // namespace quill
