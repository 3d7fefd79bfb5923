#include "app/qt/folder_search_guard.h"

#include <QApplication>

namespace quill {

FolderSearchGuard::FolderSearchGuard(QWidget& progressPanel,
                                     std::initializer_list<QWidget*> disabled)
    : progressPanel_(&progressPanel) {
  // The override cursor is a stack: restoring it brings back whatever the
  // application showed before, an outer busy cursor included.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  for (QWidget* widget : disabled) {
    widget->setEnabled(false);
    disabled_.emplace_back(widget);
  }
  progressPanel.show();
  progressPanel.raise();
}

FolderSearchGuard::~FolderSearchGuard() {
  QApplication::restoreOverrideCursor();
  for (const QPointer<QWidget>& widget : disabled_) {
    if (widget) widget->setEnabled(true);
  }
  if (progressPanel_) progressPanel_->hide();
}

}  // namespace quill
