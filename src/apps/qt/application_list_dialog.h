#pragma once

#include <string>

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QPoint>
#include <QStringList>
#include <QStyle>

#include "apps/application_list.h"

class QFrame;
class QLabel;
class QListWidget;
class QPainter;
class QPushButton;

namespace quill {

class Dialogs;

// The application list dialog, where the user keeps the external applications
// that the main window's "Open with another application" submenu offers. Its
// list box is the application list for the whole run: loaded from the
// registry when the dialog is created, saved when it is destroyed, whatever
// the dialog's last result; OK and Cancel only close it, and edits stay
// either way. Entries come through the file dialog or by dropping files from
// the file manager; each addition sorts the list and drops duplicates; a drag
// inside the list moves an entry. Every control carries its name as
// objectName.
class Tfrmapp : public QDialog {
  Q_OBJECT

 public:
  // The client area at 96 dots per inch.
  static constexpr int kClientWidth = 600;
  static constexpr int kClientHeight = 324;

  // `dialogs` opens the file dialog; it must outlive the dialog. The main
  // window as parent centres the dialog on it.
  explicit Tfrmapp(Dialogs& dialogs, QWidget* parent = nullptr);
  ~Tfrmapp() override;

  // The application list, in display order.
  ApplicationList Applications() const;

  // The handlers of the list's events. The event filter calls them; they are
  // public so that a test can drive a drag or a drop without a mouse.
  //
  // Files dropped from the file manager, full paths in the order it gives
  // them: each acceptable one is added. The drop point is not used.
  void JvDragDrop1Drop(QPoint pos, const QStringList& files);
  // Draws row `index`: the file's icon at the row's top left, the text 37
  // pixels in and centred vertically, grey when no file exists at the path.
  void ListBox1DrawItem(QPainter& canvas, int index, const QRect& rect, QStyle::State state);
  // Any button pressed on the list: the point (list coordinates) is kept for
  // a drag that may follow.
  void ListBox1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  // A drag over the list is accepted only when the list itself is its source.
  bool ListBox1DragOver(const QObject* source, int x, int y) const;
  // A drag of the list dropped at (x, y): the entry at the mouse-down point
  // moves to the drop point's place (to the end below the last entry).
  void ListBox1DragDrop(const QObject* source, int x, int y);

  // The buttons: "App Add...", "Delete selected", "Delete all", "Delete I
  // don't exist".
  void Button1Click();
  void RzButton5Click();
  void RzButton3Click();
  void RzButton6Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateCommandPanel();
  void CreateBottomPanel();
  // Load the list when the dialog is created; save it when it is destroyed.
  void FormCreate();
  void FormDestroy();

  void SetApplications(const ApplicationList& list);
  void AddEntry(const std::string& entry);
  // Sorts the list and drops duplicates with the user's locale collation,
  // ignoring case.
  void SortListBox();
  void SelectEntry(const QString& text);
  QIcon IconOf(const QString& path);
  // The list's drag of its own entries, begun once the mouse has moved past
  // the drag threshold with the left button held.
  void StartRowDrag();

  Dialogs& dialogs_;
  QPoint mouseDownPoint_;
  QHash<QString, QIcon> icons_;

  QLabel* Label1;
  QListWidget* ListBox1;
  QFrame* commandPanel_;
  QPushButton* RzButton5;  // "Delete selected"
  QPushButton* RzButton3;  // "Delete all"
  QPushButton* Button1;    // "App Add..."
  QPushButton* RzButton6;  // "Delete I don't exist"
  QWidget* bottomPanel_;
  QLabel* dropHint_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace quill
