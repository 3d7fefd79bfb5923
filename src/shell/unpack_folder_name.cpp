#include "shell/unpack_folder_name.h"

#include <filesystem>

namespace quill {

std::string UnpackFolderName(const std::string& bookPath) {
  // The platform's own idea of the file-name part: after the last separator,
  // or after a drive's colon where drives exist.
  const std::string name = std::filesystem::path(bookPath).filename().string();
  return name.substr(0, name.rfind('.'));
}

}  // namespace quill
