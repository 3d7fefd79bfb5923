#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>
#include <cstddef>
#include <vector>

#include "app/book_row.h"

namespace quill {

// The rows of the main window's list of found books: the file name with the
// e-book image in the first column, the full path in the second. Rows are
// added at the end and replaced as a whole; they are never removed one by one.
class BookListModel : public QAbstractTableModel {
 public:
  // `rowImage` is drawn beside every caption; `headerImage` on both headers.
  BookListModel(QIcon rowImage, QIcon headerImage, QStringList headers, QObject* parent = nullptr);

  const std::vector<BookRow>& rows() const { return rows_; }
  void Clear();
  void Append(BookRow row);
  // Rearranges the rows: the row at `order[i]` becomes row i. Selections and
  // other persistent indices follow their rows.
  void ApplyOrder(const std::vector<std::size_t>& order);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<BookRow> rows_;
  QIcon rowImage_;
  QIcon headerImage_;
  QStringList headers_;
};

}  // namespace quill
