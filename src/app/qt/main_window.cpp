#include "app/qt/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>

#include "app/book_file_check.h"
#include "app/book_unpacking.h"
#include "app/check_reason.h"
#include "app/command_messages.h"
#include "app/main_window_texts.h"
#include "app/qt/book_list_model.h"
#include "app/qt/folder_search_guard.h"
#include "app/qt/repaint_throttle.h"
#include "apps/open_with_menu.h"
#include "apps/qt/application_list_dialog.h"
#include "base/path_text.h"
#include "base/user_messages.h"
#include "shell/qt/select_in_explorer.h"
#include "viewer/qt/zip_view_window.h"
#include "widgets/anchor.h"
#include "widgets/application.h"
#include "widgets/caption_panel.h"
#include "widgets/glass_button.h"
#include "widgets/header_panel.h"
#include "widgets/radio_group.h"
#include "widgets/row_table_view.h"
#include "widgets/shadow_text_button.h"
#include "widgets/ui_text.h"

namespace quill {
namespace {

const QSize kClientSize(TForm1::kClientWidth, TForm1::kClientHeight);
// Below this the right-anchored controls would run into the status labels and
// the progress panel would no longer fit.
const QSize kMinimumClientSize(520, 320);

const QColor kHeaderColor(234, 165, 62);
const QColor kHeaderCaptionColor(0, 0, 128);  // navy
// The system colour of an active window's caption, as the classic scheme has it.
const QColor kActiveCaptionColor(153, 180, 209);

constexpr int kResolutionGroupHeight = 37;
constexpr int kStatusPanelHeight = 41;
constexpr int kFileNameColumnWidth = 300;
constexpr int kPathColumnWidth = 500;
constexpr int kLabelHeight = 14;
// The status labels keep their places; the selected book's reason takes the
// room to their right in two lines, which the Stop button and the progress bar
// use while the multi-file add runs.
constexpr int kStatusLabelWidth = 296;
const QRect kReasonLabelGeometry(320, 4, 595, 34);

// How often the status and progress labels are repainted while an add command
// rewrites them for every book: often enough to look live, seldom enough that
// painting costs next to nothing.
constexpr std::chrono::milliseconds kLabelRepaintInterval(50);

// The progress panel of a folder search.
const QSize kProgressPanelSize(401, 91);

// A horizontal gradient from sand to amber.
constexpr char kProgressBarStyle[] =
    "QProgressBar { border: 1px solid #9c7a3c; border-radius: 2px; background: #f7efdf; }"
    "QProgressBar::chunk { background: qlineargradient(x1:0, y1:0, x2:1, y2:0,"
    " stop:0 #e9d5a4, stop:0.55 #f2b94a, stop:1 #ffb000); }";

QFont PixelFont(const QString& family, int pixelSize, bool bold = false) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

QLabel* CreateLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(Text(name));
  label->setGeometry(geometry);
  return label;
}

QAction* CreateItem(QMenu* menu, const char* name, const char* caption, const QIcon& image) {
  QAction* item = menu->addAction(image, Text(caption));
  item->setObjectName(Text(name));
  return item;
}

// A menu caption that shows the text as written: "&" would otherwise mark
// the next letter as the item's access key.
QString MenuCaption(const std::string& text) {
  return QString::fromStdString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QAction* CreateSeparator(QMenu* menu, const char* name) {
  QAction* separator = menu->addSeparator();
  separator->setObjectName(Text(name));
  return separator;
}

// The file name without its folder, as the labels show it.
QString FileNameText(const std::string& path) { return QString::fromStdString(FileNameOf(path)); }

// Suspends the repainting of a widget for the scope, which keeps adding rows
// in bulk cheap; it is resumed on every way out.
class SuspendedRepainting {
 public:
  explicit SuspendedRepainting(QWidget* widget) : widget_(widget) {
    widget_->setUpdatesEnabled(false);
  }
  ~SuspendedRepainting() { widget_->setUpdatesEnabled(true); }
  SuspendedRepainting(const SuspendedRepainting&) = delete;
  SuspendedRepainting& operator=(const SuspendedRepainting&) = delete;

 private:
  QWidget* widget_;
};

// The local files and folders that a drag carries.
std::vector<std::string> DraggedPaths(const QMimeData* data) {
  std::vector<std::string> paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    // Shown and stored paths use the platform's separator.
    if (url.isLocalFile())
      paths.push_back(QDir::toNativeSeparators(url.toLocalFile()).toStdString());
  }
  return paths;
}

}  // namespace

TForm1::TForm1(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      OpenDialog1(dialogs, this),
      JvSelectDirectory1(dialogs, this),
      collection_([this] { return RzRadioGroup1->itemIndex(); },
                  [this](const BookRow& row, const CheckOutcome& outcome) {
                    BookRow listed = row;
                    listed.reason = CheckReasonText(outcome);
                    books_->Append(std::move(listed));
                  }) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(Text(texts::kTitle));
  setWindowIcon(ArtworkIcon(QStringLiteral("header_glyph")));
  setFont(PixelFont(QStringLiteral("Tahoma"), 11));
  resize(kClientSize);
  setMinimumSize(kMinimumClientSize);
  setAcceptDrops(true);

  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  auto* formLayout = new QVBoxLayout(this);
  formLayout->setContentsMargins(0, 0, 0, 0);
  formLayout->addWidget(Panel1);

  CreateMenu();
  CreateHeader();
  CreateList();
  CreateResolutionGroup();
  CreateStatusPanel();
  CreateProgressPanel();

  OpenDialog1.SetFilter(Text(texts::kEpubFilterName), Text(texts::kEpubFilterMask));
  OpenDialog1.SetMultiSelect(true);
  JvSelectDirectory1.SetTitle(Text(texts::kSelectFolderTitle));
  JvSearchFiles1.OnFindFile = [this](TJvSearchFiles&, const std::string& path) {
    JvSearchFiles1FindFile(path);
  };
  JvSearchFiles1.OnProgress = [this](TJvSearchFiles&) { JvSearchFiles1Progress(); };
  // A folder the search cannot read is told with the system's reason; the
  // search goes on with the rest of the tree.
  JvSearchFiles1.OnFolderError = [](TJvSearchFiles&, const std::string& folder,
                                    const std::error_code& error) {
    ShowErrorBox(folder + ": " + (error ? error.message() : "the folder could not be read"));
  };
}

TForm1::~TForm1() = default;

void TForm1::CreateHeader() {
  NxHeaderPanel1 = new HeaderPanel(Panel1);
  NxHeaderPanel1->setObjectName(QStringLiteral("NxHeaderPanel1"));
  NxHeaderPanel1->SetCaption(Text(texts::kHeaderCaption));
  NxHeaderPanel1->SetHeaderColor(kHeaderColor);
  NxHeaderPanel1->SetGlyph(Artwork(QStringLiteral("header_glyph"), QSize(32, 32)));
  NxHeaderPanel1->SetCaptionStyle(PixelFont(QStringLiteral("Tahoma"), 16, true),
                                  kHeaderCaptionColor);
  auto* panelLayout = new QVBoxLayout(Panel1);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  panelLayout->addWidget(NxHeaderPanel1);

  rkGlassButton4 = new GlassButton(NxHeaderPanel1);
  rkGlassButton4->setObjectName(QStringLiteral("rkGlassButton4"));
  rkGlassButton4->setText(Text(texts::kMenuButton));
  rkGlassButton4->setFont(PixelFont(QStringLiteral("Segoe UI"), 12));
  rkGlassButton4->SetDropDownMenu(PopupMenu1);
  Anchor::Attach(rkGlassButton4, QRect(821, 0, 105, 26), Qt::TopEdge | Qt::RightEdge, kClientSize);
}

void TForm1::CreateList() {
  books_ = new BookListModel(cxImageList1.icon(ImageList::kEbook),
                             cxImageList1.icon(ImageList::kSortArrows),
                             {Text(texts::kFileNameColumn), Text(texts::kPathColumn)}, this);
  auto* list = new RowTableView(NxHeaderPanel1);
  // Enter opens the selected book as a double-click does.
  list->SetOpenHandler([this] { ListView1DblClick(); });
  ListView1 = list;
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->setAccessibleName(Text(texts::kBookListName));
  ListView1->setModel(books_);
  ListView1->setToolTip(Text(texts::kListHint));
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setShowGrid(true);
  ListView1->setWordWrap(false);
  ListView1->setIconSize(QSize(ImageList::kSize, ImageList::kSize));
  ListView1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  ListView1->setContextMenuPolicy(Qt::CustomContextMenu);

  QHeaderView* rowHeader = ListView1->verticalHeader();
  rowHeader->hide();
  // Fixed row heights keep a list of many thousands of rows cheap to lay out.
  rowHeader->setSectionResizeMode(QHeaderView::Fixed);
  rowHeader->setDefaultSectionSize(ImageList::kSize + 3);

  QHeaderView* columns = ListView1->horizontalHeader();
  columns->setSectionsClickable(true);
  columns->setHighlightSections(false);
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  columns->setStretchLastSection(false);
  columns->resizeSection(ListSort::kFileNameColumn, kFileNameColumnWidth);
  columns->resizeSection(ListSort::kPathColumn, kPathColumnWidth);

  connect(columns, &QHeaderView::sectionClicked, this, &TForm1::ListView1ColumnClick);
  connect(ListView1, &QAbstractItemView::doubleClicked, this, &TForm1::ListView1DblClick);
  connect(ListView1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(ListView1->viewport()->mapToGlobal(at)); });
  connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TForm1::ShowSelectedReason);
  connect(books_, &QAbstractItemModel::modelReset, this, &TForm1::ShowSelectedReason);

  auto* layout = new QVBoxLayout(NxHeaderPanel1);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ListView1, 1);
}

void TForm1::CreateResolutionGroup() {
  QStringList items;
  for (const char* item : texts::kResolutionItems) items.push_back(Text(item));
  RzRadioGroup1 = new RadioGroup(Text(texts::kResolutionCaption), items, NxHeaderPanel1);
  RzRadioGroup1->setObjectName(QStringLiteral("RzRadioGroup1"));
  RzRadioGroup1->setFixedHeight(kResolutionGroupHeight);
  NxHeaderPanel1->layout()->addWidget(RzRadioGroup1);
}

void TForm1::CreateStatusPanel() {
  RzPanel1 = new QFrame(NxHeaderPanel1);
  RzPanel1->setObjectName(QStringLiteral("RzPanel1"));
  RzPanel1->setFixedHeight(kStatusPanelHeight);
  RzPanel1->setAutoFillBackground(true);
  QPalette colours = RzPanel1->palette();
  colours.setColor(QPalette::Window, kActiveCaptionColor);
  RzPanel1->setPalette(colours);
  NxHeaderPanel1->layout()->addWidget(RzPanel1);

  const QSize designSize(kClientWidth, kStatusPanelHeight);
  Label1 = CreateLabel(RzPanel1, "Label1", Text(texts::kLabel1Initial),
                       QRect(16, 8, kStatusLabelWidth, kLabelHeight));
  Label2 = CreateLabel(RzPanel1, "Label2", Text(texts::kLabel2Initial),
                       QRect(16, 24, kStatusLabelWidth, kLabelHeight));
  Label6 = CreateLabel(RzPanel1, "Label6", {}, {});
  Label6->setWordWrap(true);
  Label6->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Anchor::Attach(Label6, kReasonLabelGeometry, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge,
                 designSize);

  btnStop = new QPushButton(Text(texts::kStop), RzPanel1);
  btnStop->setObjectName(QStringLiteral("btnStop"));
  btnStop->hide();
  Anchor::Attach(btnStop, QRect(631, 11, 75, 25), Qt::TopEdge | Qt::RightEdge, designSize);
  connect(btnStop, &QPushButton::clicked, this, &TForm1::btnStopClick);

  XiProgressBar1 = new QProgressBar(RzPanel1);
  XiProgressBar1->setObjectName(QStringLiteral("XiProgressBar1"));
  XiProgressBar1->setRange(0, 100);
  XiProgressBar1->setValue(0);
  XiProgressBar1->setTextVisible(false);
  XiProgressBar1->setStyleSheet(Text(kProgressBarStyle));
  XiProgressBar1->setAccessibleName(Text(texts::kProgressBarName));
  XiProgressBar1->hide();
  Anchor::Attach(XiProgressBar1, QRect(712, 16, 200, 16), Qt::TopEdge | Qt::RightEdge, designSize);
}

void TForm1::CreateProgressPanel() {
  AddPnl = new CaptionPanel(this);
  AddPnl->setObjectName(QStringLiteral("AddPnl"));
  AddPnl->SetCaption(Text(texts::kProgressPanelCaption));
  AddPnl->resize(kProgressPanelSize);
  AddPnl->hide();

  Image2 = CreateLabel(AddPnl, "Image2", {}, QRect(4, 4, 48, 48));
  Image2->setPixmap(Artwork(QStringLiteral("magnifier"), QSize(48, 48)));

  Label3 = CreateLabel(AddPnl, "Label3", Text(texts::kSearching), QRect(143, 1, 150, kLabelHeight));
  QFont bold = Label3->font();
  bold.setBold(true);
  Label3->setFont(bold);

  Label5 = CreateLabel(AddPnl, "Label5", Text(texts::kProgressCountLabel),
                       QRect(8, 56, 26, kLabelHeight));
  lbldb = CreateLabel(AddPnl, "lbldb", {}, QRect(34, 56, 260, kLabelHeight));
  Label4 = CreateLabel(AddPnl, "Label4", Text(texts::kProgressFileLabel),
                       QRect(8, 72, 24, kLabelHeight));
  lblfile = CreateLabel(AddPnl, "lblfile", {}, QRect(32, 72, 361, kLabelHeight));

  btnleallit = new ShadowTextButton(Text(texts::kStop), AddPnl);
  btnleallit->setObjectName(QStringLiteral("btnleallit"));
  btnleallit->setGeometry(306, 16, 75, 57);
  connect(btnleallit, &QPushButton::clicked, this, &TForm1::btnleallitClick);
}

void TForm1::CreateMenu() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  Openfile1 =
      CreateItem(PopupMenu1, "Openfile1", texts::kAddFile, cxImageList1.icon(ImageList::kAddFile));
  Opendirectory1 = CreateItem(PopupMenu1, "Opendirectory1", texts::kAddFolder,
                              cxImageList1.icon(ImageList::kFolder));
  Addfolderwithsubfolders1 =
      CreateItem(PopupMenu1, "Addfolderwithsubfolders1", texts::kAddFolderWithSubfolders,
                 cxImageList1.icon(ImageList::kFolderBlueArrow));
  N1 = CreateSeparator(PopupMenu1, "N1");
  OpenFileExplorerandselect1 =
      CreateItem(PopupMenu1, "OpenFileExplorerandselect1", texts::kOpenFileExplorerAndSelect,
                 cxImageList1.icon(ImageList::kFolderCurvedArrow));
  EpubunpackingandopeningintheInstitute1 =
      CreateItem(PopupMenu1, "EpubunpackingandopeningintheInstitute1", texts::kUnpackAndOpen,
                 cxImageList1.icon(ImageList::kFolderUpArrow));
  N2 = CreateSeparator(PopupMenu1, "N2");
  Openwithanotherapplication1 = PopupMenu1->addMenu(Text(texts::kOpenWithAnotherApplication));
  Openwithanotherapplication1->setObjectName(QStringLiteral("Openwithanotherapplication1"));
  Openwithanotherapplication1->menuAction()->setObjectName(
      QStringLiteral("Openwithanotherapplication1"));
  // An application item's hint, its full path, shows as its tooltip.
  Openwithanotherapplication1->setToolTipsVisible(true);
  Addanotherapp1 =
      CreateItem(Openwithanotherapplication1, "Addanotherapp1", kAddAnotherAppCaption, {});

  connect(Openfile1, &QAction::triggered, this, &TForm1::Openfile1Click);
  connect(Opendirectory1, &QAction::triggered, this, &TForm1::Opendirectory1Click);
  connect(Addfolderwithsubfolders1, &QAction::triggered, this,
          &TForm1::Addfolderwithsubfolders1Click);
  connect(OpenFileExplorerandselect1, &QAction::triggered, this,
          &TForm1::OpenFileExplorerandselect1Click);
  connect(EpubunpackingandopeningintheInstitute1, &QAction::triggered, this,
          &TForm1::EpubunpackingandopeningintheInstitute1Click);
  connect(Addanotherapp1, &QAction::triggered, this, &TForm1::Addanotherapp1Click);
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TForm1::SetApplicationListDialog(Tfrmapp* frmapp) { frmapp_ = frmapp; }

void TForm1::SetZipView(TFrmZip* frmZip) { frmZip_ = frmZip; }

void TForm1::FormShow() { BuildOpenWithMenu(); }

void TForm1::closeEvent(QCloseEvent* event) {
  stopFlag_ = true;
  JvSearchFiles1.Abort();
  QWidget::closeEvent(event);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!commandRunning_ && !SortBookPaths(DraggedPaths(event->mimeData())).empty()) {
    event->acceptProposedAction();
  }
}

void TForm1::dragMoveEvent(QDragMoveEvent* event) {
  if (commandRunning_) {
    event->ignore();
  } else {
    event->acceptProposedAction();
  }
}

void TForm1::dropEvent(QDropEvent* event) {
  const BookPaths paths = SortBookPaths(DraggedPaths(event->mimeData()));
  if (commandRunning_ || paths.empty()) return;
  event->acceptProposedAction();
  // The drag source waits for its answer until this handler returns.
  QTimer::singleShot(0, this, [this, paths] { AddBookPaths(paths); });
}

void TForm1::AddBookPaths(const BookPaths& paths) {
  if (commandRunning_) return;
  const QScopedValueRollback<bool> running(commandRunning_, true);
  CommandMessages told;
  const QScopedValueRollback<CommandMessages*> telling(commandMessages_, &told);
  for (const std::string& path : paths.ignored) {
    const BookFileCheck check = BookFileCheck::Of(PathFromUtf8(path));
    told.Report(path, check.result == BookFileCheck::Result::kUnreadable
                          ? check.problem
                          : texts::kNeitherBookNorFolder);
  }
  if (paths.empty()) return;
  books_->Clear();
  stopFlag_ = false;
  if (!paths.files.empty()) AddFiles(paths.files);
  // A Stop in the files' loop or in a folder's search ends the whole addition.
  for (const std::string& folder : paths.folders) {
    if (stopFlag_) break;
    if (!SearchFolder(true, folder)) return;
    if (JvSearchFiles1.aborting()) break;
  }
  ShowRowCount();
}

void TForm1::Openfile1Click() {
  if (!OpenDialog1.Execute()) return;
  const QScopedValueRollback<bool> running(commandRunning_, true);
  CommandMessages told;
  const QScopedValueRollback<CommandMessages*> telling(commandMessages_, &told);
  books_->Clear();
  std::vector<std::string> files;
  for (const QString& file : OpenDialog1.Files()) files.push_back(file.toStdString());
  AddFiles(files);
  ShowRowCount();
}

void TForm1::AddFiles(const std::vector<std::string>& files) {
  stopFlag_ = false;
  // One valid book is examined without showing any progress.
  if (files.size() == 1 && EpubCollection::IsCandidate(PathFromUtf8(files.front()))) {
    if (commandMessages_) commandMessages_->SetSubject(files.front());
    collection_.AddIfChanged(files.front());
    if (commandMessages_) commandMessages_->SetSubject({});
  } else {
    AddChosenFiles(files);
  }
}

void TForm1::AddChosenFiles(const std::vector<std::string>& files) {
  const SuspendedRepainting suspended(ListView1);
  RepaintThrottle progress({Label1, Label2, XiProgressBar1}, kLabelRepaintInterval);
  const QString last = QString::number(files.size() - 1);
  XiProgressBar1->setMaximum(static_cast<int>(files.size()) - 1);
  XiProgressBar1->show();
  btnStop->show();
  for (std::size_t i = 0; i < files.size(); ++i) {
    AddBook(files[i]);
    // Both numbers are zero-based indices: the last file's and this one's.
    Label1->setText(Text(texts::kFileLabel) + FileNameText(files[i]));
    Label2->setText(Text(texts::kAllFileLabel) + last + Text(texts::kReadCountLabel) +
                    QString::number(i));
    XiProgressBar1->setValue(static_cast<int>(i));
    progress.Changed();
    QCoreApplication::processEvents();
    if (stopFlag_) break;
  }
  XiProgressBar1->hide();
  btnStop->hide();
  ShowSelectedReason();
}

void TForm1::Opendirectory1Click() {
  if (JvSelectDirectory1.Execute())
    RunFolderSearch(false, JvSelectDirectory1.Directory().toStdString());
}

void TForm1::Addfolderwithsubfolders1Click() {
  if (JvSelectDirectory1.Execute())
    RunFolderSearch(true, JvSelectDirectory1.Directory().toStdString());
}

void TForm1::RunFolderSearch(bool includeSubfolders, const std::string& folder) {
  const QScopedValueRollback<bool> running(commandRunning_, true);
  CommandMessages told;
  const QScopedValueRollback<CommandMessages*> telling(commandMessages_, &told);
  books_->Clear();
  if (SearchFolder(includeSubfolders, folder)) ShowRowCount();
}

bool TForm1::SearchFolder(bool includeSubfolders, const std::string& folder) {
  try {
    const SuspendedRepainting suspended(ListView1);
    Label1->setText(Text(texts::kFileLabel));
    Label2->setText(Text(texts::kCountLabel));
    CentreProgressPanel();
    const FolderSearchGuard busy(*AddPnl, {NxHeaderPanel1, Panel1});
    RepaintThrottle labels({Label1, Label2, lblfile, lbldb}, kLabelRepaintInterval);
    const QScopedValueRollback<RepaintThrottle*> current(searchLabels_, &labels);
    EpubCollection::ConfigureFolderSearch(JvSearchFiles1, includeSubfolders, folder);
    JvSearchFiles1.Search();
  } catch (const std::exception& error) {
    // The window is usable again; the error is the application's to show, and
    // the final labels are not written.
    Application::ShowUnhandledError(error);
    return false;
  }
  return true;
}

void TForm1::CentreProgressPanel() {
  const QSize outer = frameGeometry().size();
  AddPnl->move(outer.width() / 2 - AddPnl->width() / 2, outer.height() / 2 - AddPnl->height() / 2);
}

EpubCollection::Candidate TForm1::AddBook(const std::string& path) {
  if (commandMessages_) commandMessages_->SetSubject(path);
  const EpubCollection::Candidate candidate = collection_.AddCandidate(path);
  if (!commandMessages_) return candidate;
  commandMessages_->SetSubject({});
  // A file that is no book is skipped without a word; one that the system
  // would not let us read is told.
  if (candidate == EpubCollection::Candidate::kSkipped) {
    const BookFileCheck check = BookFileCheck::Of(PathFromUtf8(path));
    if (check.result == BookFileCheck::Result::kUnreadable)
      commandMessages_->Report(path, check.problem);
  }
  return candidate;
}

void TForm1::JvSearchFiles1FindFile(const std::string& path) {
  if (AddBook(path) == EpubCollection::Candidate::kSkipped) return;
  const QString name = FileNameText(path);
  const QString count = QString::number(books_->rowCount());
  lblfile->setText(name);
  lbldb->setText(count);
  Label1->setText(Text(texts::kFileLabel) + name);
  Label2->setText(Text(texts::kCountLabel) + count);
  if (searchLabels_) searchLabels_->Changed();
}

// Where a folder search repaints the window and handles a click on the
// progress panel's Stop button.
void TForm1::JvSearchFiles1Progress() { QCoreApplication::processEvents(); }

void TForm1::ShowRowCount() {
  Label1->setText(Text(texts::kFileLabel));
  Label2->setText(Text(texts::kCountLabel) + QString::number(books_->rowCount()));
}

void TForm1::OpenFileExplorerandselect1Click() {
  const std::optional<std::string> book = SelectedBookPath();
  if (book && !book->empty()) SelectInExplorer(PathFromUtf8(*book));
}

void TForm1::EpubunpackingandopeningintheInstitute1Click() {
  const std::optional<std::string> book = SelectedBookPath();
  if (!book || book->empty()) return;
  BookUnpacking unpacking;
  try {
    unpacking = BookUnpacking::Run(PathFromUtf8(*book));
  } catch (const std::exception& error) {
    // A target folder that cannot be created: the error is the application's
    // to show, as for any error that escapes a handler.
    Application::ShowUnhandledError(error);
    return;
  }
  // What was left out is told in one box, and the folder is shown all the
  // same, with what did arrive. Files of an earlier unpack that the book does
  // not hold are told in that box, or alone in a plain one.
  const std::string told = UnpackProblemsText(unpacking.report);
  if (!unpacking.report.problems.empty()) {
    ShowErrorBox(told);
  } else if (!told.empty()) {
    ShowMessage(told);
  }
  switch (unpacking.status) {
    case BookUnpacking::Status::kUnpacked:
      SelectInExplorer(unpacking.folder);
      return;
    case BookUnpacking::Status::kNoTemporaryFolder:
      ShowErrorBox(texts::kNoTemporaryFolder);
      return;
    case BookUnpacking::Status::kNoFile:
    case BookUnpacking::Status::kPackageUnreadable:
    case BookUnpacking::Status::kFailed:
      return;  // nothing to unpack, or what went wrong has been shown
  }
}

void TForm1::Addanotherapp1Click() {
  if (frmapp_ && frmapp_->exec() == QDialog::Accepted) BuildOpenWithMenu();
}

void TForm1::BuildOpenWithMenu() {
  // The item whose click is being handled may be among the old ones: they
  // leave the menu now and are destroyed once control is back in the event
  // loop, so nothing touches a destroyed item.
  for (QAction* item : Openwithanotherapplication1->actions()) {
    Openwithanotherapplication1->removeAction(item);
    item->deleteLater();
  }
  const ApplicationList applications = frmapp_ ? frmapp_->Applications() : ApplicationList();
  for (const OpenWithItem& item : OpenWithMenuItems(applications)) AppendOpenWithItem(item);
}

void TForm1::AppendOpenWithItem(const OpenWithItem& item) {
  switch (item.kind) {
    case OpenWithItem::Kind::kAddAnotherApp:
      Addanotherapp1 =
          CreateItem(Openwithanotherapplication1, "Addanotherapp1", item.caption.c_str(), {});
      connect(Addanotherapp1, &QAction::triggered, this, &TForm1::Addanotherapp1Click);
      return;
    case OpenWithItem::Kind::kSeparator:
      Openwithanotherapplication1->addSeparator();
      return;
    case OpenWithItem::Kind::kApplication: {
      QAction* application = Openwithanotherapplication1->addAction(MenuCaption(item.caption));
      application->setToolTip(QString::fromStdString(item.hint));
      application->setEnabled(item.enabled);
      connect(application, &QAction::triggered, this,
              [this, application] { OpenWithItemClick(application); });
      return;
    }
  }
}

void TForm1::OpenWithItemClick(QAction* sender) {
  OpenWithApplication(sender->toolTip().toStdString(), SelectedBookPath());
}

std::optional<std::string> TForm1::SelectedBookPath() const {
  const QModelIndexList selected = ListView1->selectionModel()->selectedRows();
  if (selected.isEmpty()) return std::nullopt;
  return books_->rows()[static_cast<std::size_t>(selected.constFirst().row())].path;
}

void TForm1::ShowSelectedReason() {
  const QModelIndexList selected = ListView1->selectionModel()->selectedRows();
  const QString reason =
      selected.isEmpty() || btnStop->isVisible()
          ? QString()
          : QString::fromStdString(
                books_->rows()[static_cast<std::size_t>(selected.constFirst().row())].reason);
  Label6->setText(reason);
  Label6->setToolTip(reason);
}

void TForm1::ListView1DblClick() {
  const std::optional<std::string> book = SelectedBookPath();
  if (book && frmZip_) frmZip_->ShowBook(QString::fromStdString(*book), RzRadioGroup1->itemIndex());
}

void TForm1::ListView1ColumnClick(int column) {
  books_->ApplyOrder(listSort_.ColumnClick(books_->rows(), column));
}

void TForm1::btnStopClick() { stopFlag_ = true; }

void TForm1::btnleallitClick() {
  if (JvSearchFiles1.searching()) JvSearchFiles1.Abort();
}

}  // namespace quill
