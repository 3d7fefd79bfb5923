#include "apps/qt/application_icon.h"

#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>

#include "base/file_system.h"
#include "base/path_text.h"
#include "shell/desktop_entry.h"

namespace quill {
namespace {

// Launchers are a few kilobytes; more is not read.
constexpr qint64 kMaxLauncherSize = 1 << 20;

QIcon LauncherIcon(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxLauncherSize) return {};
  const QByteArray text = file.readAll();
  const auto entry = ParseDesktopEntry(std::string_view(text.constData(), text.size()));
  if (!entry || entry->icon.empty()) return {};
  const QString icon = QString::fromStdString(entry->icon);
  return QFileInfo(icon).isAbsolute() ? QIcon(icon) : QIcon::fromTheme(icon);
}

}  // namespace

QIcon ApplicationIcon(const QString& path) {
  if (path.isEmpty() || !FileExists(PathFromUtf8(path.toStdString()))) return {};
  if (path.endsWith(QStringLiteral(".desktop"), Qt::CaseInsensitive)) {
    const QIcon icon = LauncherIcon(path);
    if (!icon.isNull()) return icon;
  }
  static const QFileIconProvider provider;
  return provider.icon(QFileInfo(path));
}

}  // namespace quill
