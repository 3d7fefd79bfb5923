#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "app/book_paths.h"
#include "app/epub_collection.h"
#include "app/list_sort.h"
#include "shell/search_files.h"
#include "widgets/image_list.h"
#include "widgets/open_file_dialog.h"
#include "widgets/select_directory.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTableView;

namespace quill {

class BookListModel;
class CaptionPanel;
class CommandMessages;
class Dialogs;
class GlassButton;
class HeaderPanel;
class RadioGroup;
class RepaintThrottle;
class ShadowTextButton;
class TFrmZip;
class Tfrmapp;
struct OpenWithItem;

// The main window: the list of found books, the time-resolution choice, the
// status panel, the progress panel of a folder search and the command menu,
// which serves both as the list's context menu and as the "Menü..." button's
// drop-down. The window's own logic is the sorting of the list and the
// progress of the add commands; which books are listed is decided by the EPUB
// collection, the other commands are carried out by the units that own them.
// Every control carries its name as objectName.
//
// Everything runs on the one user-interface thread. The add commands keep
// the window alive by pumping window messages after every chosen file and at
// every step of a folder search; those are the only points where a Stop
// click, a repaint or other input is handled while they run.
class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // The client area at 96 dots per inch.
  static constexpr int kClientWidth = 931;
  static constexpr int kClientHeight = 530;

  // `dialogs` opens the window's file, folder and message dialogs; it must
  // outlive the window.
  explicit TForm1(Dialogs& dialogs, QWidget* parent = nullptr);
  ~TForm1() override;

  // The application list dialog, created after this window at start-up; the
  // "Open with another application" submenu offers its list and its "Add
  // another app" item opens it. Without one the submenu offers no
  // application. The dialog must outlive the window's use of it.
  void SetApplicationListDialog(Tfrmapp* frmapp);

  // The zip view window, created after this window at start-up; a
  // double-click on a book opens it. Without one a double-click does nothing.
  // The window must outlive the main window's use of it.
  void SetZipView(TFrmZip* frmZip);

  // Adds books handed over at once, as a drop or the command line hands them:
  // the list is emptied once, the files are added as "Add file" adds chosen
  // files, then each folder in turn is searched as "Add folder with
  // subfolders" searches it, into the same list. A Stop ends the whole
  // addition. The paths that are neither are named, with the system's reason
  // when it has one, in the box that tells after the addition what it could
  // not read. Refused, changing nothing, while an add command runs.
  void AddBookPaths(const BookPaths& paths);

 protected:
  void showEvent(QShowEvent* event) override;
  // Closing the window stops a running add command, so the run can end.
  void closeEvent(QCloseEvent* event) override;
  // Files and folders dragged from a file manager are accepted unless a
  // command runs; a drop is carried out by AddBookPaths once the drag source
  // has been answered.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateHeader();
  void CreateList();
  void CreateResolutionGroup();
  void CreateStatusPanel();
  void CreateProgressPanel();
  void CreateMenu();

  // The window's event handlers. The commands of the menu, the double-click
  // and the Stop buttons are connected here and carried out by the units that
  // own them: the EPUB collection (the add commands and the Stop buttons), the
  // file-manager commands, the application list and the zip view. FormShow
  // runs each time the window is shown.
  void FormShow();
  void Openfile1Click();
  void Opendirectory1Click();
  void Addfolderwithsubfolders1Click();
  void OpenFileExplorerandselect1Click();
  void EpubunpackingandopeningintheInstitute1Click();
  void Addanotherapp1Click();
  void ListView1DblClick();
  void OpenWithItemClick(QAction* sender);
  void btnStopClick();
  void btnleallitClick();

  // The add commands' work. AddFiles adds chosen files to the list: one valid
  // book directly, otherwise through AddChosenFiles, the multi-file loop with
  // its progress bar and Stop button. RunFolderSearch is the common body of
  // the two folder commands; SearchFolder adds one folder's books to the list
  // and answers false when an error ended the search.
  void AddFiles(const std::vector<std::string>& files);
  void AddChosenFiles(const std::vector<std::string>& files);
  // One file of an add command, as the collection takes it: what its reading
  // shows is told naming it, and so is a file that the system refuses.
  EpubCollection::Candidate AddBook(const std::string& path);
  void RunFolderSearch(bool includeSubfolders, const std::string& folder);
  bool SearchFolder(bool includeSubfolders, const std::string& folder);
  void JvSearchFiles1FindFile(const std::string& path);
  void JvSearchFiles1Progress();
  // Centres the progress panel on the window's outer size.
  void CentreProgressPanel();
  // The status labels after a command: "File: " and the number of rows.
  void ShowRowCount();

  // The "Open with another application" submenu, rebuilt from the
  // application list: "Add another app", a separator, one item per entry.
  void BuildOpenWithMenu();
  // Appends one item of the submenu.
  void AppendOpenWithItem(const OpenWithItem& item);

  // The full path of the book in the selected row; nothing without one.
  std::optional<std::string> SelectedBookPath() const;
  // Shows why the selected book is listed beside the status labels; nothing
  // without a selected row or while the status panel's Stop button is shown.
  void ShowSelectedReason();

  // Sorts the list on the clicked column, alternating the direction.
  void ListView1ColumnClick(int column);

  ImageList cxImageList1;
  ListSort listSort_;
  BookListModel* books_;

  QWidget* Panel1;
  HeaderPanel* NxHeaderPanel1;
  GlassButton* rkGlassButton4;
  QTableView* ListView1;
  RadioGroup* RzRadioGroup1;
  QFrame* RzPanel1;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label6;  // the selected book's reason
  QPushButton* btnStop;
  QProgressBar* XiProgressBar1;

  CaptionPanel* AddPnl;
  QLabel* Image2;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* Label5;
  QLabel* lbldb;
  QLabel* lblfile;
  ShadowTextButton* btnleallit;

  QMenu* PopupMenu1;
  QAction* Openfile1;
  QAction* Opendirectory1;
  QAction* Addfolderwithsubfolders1;
  QAction* N1;
  QAction* OpenFileExplorerandselect1;
  QAction* EpubunpackingandopeningintheInstitute1;
  QAction* N2;
  QMenu* Openwithanotherapplication1;
  QAction* Addanotherapp1;

  OpenFileDialog OpenDialog1;
  TJvSelectDirectory JvSelectDirectory1;
  TJvSearchFiles JvSearchFiles1;

  EpubCollection collection_;
  // Set by the status panel's Stop button; the multi-file loop of "Add file"
  // clears it when it starts and leaves after the file it finds it set.
  bool stopFlag_ = false;
  // The repainting of the labels during a folder search.
  RepaintThrottle* searchLabels_ = nullptr;
  // Set while an add command runs, so that a drop waits for no second one.
  bool commandRunning_ = false;
  // What the running add command has to tell, shown in one box after it.
  CommandMessages* commandMessages_ = nullptr;

  Tfrmapp* frmapp_ = nullptr;
  TFrmZip* frmZip_ = nullptr;
};

}  // namespace quill
