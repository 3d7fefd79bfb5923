#include "shell/qt/file_manager.h"

#include <QDBusMessage>
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

}  // namespace

bool ShowItemInFileManager(const QString& path, const QDBusConnection& bus) {
  const QFileInfo item(path);
  if (path.isEmpty() || !item.exists() || !bus.isConnected()) return false;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(kService), QString::fromLatin1(kObjectPath),
      QString::fromLatin1(kInterface), QStringLiteral("ShowItems"));
  // The second argument is a startup notification id; none is at hand.
  call << QStringList{QUrl::fromLocalFile(item.absoluteFilePath()).toString(QUrl::FullyEncoded)}
       << QString();
  const QDBusMessage reply = bus.call(call, QDBus::Block, kReplyTimeoutMs);
  return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace quill
