#pragma once

#include <QPointer>
#include <QWidget>
#include <initializer_list>
#include <vector>

namespace quill {

// The window's busy state while a folder search runs: the busy cursor over
// the whole application, the given panels disabled and the progress panel
// shown in front of everything. Leaving the scope, also by an error, restores
// the cursor that was shown before, enables the panels and hides the progress
// panel, so a failed search never leaves the window unusable.
class FolderSearchGuard {
 public:
  FolderSearchGuard(QWidget& progressPanel, std::initializer_list<QWidget*> disabled);
  ~FolderSearchGuard();

  FolderSearchGuard(const FolderSearchGuard&) = delete;
  FolderSearchGuard& operator=(const FolderSearchGuard&) = delete;

 private:
  // Widgets may be destroyed while the search pumps window messages; guarded
  // pointers let the restore pass over them.
  QPointer<QWidget> progressPanel_;
  std::vector<QPointer<QWidget>> disabled_;
};

}  // namespace quill
