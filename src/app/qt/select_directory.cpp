#include "app/qt/select_directory.h"

#include "app/qt/dialogs.h"

namespace quill {

bool TJvSelectDirectory::Execute() {
  directory_ = dialogs_.SelectFolder(owner_, title_);
  return !directory_.isEmpty();
}

}  // namespace quill
