#include "widgets/select_directory.h"

#include "widgets/dialogs.h"

namespace quill {

bool TJvSelectDirectory::Execute() {
  directory_ = dialogs_.SelectFolder(owner_, title_);
  return !directory_.isEmpty();
}

}  // namespace quill
