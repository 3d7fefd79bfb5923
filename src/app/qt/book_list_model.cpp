#include "app/qt/book_list_model.h"

#include <utility>

namespace quill {

BookListModel::BookListModel(QIcon rowImage, QIcon headerImage, QStringList headers,
                             QObject* parent)
    : RowTableModel(std::move(headers), parent),
      rowImage_(std::move(rowImage)),
      headerImage_(std::move(headerImage)) {}

QVariant BookListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const BookRow& row = rows()[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole) {
    return QString::fromStdString(index.column() == 0 ? row.fileName : row.path);
  }
  if (role == Qt::DecorationRole && index.column() == 0) return rowImage_;
  if (role == Qt::ToolTipRole && !row.reason.empty()) return QString::fromStdString(row.reason);
  return {};
}

QVariant BookListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= headers().size()) return {};
  if (role == Qt::DisplayRole) return headers()[section];
  if (role == Qt::DecorationRole) return headerImage_;
  return {};
}

}  // namespace quill
