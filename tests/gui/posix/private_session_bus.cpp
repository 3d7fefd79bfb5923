#include "private_session_bus.h"

#include <QDBusMessage>
#include <QDesktopServices>
#include <QStandardPaths>

#include "zip_writer.h"

namespace quill::testing {
namespace {

namespace fs = std::filesystem;

constexpr char kClientConnection[] = "client";
constexpr char kFileManagerConnection[] = "file-manager";
constexpr char kFileManagerService[] = "org.freedesktop.FileManager1";
constexpr char kFileManagerPath[] = "/org/freedesktop/FileManager1";

QString gAddress;

}  // namespace

SessionBusDaemon::SessionBusDaemon() {
  const std::string address = "unix:path=" + (folder_ / "bus").string();
  qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray::fromStdString(address));
}

void SessionBusDaemon::Start() {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
  if (program.isEmpty()) return;
  const fs::path config = folder_ / "bus.conf";
  WriteFile(config,
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
            " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig><type>session</type><listen>" +
                qgetenv("DBUS_SESSION_BUS_ADDRESS").toStdString() +
                "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                "<allow own=\"*\"/></policy></busconfig>\n");
  daemon_.start(program,
                {QStringLiteral("--config-file=") + QString::fromStdString(config.string()),
                 QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
  if (daemon_.waitForReadyRead(10000)) gAddress = QString::fromUtf8(daemon_.readLine()).trimmed();
}

SessionBusDaemon::~SessionBusDaemon() {
  gAddress.clear();
  if (daemon_.state() != QProcess::NotRunning) {
    daemon_.kill();
    daemon_.waitForFinished();
  }
}

QString SessionBusDaemon::Address() { return gAddress; }

bool FakeFileManager::handleMessage(const QDBusMessage& message,
                                    const QDBusConnection& connection) {
  if (message.interface() != QLatin1String(kFileManagerService) ||
      message.member() != QLatin1String("ShowItems")) {
    return false;
  }
  {
    QMutexLocker lock(&mutex_);
    shown_ += message.arguments().value(0).toStringList();
  }
  return connection.send(message.createReply());
}

QStringList FakeFileManager::shown() const {
  QMutexLocker lock(&mutex_);
  return shown_;
}

void PrivateSessionBus::SetUp() {
  if (SessionBusDaemon::Address().isEmpty()) GTEST_SKIP() << "dbus-daemon is not running";
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &folderHandler_, "Open");
  client_ = std::make_unique<QDBusConnection>(
      QDBusConnection::connectToBus(SessionBusDaemon::Address(), kClientConnection));
  ASSERT_TRUE(client_->isConnected());
}

void PrivateSessionBus::TearDown() {
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  // The bus outlives the test: the file manager leaves it before it goes, and
  // gives up its name before the next test, which may ask who owns it.
  if (service_) {
    service_->unregisterObject(QString::fromLatin1(kFileManagerPath));
    service_->unregisterService(QString::fromLatin1(kFileManagerService));
    service_.reset();
  }
  if (serviceThread_.isRunning()) {
    serviceThread_.quit();
    serviceThread_.wait();
  }
  client_.reset();
  for (const char* name : {kClientConnection, kFileManagerConnection})
    QDBusConnection::disconnectFromBus(name);
}

void PrivateSessionBus::StartFileManager() {
  service_ = std::make_unique<QDBusConnection>(
      QDBusConnection::connectToBus(SessionBusDaemon::Address(), kFileManagerConnection));
  ASSERT_TRUE(service_->registerService(QString::fromLatin1(kFileManagerService)));
  fileManager_.moveToThread(&serviceThread_);
  serviceThread_.start();
  ASSERT_TRUE(
      service_->registerVirtualObject(QString::fromLatin1(kFileManagerPath), &fileManager_));
}

}  // namespace quill::testing
