#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <cstddef>
#include <utility>
#include <vector>

namespace quill {

// A table of rows of one kind under fixed column captions, for the lists
// whose rows are replaced as a whole or added at the end, and rearranged only
// by an explicit order. Subclasses say what each cell and header shows.
template <typename Row>
class RowTableModel : public QAbstractTableModel {
 public:
  const std::vector<Row>& rows() const { return rows_; }

  // Rearranges the rows: the row at `order[i]` becomes row i. Selections and
  // other persistent indices follow their rows.
  void ApplyOrder(const std::vector<std::size_t>& order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Row> sorted;
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

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
  }

 protected:
  RowTableModel(QStringList headers, QObject* parent)
      : QAbstractTableModel(parent), headers_(std::move(headers)) {}

  const QStringList& headers() const { return headers_; }

  void ReplaceRows(std::vector<Row> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
  }
  void AppendRow(Row row) {
    const int position = static_cast<int>(rows_.size());
    beginInsertRows({}, position, position);
    rows_.push_back(std::move(row));
    endInsertRows();
  }

 private:
  QStringList headers_;
  std::vector<Row> rows_;
};

}  // namespace quill
