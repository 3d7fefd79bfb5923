#include "shell/qt/posix/file_manager.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace quill {
namespace {

constexpr char kService[] = "org.freedesktop.FileManager1";
constexpr char kObjectPath[] = "/org/freedesktop/FileManager1";
constexpr char kInterface[] = "org.freedesktop.FileManager1";
// The window waits for the answer; a file manager that has to start first
// answers within a few seconds.
constexpr int kReplyTimeoutMs = 5000;

// Whether a file manager runs on the bus or the bus can start one. Asking the
// bus is quick; a call to a name that nobody serves could only fail.
bool FileManagerAvailable(const QDBusConnection& bus) {
  QDBusConnectionInterface* daemon = bus.interface();
  if (daemon == nullptr) return false;
  const QString service = QString::fromLatin1(kService);
  const QDBusReply<bool> running = daemon->isServiceRegistered(service);
  if (running.isValid() && running.value()) return true;
  const QDBusReply<QStringList> startable = daemon->activatableServiceNames();
  return startable.isValid() && startable.value().contains(service);
}

}  // namespace

bool ShowItemInFileManager(const QString& path, const QDBusConnection& bus) {
  const QFileInfo item(path);
  if (path.isEmpty() || !item.exists() || !bus.isConnected() || !FileManagerAvailable(bus)) {
    return false;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(kService), QString::fromLatin1(kObjectPath),
      QString::fromLatin1(kInterface), QStringLiteral("ShowItems"));
  // The second argument is a startup notification id; none is at hand.
  call << QStringList{QUrl::fromLocalFile(item.absoluteFilePath()).toString(QUrl::FullyEncoded)}
       << QString();
  const QDBusMessage reply = bus.call(call, QDBus::Block, kReplyTimeoutMs);
  return reply.type() == QDBusMessage::ReplyMessage;
}

bool OpenContainingFolder(const QString& path) {
  const QFileInfo item(path);
  if (path.isEmpty() || !item.exists()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(item.absolutePath()));
}

}  // namespace quill
