#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace quill {

class Dialogs;

// The file-open dialog of a window: a filter of one file type, optionally
// several files at once.
class OpenFileDialog {
 public:
  OpenFileDialog(Dialogs& dialogs, QWidget* owner) : dialogs_(dialogs), owner_(owner) {}

  // One file type: its description ("Epub") and its mask ("*.epub").
  void SetFilter(const QString& description, const QString& mask);
  // The filter as the dialog shows it: "Epub (*.epub)".
  const QString& filter() const { return filter_; }
  void SetMultiSelect(bool multiSelect) { multiSelect_ = multiSelect; }
  bool multiSelect() const { return multiSelect_; }

  // Shows the dialog. True when the user chose at least one file; the files
  // are then in Files(), in the order the dialog gives them. False on cancel,
  // with Files() empty.
  bool Execute();
  const QStringList& Files() const { return files_; }

 private:
  Dialogs& dialogs_;
  QWidget* owner_;
  QString filter_;
  bool multiSelect_ = false;
  QStringList files_;
};

}  // namespace quill
