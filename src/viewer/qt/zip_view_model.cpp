#include "viewer/qt/zip_view_model.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <utility>

#include "viewer/qt/zip_image_list.h"
#include "viewer/zip_view_texts.h"

namespace quill {
namespace {

constexpr int kSignSize = 16;

// The tints of marked rows: see-through, so the palette's base shows through.
const QColor kReferenceTint(40, 120, 220, 70);
const QColor kDiffersTint(235, 120, 0, 90);

// A sign drawn at one and two device pixels per pixel, so it stays sharp on
// dense screens: a blue disc with "R" for the reference, an amber triangle
// with "!" for a differing document. The shapes tell them apart without colour.
QIcon Sign(ZipViewMark mark) {
  QIcon icon;
  for (const int ratio : {1, 2}) {
    QPixmap pixmap(kSignSize * ratio, kSignSize * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    QString letter;
    if (mark == ZipViewMark::kReference) {
      painter.setBrush(QColor(40, 110, 210));
      painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
      letter = QStringLiteral("R");
    } else {
      QPainterPath triangle;
      triangle.moveTo(8, 1.5);
      triangle.lineTo(14.5, 14.5);
      triangle.lineTo(1.5, 14.5);
      triangle.closeSubpath();
      painter.setBrush(QColor(245, 160, 20));
      painter.drawPath(triangle);
      letter = QStringLiteral("!");
    }
    QFont font = painter.font();
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(mark == ZipViewMark::kReference ? Qt::white : Qt::black);
    painter.drawText(QRectF(0, mark == ZipViewMark::kReference ? 0 : 2, kSignSize, kSignSize),
                     Qt::AlignCenter, letter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

ZipViewModel::ZipViewModel(const ZipImageList& images, QStringList headers, int headerImageColumn,
                           QObject* parent)
    : RowTableModel(std::move(headers), parent),
      images_(images),
      headerImageColumn_(headerImageColumn),
      referenceSign_(Sign(ZipViewMark::kReference)),
      differsSign_(Sign(ZipViewMark::kDiffers)) {}

QVariant ZipViewModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const ZipViewItem& item = rows()[static_cast<std::size_t>(index.row())];
  const std::size_t column = static_cast<std::size_t>(index.column());
  if (role == Qt::DisplayRole) {
    if (column == 0) return QString::fromStdString(item.caption);
    if (column - 1 < item.subItems.size()) return QString::fromStdString(item.subItems[column - 1]);
    return {};
  }
  if (role == Qt::DecorationRole && column == 0) return images_.icon(item.image);
  if (item.mark == ZipViewMark::kNone) return {};
  const bool reference = item.mark == ZipViewMark::kReference;
  if (role == kMarkSignRole && column == 0) return reference ? referenceSign_ : differsSign_;
  if (role == Qt::BackgroundRole) return reference ? kReferenceTint : kDiffersTint;
  if (role == Qt::ToolTipRole)
    return QString::fromUtf8(reference ? texts::kReferenceDocumentHint : texts::kDiffersHint);
  return {};
}

QVariant ZipViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= headers().size()) return {};
  if (role == Qt::DisplayRole) return headers()[section];
  if (role == Qt::DecorationRole && section == headerImageColumn_)
    return images_.icon(kSortArrowsImage);
  return {};
}

}  // namespace quill
