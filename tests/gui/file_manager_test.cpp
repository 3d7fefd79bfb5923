#include "shell/qt/file_manager.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteFile;

// A file manager that only records what it is asked to show. It answers from
// a thread of its own, since the caller blocks the main thread while it waits.
class FakeFileManager final : public QDBusVirtualObject {
 public:
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.interface() != QLatin1String("org.freedesktop.FileManager1") ||
        message.member() != QLatin1String("ShowItems")) {
      return false;
    }
    {
      QMutexLocker lock(&mutex_);
      shown_ += message.arguments().value(0).toStringList();
    }
    return connection.send(message.createReply());
  }
  QString introspect(const QString&) const override { return {}; }

  QStringList shown() const {
    QMutexLocker lock(&mutex_);
    return shown_;
  }

 private:
  mutable QMutex mutex_;
  QStringList shown_;
};

// A session bus of the test's own, so that no real file manager answers and
// none of the user's windows open.
class PrivateSessionBus : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty()) GTEST_SKIP() << "dbus-daemon is not installed";
    const fs::path config = temp_ / "bus.conf";
    WriteFile(config,
              "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
              " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
              "<busconfig><type>session</type><listen>unix:dir=" + temp_.path().string() +
              "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
              "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
              "<allow own=\"*\"/></policy></busconfig>\n");
    daemon_.start(daemon, {QStringLiteral("--config-file=") + QString::fromStdString(config.string()),
                           QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    ASSERT_TRUE(daemon_.waitForReadyRead(10000)) << "the bus did not start";
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    client_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address_, "client"));
    ASSERT_TRUE(client_->isConnected());
  }

  void TearDown() override {
    if (serviceThread_.isRunning()) {
      serviceThread_.quit();
      serviceThread_.wait();
    }
    for (const char* name : {"client", "file-manager"}) QDBusConnection::disconnectFromBus(name);
    if (daemon_.state() != QProcess::NotRunning) {
      daemon_.kill();
      daemon_.waitForFinished();
    }
  }

  void StartFileManager() {
    QDBusConnection service = QDBusConnection::connectToBus(address_, "file-manager");
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    fileManager_.moveToThread(&serviceThread_);
    serviceThread_.start();
    ASSERT_TRUE(service.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"),
                                              &fileManager_));
  }

  TempDir temp_;
  QProcess daemon_;
  QString address_;
  std::unique_ptr<QDBusConnection> client_;
  QThread serviceThread_;
  FakeFileManager fileManager_;
};

TEST_F(PrivateSessionBus, TheFileManagerIsAskedToShowTheItemsUri) {
  StartFileManager();
  const fs::path book = temp_ / "My Books" / "Alice & Bob.epub";
  fs::create_directories(book.parent_path());
  WriteFile(book, "book");
  EXPECT_TRUE(ShowItemInFileManager(QString::fromStdString(book.string()), *client_));
  EXPECT_EQ(fileManager_.shown(),
            QStringList{QUrl::fromLocalFile(QString::fromStdString(book.string())).toString(QUrl::FullyEncoded)});
  EXPECT_TRUE(fileManager_.shown().constFirst().contains(QStringLiteral("My%20Books")));
}

TEST_F(PrivateSessionBus, WithoutAFileManagerNothingAnswersAndTheResultIsFalse) {
  WriteFile(temp_ / "book.epub", "book");
  EXPECT_FALSE(ShowItemInFileManager(QString::fromStdString((temp_ / "book.epub").string()), *client_));
}

TEST_F(PrivateSessionBus, AMissingItemIsNotSentAtAll) {
  StartFileManager();
  EXPECT_FALSE(ShowItemInFileManager(QString::fromStdString((temp_ / "gone.epub").string()), *client_));
  EXPECT_FALSE(ShowItemInFileManager(QString(), *client_));
  EXPECT_TRUE(fileManager_.shown().isEmpty());
}

TEST(FileManager, NoBusMeansFalse) {
  const QDBusConnection none = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                             QStringLiteral("nowhere"));
  EXPECT_FALSE(ShowItemInFileManager(QStringLiteral("/"), none));
  QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

}  // namespace
}  // namespace quill
