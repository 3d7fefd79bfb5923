#include "shell/unpack_folder_name.h"

#include "base/path_text.h"

namespace quill {

std::string UnpackFolderName(const std::string& bookPath) {
  // The platform's own idea of the file-name part: after the last separator,
  // or after a drive's colon where drives exist.
  const std::string name = Utf8Of(PathFromUtf8(bookPath).filename());
  return name.substr(0, name.rfind('.'));
}

}  // namespace quill
