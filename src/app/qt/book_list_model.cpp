#include "app/qt/book_list_model.h"

#include <utility>

namespace quill {

BookListModel::BookListModel(QIcon rowImage, QIcon headerImage, QStringList headers,
                             QObject* parent)
    : QAbstractTableModel(parent),
      rowImage_(std::move(rowImage)),
      headerImage_(std::move(headerImage)),
      headers_(std::move(headers)) {}

void BookListModel::Clear() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

void BookListModel::Append(BookRow row) {
  const int position = static_cast<int>(rows_.size());
  beginInsertRows({}, position, position);
  rows_.push_back(std::move(row));
  endInsertRows();
}

void BookListModel::ApplyOrder(const std::vector<std::size_t>& order) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<BookRow> sorted;
  sorted.reserve(rows_.size());
  std::vector<int> newRowOf(rows_.size());
  for (std::size_t position = 0; position < order.size(); ++position) {
    sorted.push_back(std::move(rows_[order[position]]));
    newRowOf[order[position]] = static_cast<int>(position);
  }
  rows_ = std::move(sorted);

  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& index : before) {
    after.push_back(this->index(newRowOf[static_cast<std::size_t>(index.row())], index.column()));
  }
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int BookListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int BookListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant BookListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const BookRow& row = rows_[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole) {
    return QString::fromStdString(index.column() == 0 ? row.fileName : row.path);
  }
  if (role == Qt::DecorationRole && index.column() == 0) return rowImage_;
  return {};
}

QVariant BookListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= headers_.size()) return {};
  if (role == Qt::DisplayRole) return headers_[section];
  if (role == Qt::DecorationRole) return headerImage_;
  return {};
}

}  // namespace quill
