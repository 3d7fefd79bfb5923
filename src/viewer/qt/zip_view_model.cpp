#include "viewer/qt/zip_view_model.h"

#include <QIcon>
#include <utility>

#include "viewer/qt/zip_image_list.h"

namespace quill {

ZipViewModel::ZipViewModel(const ZipImageList& images, QStringList headers, int headerImageColumn,
                           QObject* parent)
    : QAbstractTableModel(parent),
      images_(images),
      headers_(std::move(headers)),
      headerImageColumn_(headerImageColumn) {}

void ZipViewModel::SetItems(std::vector<ZipViewItem> items) {
  beginResetModel();
  items_ = std::move(items);
  endResetModel();
}

void ZipViewModel::ApplyOrder(const std::vector<std::size_t>& order) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<ZipViewItem> sorted;
  sorted.reserve(items_.size());
  std::vector<int> newRowOf(items_.size());
  for (std::size_t position = 0; position < order.size(); ++position) {
    sorted.push_back(std::move(items_[order[position]]));
    newRowOf[order[position]] = static_cast<int>(position);
  }
  items_ = std::move(sorted);

  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& index : before) {
    after.push_back(this->index(newRowOf[static_cast<std::size_t>(index.row())], index.column()));
  }
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ZipViewModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int ZipViewModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant ZipViewModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const ZipViewItem& item = items_[static_cast<std::size_t>(index.row())];
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
  if (orientation != Qt::Horizontal || section < 0 || section >= headers_.size()) return {};
  if (role == Qt::DisplayRole) return headers_[section];
  if (role == Qt::DecorationRole && section == headerImageColumn_)
    return images_.icon(kSortArrowsImage);
  return {};
}

}  // namespace quill
