#include "shell/qt/select_in_explorer.h"

#include <QFile>

#include "shell/qt/posix/file_manager.h"

namespace quill {

bool SelectInExplorer(const std::filesystem::path& path) {
  // A folder given with its trailing separator names the folder itself.
  const std::filesystem::path item =
      path.has_filename() || !path.has_relative_path() ? path : path.parent_path();
  return ShowItemInFileManager(QFile::decodeName(item.c_str()));
}

}  // namespace quill
