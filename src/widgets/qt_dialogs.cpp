#include "widgets/qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

namespace quill {
namespace {

// The title of the program's message boxes. The main window's own title is
// not used: it names the window, not the program.
constexpr char kMessageTitle[] = "Quillmere";
constexpr char kErrorTitle[] = "Error";

// Where the folder chooser opens: the desktop, as a folder tree would start,
// without selecting anything in it.
QString FolderChooserStart() {
  const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  return QDir(desktop).exists() ? desktop : QDir::homePath();
}

}  // namespace

QStringList QtDialogs::OpenFiles(QWidget* parent, const QString& filter, bool multiple) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  dialog.setNameFilter(filter);
  if (dialog.exec() != QDialog::Accepted) return {};
  QStringList files;
  for (const QString& file : dialog.selectedFiles())
    files.push_back(QDir::toNativeSeparators(file));
  return files;
}

QString QtDialogs::OpenFile(QWidget* parent, const QString& title, const QStringList& filters) {
  QFileDialog dialog(parent, title);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(filters);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

QString QtDialogs::SelectFolder(QWidget* parent, const QString& title) {
  QFileDialog dialog(parent, title, FolderChooserStart());
  dialog.setFileMode(QFileDialog::Directory);
  // Folders only, and no button that makes a new folder.
  dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

void QtDialogs::Information(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QString::fromUtf8(kMessageTitle), text);
}

void QtDialogs::Error(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QString::fromUtf8(kErrorTitle), text, QMessageBox::Ok);
}

}  // namespace quill
