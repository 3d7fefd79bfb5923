#include "viewer/qt/zip_view_window.h"

#include <QApplication>
#include <QHeaderView>
#include <QLocale>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <filesystem>
#include <string>
#include <vector>

#include "viewer/qt/qt_time_text_locale.h"
#include "viewer/qt/zip_view_mark_delegate.h"
#include "viewer/qt/zip_view_model.h"
#include "viewer/zip_view_item.h"
#include "viewer/zip_view_listing.h"
#include "viewer/zip_view_marks.h"
#include "viewer/zip_view_texts.h"
#include "widgets/dialogs.h"
#include "widgets/ui_text.h"

namespace quill {
namespace {

constexpr int kToolBarHeight = 29;
constexpr int kStatusBarHeight = 19;
constexpr int kColumnWidths[] = {450, 140, 100, 110, 80, 100, 100};

std::filesystem::path FilePath(const QString& path) {
  return std::filesystem::path(path.toStdU16String());
}

QStringList ColumnCaptions() {
  QStringList captions;
  for (const char* caption : texts::kZipViewColumns) captions.push_back(Text(caption));
  return captions;
}

// The rows of the listing with their texts in the user's locale and their marks.
std::vector<ZipViewItem> Items(const ZipViewListing& listing, const ZipViewMarks& marks,
                               const TimeTextLocale& locale) {
  const std::string decimalSeparator = QLocale().decimalPoint().toStdString();
  std::vector<ZipViewItem> items;
  items.reserve(listing.rows.size());
  for (std::size_t row = 0; row < listing.rows.size(); ++row) {
    items.push_back(MakeZipViewItem(listing.rows[row], listing.comment, locale, decimalSeparator));
    items.back().mark = marks.marks[row];
  }
  return items;
}

}  // namespace

TFrmZip::TFrmZip(Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
  setObjectName(QStringLiteral("FrmZip"));
  setWindowTitle(Text(texts::kZipViewCaption));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(11);
  setFont(font);
  resize(kClientWidth, kClientHeight);
  CreateControls();
  FormCreate();
}

TFrmZip::~TFrmZip() = default;

void TFrmZip::CreateControls() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QStringLiteral("ToolBar1"));
  toolBar_->setFixedHeight(kToolBarHeight);
  toolBar_->setMovable(false);
  toolBar_->setAccessibleName(Text(texts::kZipViewToolBarName));

  items_ = new ZipViewModel(zipImageList, ColumnCaptions(), ZipViewSort::kTimeColumn, this);
  ListView1 = new QTreeView(this);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->setAccessibleName(Text(texts::kZipViewListName));
  ListView1->setModel(items_);
  ListView1->setItemDelegateForColumn(0, new ZipViewMarkDelegate(ListView1));
  ListView1->setRootIsDecorated(false);
  ListView1->setItemsExpandable(false);
  ListView1->setUniformRowHeights(true);  // keeps thousands of rows cheap to lay out
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setIconSize(QSize(ZipImageList::kSize, ZipImageList::kSize));
  ListView1->setTextElideMode(Qt::ElideRight);
  ListView1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

  QHeaderView* columns = ListView1->header();
  columns->setStretchLastSection(false);
  columns->setSectionsMovable(false);
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int column = 0; column < static_cast<int>(std::size(kColumnWidths)); ++column) {
    columns->resizeSection(column, kColumnWidths[column]);
  }

  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("StatusBar1"));
  statusBar_->setFixedHeight(kStatusBarHeight);
  // The bar paints its message itself; a screen reader reads it as the name.
  statusBar_->setAccessibleName(Text(texts::kZipViewStatusBarName));
  connect(statusBar_, &QStatusBar::messageChanged, statusBar_, [this](const QString& message) {
    statusBar_->setAccessibleName(message.isEmpty() ? Text(texts::kZipViewStatusBarName) : message);
  });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar_);
  layout->addWidget(ListView1, 1);
  layout->addWidget(statusBar_);
}

void TFrmZip::FormCreate() {
  ListView1->setSortingEnabled(false);
  QHeaderView* columns = ListView1->header();
  columns->setSectionsClickable(true);
  columns->setSortIndicatorShown(false);
  connect(columns, &QHeaderView::sectionClicked, this, &TFrmZip::ListView1ColumnClick);
}

void TFrmZip::ShowBook(const QString& path, int timeResolution) {
  Fill(path, timeResolution);
  // The window opens in the middle of the desktop; later openings keep the
  // place where the user left it.
  if (!placed_) {
    if (const QScreen* screen = QApplication::primaryScreen()) {
      move(screen->availableGeometry().center() - rect().center());
    }
    placed_ = true;
  }
  exec();
}

void TFrmZip::Fill(const QString& path, int timeResolution) {
  const std::filesystem::path book = FilePath(path);
  statusBar_->clearMessage();
  if (CanListBook(book)) {
    const ZipViewListing listing = ListContentDocuments(book);
    const std::optional<std::vector<std::string>> spine =
        listing.failure ? std::nullopt : ReadSpinePaths(book);
    const ZipViewMarks marks = MarkSpineDocuments(listing, spine, timeResolution);
    const QtTimeTextLocale locale;
    items_->SetItems(Items(listing, marks, locale));
    statusBar_->showMessage(QString::fromStdString(ZipViewMarksText(marks, listing, locale)));
    if (listing.failure) {
      dialogs_.Information(
          QApplication::activeWindow(),
          QString::fromStdString(ZipViewFailureText(*listing.failure, path.toStdString())));
    }
  } else {
    // Rows of the previous book under this book's caption would mislead.
    items_->SetItems({});
  }
  setWindowTitle(Text(texts::kZipViewCaptionPrefix) + path);
}

void TFrmZip::ListView1ColumnClick(int column) {
  items_->ApplyOrder(sort_.ColumnClick(items_->rows(), column, QtTimeTextLocale()));
}

}  // namespace quill
