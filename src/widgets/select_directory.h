#pragma once

#include <QString>

class QWidget;

namespace quill {

class Dialogs;

// The folder picker: a modal chooser of file-system folders with a title
// above its folder tree. It opens without a preselected folder every time.
class TJvSelectDirectory {
 public:
  TJvSelectDirectory(Dialogs& dialogs, QWidget* owner) : dialogs_(dialogs), owner_(owner) {}

  const QString& Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }

  // Shows the picker. True when the user chose a folder, whose path is then
  // Directory(); false when the user cancelled, with Directory() empty.
  bool Execute();
  const QString& Directory() const { return directory_; }

 private:
  Dialogs& dialogs_;
  QWidget* owner_;
  QString title_;
  QString directory_;
};

}  // namespace quill
