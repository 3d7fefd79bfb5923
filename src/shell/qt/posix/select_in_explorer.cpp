#include "shell/qt/select_in_explorer.h"

#include <QFile>

#include "shell/qt/posix/file_manager.h"

namespace quill {

bool SelectInExplorer(const std::filesystem::path& path) {
  // A folder given with its trailing separator names the folder itself.
  const std::filesystem::path item =
      path.has_filename() || !path.has_relative_path() ? path : path.parent_path();
  const QString itemPath = QFile::decodeName(item.c_str());
  // Many window managers and some desktops have no file manager on the bus:
  // their default handler for folders still shows where the item is.
  return ShowItemInFileManager(itemPath) || OpenContainingFolder(itemPath);
}

}  // namespace quill
