#include "apps/qt/application_icon.h"

#include <QImage>
#include <QPixmap>

// windows.h first: the shell's header builds on it.
#include <windows.h>

#include <shellapi.h>

#include "base/path_text.h"

namespace quill {

QIcon ApplicationIcon(const QString& path) {
  if (path.isEmpty()) return {};
  // The file's first icon at the system's large icon size, as Explorer shows
  // a program; a file without icons (or no file at all) has none.
  const std::filesystem::path file = PathFromUtf8(path.toStdString());
  const HICON handle = ::ExtractIconW(::GetModuleHandleW(nullptr), file.c_str(), 0);
  if (handle == nullptr || handle == reinterpret_cast<HICON>(1)) return {};
  const QImage image = QImage::fromHICON(handle);
  ::DestroyIcon(handle);
  return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace quill
