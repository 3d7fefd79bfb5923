#include "shell/unpack_folder_name.h"

#include "base/path_text.h"

namespace quill {

std::string UnpackFolderName(const std::string& bookPath) {
  const std::string name = FileNameOf(bookPath);
  return name.substr(0, name.rfind('.'));
}

}  // namespace quill
