#include "widgets/open_file_dialog.h"

#include "widgets/dialogs.h"

namespace quill {

void OpenFileDialog::SetFilter(const QString& description, const QString& mask) {
  filter_ = QStringLiteral("%1 (%2)").arg(description, mask);
}

bool OpenFileDialog::Execute() {
  files_ = dialogs_.OpenFiles(owner_, filter_, multiSelect_);
  return !files_.isEmpty();
}

}  // namespace quill
