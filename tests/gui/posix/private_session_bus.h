#pragma once

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QProcess>
#include <QStringList>
#include <QThread>
#include <QUrl>
#include <memory>

#include "temp_dir.h"

namespace quill::testing {

// A session bus of the test program's own: the program's session bus from the
// start, so that no test ever reaches the user's file manager or opens one of
// the user's windows. Construct it before the application object (it sets
// DBUS_SESSION_BUS_ADDRESS) and Start it after.
class SessionBusDaemon {
 public:
  SessionBusDaemon();
  ~SessionBusDaemon();
  SessionBusDaemon(const SessionBusDaemon&) = delete;
  SessionBusDaemon& operator=(const SessionBusDaemon&) = delete;

  // Starts dbus-daemon on the bus's address; without one installed the bus
  // stays unreachable.
  void Start();

  // The running bus's address; empty when it is not running.
  static QString Address();

 private:
  TempDir folder_;
  QProcess daemon_;
};

// A file manager that only records what it is asked to show. It answers from
// a thread of its own, since the caller blocks the main thread while it waits.
class FakeFileManager final : public QDBusVirtualObject {
 public:
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
  QString introspect(const QString&) const override { return {}; }

  QStringList shown() const;

 private:
  mutable QMutex mutex_;
  QStringList shown_;
};

// The desktop's default handler for folders, as the program reaches it
// through QDesktopServices: it records the folders that it is asked to open.
class RecordingFolderHandler final : public QObject {
  Q_OBJECT

 public:
  QStringList opened() const { return opened_; }

 public slots:
  void Open(const QUrl& folder) { opened_ += folder.toLocalFile(); }

 private:
  QStringList opened_;
};

// A test on the private session bus: a client connection of its own and, once
// started, a file manager that owns org.freedesktop.FileManager1 until the
// test ends; the folders that the desktop's default handler would open are
// recorded instead. Skipped when dbus-daemon is not installed.
class PrivateSessionBus : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void StartFileManager();

  TempDir temp_;
  std::unique_ptr<QDBusConnection> client_;
  std::unique_ptr<QDBusConnection> service_;
  QThread serviceThread_;
  FakeFileManager fileManager_;
  RecordingFolderHandler folderHandler_;
};

}  // namespace quill::testing
