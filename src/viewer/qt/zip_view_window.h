#pragma once

#include <QDialog>
#include <QString>

#include "viewer/qt/zip_image_list.h"
#include "viewer/zip_view_sort.h"

class QStatusBar;
class QToolBar;
class QTreeView;

namespace quill {

class Dialogs;
class ZipViewModel;

// The zip view window: the content documents of one book with what the
// archive's central directory records about each (time, sizes, CRC-32,
// method) and the archive comment. One instance lives for the whole run and
// is shown modally for each opening; closing it only hides it. The rows stay
// until the next opening; a click on a column header sorts them, and the sort
// state carries over from one opening to the next. Every control carries its
// name as objectName.
class TFrmZip : public QDialog {
  Q_OBJECT

 public:
  // The client area at 96 dots per inch.
  static constexpr int kClientWidth = 894;
  static constexpr int kClientHeight = 504;

  // `dialogs` shows the message of a failed listing; it must outlive the window.
  explicit TFrmZip(Dialogs& dialogs, QWidget* parent = nullptr);
  ~TFrmZip() override;

  // Opens the window for the book at `path` (a full path, as the main list
  // holds it) at the main window's time resolution: Fill, then shows the
  // window modally; returns once the user has closed it.
  void ShowBook(const QString& path, int timeResolution);

  // Everything an opening does before the window shows. When a file exists at
  // the path and passes the ZIP validity test, the list is refilled with the
  // book's content documents in archive order; an error of the archive or of
  // a stored time ends the filling with a message box, and the rows read
  // before it stay. When the file is missing or no archive, the list is left
  // empty. The caption becomes "Zipview: " and the path. The reference
  // document and the spine documents whose time differs from it at the time
  // resolution (an item index, 0 "Day" to 4 "Full") are marked, and the
  // status bar says how many differ.
  void Fill(const QString& path, int timeResolution);

 private:
  void CreateControls();
  // Hands the list's sorting to ListView1ColumnClick instead of the view's own.
  void FormCreate();
  // Sorts the rows on the clicked column, alternating the direction.
  void ListView1ColumnClick(int column);

  Dialogs& dialogs_;
  ZipImageList zipImageList;
  ZipViewSort sort_;
  ZipViewModel* items_;
  bool placed_ = false;

  QToolBar* toolBar_;
  QTreeView* ListView1;
  QStatusBar* statusBar_;
};

}  // namespace quill
