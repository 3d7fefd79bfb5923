#pragma once

#include <QIcon>
#include <QString>

namespace quill {

// The icon that the application list shows for an entry: on Windows the
// file's first icon (a program's own); elsewhere a launcher's own
// "Icon" (a theme name or a picture file), otherwise the icon the platform
// gives the file. A null icon when no file exists at the path.
QIcon ApplicationIcon(const QString& path);

}  // namespace quill
