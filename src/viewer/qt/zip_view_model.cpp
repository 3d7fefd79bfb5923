#include "viewer/qt/zip_view_model.h"

#include <QIcon>
#include <utility>

#include "viewer/qt/zip_image_list.h"

namespace quill {

ZipViewModel::ZipViewModel(const ZipImageList& images, QStringList headers, int headerImageColumn,
                           QObject* parent)
    : RowTableModel(std::move(headers), parent),
      images_(images),
      headerImageColumn_(headerImageColumn) {}

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
