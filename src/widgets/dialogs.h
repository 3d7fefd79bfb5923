#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace quill {

// The modal dialogs that the windows open: file choice, folder choice and
// message boxes. The program uses the Qt dialogs (QtDialogs); tests put an
// implementation in their place that answers without a screen.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A file-open dialog with the name filter `filter` ("Epub (*.epub)"). Returns
  // the chosen files' full paths in the order the dialog gives them, or an
  // empty list when the user cancels.
  virtual QStringList OpenFiles(QWidget* parent, const QString& filter, bool multiple) = 0;

  // A file-open dialog for one file, titled `title`, offering the file types
  // of `filters` ("Description (*.a *.b)" each), the first one preselected.
  // Returns the chosen file's full path, or an empty text when the user
  // cancels. By default the file-open dialog above, without the title.
  virtual QString OpenFile(QWidget* parent, const QString& title, const QStringList& filters) {
    Q_UNUSED(title);
    const QStringList files = OpenFiles(parent, filters.join(QStringLiteral(";;")), false);
    return files.isEmpty() ? QString() : files.constFirst();
  }

  // A folder chooser with `title` as its instruction, offering file-system
  // folders only and starting without a preselected folder. Returns the chosen
  // folder's path, or an empty text when the user cancels.
  virtual QString SelectFolder(QWidget* parent, const QString& title) = 0;

  // A plain message box with information.
  virtual void Information(QWidget* parent, const QString& text) = 0;

  // An error box with the error icon and an OK button.
  virtual void Error(QWidget* parent, const QString& text) = 0;
};

}  // namespace quill
