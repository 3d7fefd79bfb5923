#pragma once

#include <QDBusConnection>
#include <QString>

namespace quill {

// Asks the desktop's file manager to show the file or folder at the path
// selected in a window on its parent folder, through the session bus service
// org.freedesktop.FileManager1 (method ShowItems with the item's file URI).
// True when a file manager accepted the request; false when nothing exists at
// the path, the bus cannot be reached, no file manager runs or can be started
// by the bus, or none answers in time.
bool ShowItemInFileManager(const QString& path,
                           const QDBusConnection& bus = QDBusConnection::sessionBus());

// Opens the folder that holds the file or folder at the path with the
// desktop's default handler for folders, for desktops where no file manager
// serves the session bus; the item cannot be selected there. False when
// nothing exists at the path or no handler could be started.
bool OpenContainingFolder(const QString& path);

}  // namespace quill
