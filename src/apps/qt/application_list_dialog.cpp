#include "apps/qt/application_list_dialog.h"

#include <QCollator>
#include <QDir>
#include <QDrag>
#include <QDropEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

#include "apps/application_launch.h"
#include "apps/application_list_texts.h"
#include "apps/qt/application_icon.h"
#include "apps/qt/owner_draw_delegate.h"
#include "base/file_system.h"
#include "base/path_text.h"
#include "shell/application_files.h"
#include "shell/user_registry.h"
#include "widgets/anchor.h"
#include "widgets/dialogs.h"
#include "widgets/image_list.h"
#include "widgets/ui_text.h"

namespace quill {
namespace {

const QSize kClientSize(Tfrmapp::kClientWidth, Tfrmapp::kClientHeight);
constexpr int kRowHeight = 32;
constexpr int kTextIndent = 37;
constexpr int kDragThreshold = 5;
constexpr int kButtonHeight = 25;
constexpr int kCommandPanelHeight = 41;
constexpr int kBottomPanelHeight = 45;
const QColor kMissingFileColor(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kFlatBorderColor(160, 160, 160);
// The list's own drags carry this type only, so they are never taken for files.
constexpr char kRowMimeType[] = "application/x-quillmere-application-row";

std::string ToStd(const QString& text) { return text.toStdString(); }

// "Exe fájlok" with "*.exe;*.lnk" as a file dialog shows it:
// "Exe fájlok (*.exe *.lnk)". "*.*" means every file, also one without a dot.
QString FileType(const QString& description, const QString& masks) {
  QStringList patterns = masks.split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (QString& pattern : patterns) {
    if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
  }
  return description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

QPushButton* CreateButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(Text(caption), parent);
  button->setObjectName(Text(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

Tfrmapp::Tfrmapp(Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
  setObjectName(QStringLiteral("frmapp"));
  setWindowTitle(Text(texts::kAppDialogCaption));
  // A sizable window whose title bar has the close button only.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QFont font(QStringLiteral("Tahoma"));
  font.setPointSize(8);
  setFont(font);
  resize(kClientSize);
  setMinimumSize(kClientSize);
  CreateControls();
  FormCreate();
}

Tfrmapp::~Tfrmapp() { FormDestroy(); }

void Tfrmapp::CreateControls() {
  Label1 = new QLabel(Text(texts::kApplicationsLabel), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Anchor::Attach(Label1, QRect(8, 0, 300, 19), Qt::TopEdge | Qt::LeftEdge, kClientSize);

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  // The label above the list is its caption, also for a screen reader.
  Label1->setBuddy(ListBox1);
  ListBox1->setAccessibleName(Label1->text());
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox1->setUniformItemSizes(true);
  ListBox1->setDragDropMode(QAbstractItemView::NoDragDrop);
  ListBox1->setItemDelegate(new OwnerDrawDelegate(
      kRowHeight,
      [this](QPainter& canvas, int index, const QRect& rect, QStyle::State state) {
        ListBox1DrawItem(canvas, index, rect, state);
      },
      ListBox1));
  // Files from the file manager can be dropped from the moment the dialog exists.
  ListBox1->viewport()->setAcceptDrops(true);
  ListBox1->viewport()->installEventFilter(this);
  Anchor::Attach(ListBox1, QRect(8, 19, 559, 190),
                 Qt::TopEdge | Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge, kClientSize);

  CreateCommandPanel();
  CreateBottomPanel();
}

void Tfrmapp::CreateCommandPanel() {
  commandPanel_ = new QFrame(this);
  commandPanel_->setObjectName(QStringLiteral("CommandPanel"));
  // A flat border: one plain line in the shade of a flat frame.
  commandPanel_->setFrameStyle(QFrame::Box | QFrame::Plain);
  QPalette framePalette = commandPanel_->palette();
  framePalette.setColor(QPalette::WindowText, kFlatBorderColor);
  commandPanel_->setPalette(framePalette);
  const int top = kClientHeight - kBottomPanelHeight - kCommandPanelHeight;
  Anchor::Attach(commandPanel_, QRect(0, top, kClientWidth, kCommandPanelHeight),
                 Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge, kClientSize);
  const QSize panelSize(kClientWidth, kCommandPanelHeight);
  const int buttonTop = (kCommandPanelHeight - kButtonHeight) / 2;
  const Qt::Edges topLeft = Qt::TopEdge | Qt::LeftEdge;

  RzButton5 = CreateButton(commandPanel_, "RzButton5", texts::kDeleteSelected);
  Anchor::Attach(RzButton5, QRect(8, buttonTop, 121, kButtonHeight), topLeft, panelSize);
  RzButton3 = CreateButton(commandPanel_, "RzButton3", texts::kDeleteAll);
  Anchor::Attach(RzButton3, QRect(135, buttonTop, 90, kButtonHeight), topLeft, panelSize);
  Button1 = CreateButton(commandPanel_, "Button1", texts::kAppAdd);
  Button1->setIcon(ImageList().icon(ImageList::kFolder));
  Anchor::Attach(Button1, QRect(258, buttonTop, 121, kButtonHeight), topLeft, panelSize);
  RzButton6 = CreateButton(commandPanel_, "RzButton6", texts::kDeleteMissing);
  Anchor::Attach(RzButton6, QRect(449, buttonTop, 121, kButtonHeight), Qt::TopEdge | Qt::RightEdge,
                 panelSize);

  connect(RzButton5, &QPushButton::clicked, this, &Tfrmapp::RzButton5Click);
  connect(RzButton3, &QPushButton::clicked, this, &Tfrmapp::RzButton3Click);
  connect(Button1, &QPushButton::clicked, this, &Tfrmapp::Button1Click);
  connect(RzButton6, &QPushButton::clicked, this, &Tfrmapp::RzButton6Click);
}

void Tfrmapp::CreateBottomPanel() {
  bottomPanel_ = new QWidget(this);
  bottomPanel_->setObjectName(QStringLiteral("BottomPanel"));
  Anchor::Attach(bottomPanel_,
                 QRect(0, kClientHeight - kBottomPanelHeight, kClientWidth, kBottomPanelHeight),
                 Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge, kClientSize);
  const QSize panelSize(kClientWidth, kBottomPanelHeight);

  dropHint_ = new QLabel(Text(texts::kDropHint), bottomPanel_);
  dropHint_->setObjectName(QStringLiteral("DropHint"));
  QPalette palette = dropHint_->palette();
  palette.setColor(QPalette::WindowText, kSilver);
  dropHint_->setPalette(palette);
  Anchor::Attach(dropHint_, QRect(16, 24, 340, 16), Qt::TopEdge | Qt::LeftEdge, panelSize);

  okButton_ = CreateButton(bottomPanel_, "OkButton", texts::kOk);
  okButton_->setDefault(true);
  Anchor::Attach(okButton_, QRect(382, 16, 75, kButtonHeight), Qt::TopEdge | Qt::RightEdge,
                 panelSize);
  cancelButton_ = CreateButton(bottomPanel_, "CancelButton", texts::kCancel);
  Anchor::Attach(cancelButton_, QRect(500, 16, 75, kButtonHeight), Qt::TopEdge | Qt::RightEdge,
                 panelSize);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void Tfrmapp::FormCreate() { SetApplications(LoadApplicationList(*OpenUserRegistry())); }

void Tfrmapp::FormDestroy() { SaveApplicationList(*OpenUserRegistry(), Applications()); }

ApplicationList Tfrmapp::Applications() const {
  ApplicationList list;
  list.reserve(static_cast<std::size_t>(ListBox1->count()));
  for (int row = 0; row < ListBox1->count(); ++row)
    list.push_back(ToStd(ListBox1->item(row)->text()));
  return list;
}

void Tfrmapp::SetApplications(const ApplicationList& list) {
  ListBox1->clear();
  for (const std::string& entry : list) ListBox1->addItem(QString::fromStdString(entry));
}

void Tfrmapp::AddEntry(const std::string& entry) {
  ListBox1->addItem(QString::fromStdString(entry));
  SortListBox();
}

void Tfrmapp::SortListBox() {
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  ApplicationList list = Applications();
  SortUniqueItems(list, [&collator](std::string_view a, std::string_view b) {
    return collator.compare(QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size())),
                            QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())));
  });
  SetApplications(list);
}

void Tfrmapp::SelectEntry(const QString& text) {
  const QList<QListWidgetItem*> found = ListBox1->findItems(text, Qt::MatchExactly);
  if (!found.isEmpty()) ListBox1->setCurrentItem(found.constFirst());
}

void Tfrmapp::Button1Click() {
  const QStringList fileTypes = {
      FileType(Text(texts::kAppFileType), QString::fromStdString(ApplicationFileMask())),
      FileType(Text(texts::kAllFilesType), Text(texts::kAllFilesMask))};
  const QString file = dialogs_.OpenFile(this, Text(texts::kAppFileDialogTitle), fileTypes);
  if (file.isEmpty()) return;
  if (const auto entry = EntryForChosenFile(ToStd(QDir::toNativeSeparators(file))))
    AddEntry(*entry);
}

void Tfrmapp::JvDragDrop1Drop(QPoint, const QStringList& files) {
  for (const QString& file : files) {
    if (const auto entry = EntryForDroppedFile(ToStd(file))) AddEntry(*entry);
  }
}

QIcon Tfrmapp::IconOf(const QString& path) {
  // Only icons found are kept: a file that appears later gets its icon then.
  auto cached = icons_.constFind(path);
  if (cached != icons_.constEnd()) return *cached;
  const QIcon icon = ApplicationIcon(path);
  if (!icon.isNull()) icons_.insert(path, icon);
  return icon;
}

void Tfrmapp::ListBox1DrawItem(QPainter& canvas, int index, const QRect& rect, QStyle::State) {
  canvas.fillRect(rect, canvas.brush());
  const QString text = ListBox1->item(index)->text();
  const bool exists = FileExists(PathFromUtf8(ToStd(text)));
  if (exists) {
    const int iconSize = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    const QIcon icon = IconOf(text);
    if (!icon.isNull()) canvas.drawPixmap(rect.topLeft(), icon.pixmap(iconSize, iconSize));
  }
  const int textHeight = canvas.fontMetrics().height();
  const QRect textRect(rect.left() + kTextIndent, rect.top() + rect.height() / 2 - textHeight / 2,
                       rect.width() - kTextIndent, textHeight);
  if (!exists) canvas.setPen(kMissingFileColor);
  canvas.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void Tfrmapp::ListBox1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
  mouseDownPoint_ = QPoint(x, y);
}

bool Tfrmapp::ListBox1DragOver(const QObject* source, int, int) const { return source == ListBox1; }

void Tfrmapp::ListBox1DragDrop(const QObject* source, int x, int y) {
  if (source != ListBox1) return;
  const int from = ListBox1->indexAt(mouseDownPoint_).row();
  if (from < 0) return;  // the drag began where there is no entry
  const QString moved = ListBox1->item(from)->text();
  ApplicationList list = Applications();
  MoveEntry(list, from, ListBox1->indexAt(QPoint(x, y)).row());
  SetApplications(list);
  SelectEntry(moved);
}

void Tfrmapp::RzButton5Click() {
  const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
  if (!selected.isEmpty()) delete ListBox1->takeItem(ListBox1->row(selected.constFirst()));
}

void Tfrmapp::RzButton3Click() { ListBox1->clear(); }

void Tfrmapp::RzButton6Click() {
  const QListWidgetItem* current = ListBox1->currentItem();
  const QString kept = current ? current->text() : QString();
  ApplicationList list = Applications();
  DeleteMissingEntries(list);
  SetApplications(list);
  if (!kept.isEmpty()) SelectEntry(kept);
}

void Tfrmapp::StartRowDrag() {
  auto* drag = new QDrag(ListBox1);
  auto* data = new QMimeData;
  data->setData(QString::fromLatin1(kRowMimeType), QByteArray());
  drag->setMimeData(data);
  drag->exec(Qt::MoveAction);
}

bool Tfrmapp::eventFilter(QObject* watched, QEvent* event) {
  if (watched != ListBox1->viewport()) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint point = mouse->position().toPoint();
      ListBox1MouseDown(mouse->button(), mouse->modifiers(), point.x(), point.y());
      return false;  // the list selects as usual
    }
    case QEvent::MouseMove: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (!mouse->buttons().testFlag(Qt::LeftButton) ||
          (mouse->position().toPoint() - mouseDownPoint_).manhattanLength() <= kDragThreshold) {
        return false;
      }
      StartRowDrag();
      return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      const QPoint point = drag->position().toPoint();
      if (drag->source() == ListBox1) {
        drag->setAccepted(ListBox1DragOver(drag->source(), point.x(), point.y()));
      } else if (drag->mimeData()->hasUrls()) {
        drag->acceptProposedAction();
      } else {
        drag->ignore();
      }
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QPoint point = drop->position().toPoint();
      if (drop->source() == ListBox1) {
        ListBox1DragDrop(drop->source(), point.x(), point.y());
      } else {
        QStringList files;
        for (const QUrl& url : drop->mimeData()->urls()) {
          if (url.isLocalFile()) files.push_back(QDir::toNativeSeparators(url.toLocalFile()));
        }
        JvDragDrop1Drop(point, files);
      }
      drop->acceptProposedAction();
      return true;
    }
    default:
      return false;
  }
}

}  // namespace quill
