#pragma once

#include <QIcon>
#include <QString>
#include <utility>

#include "app/book_row.h"
#include "widgets/row_table_model.h"

namespace quill {

// The rows of the main window's list of found books: the file name with the
// e-book image in the first column, the full path in the second, and on both
// the row's reason as its tooltip. Rows are
// added at the end and replaced as a whole; they are never removed one by one.
class BookListModel : public RowTableModel<BookRow> {
 public:
  // `rowImage` is drawn beside every caption; `headerImage` on both headers.
  BookListModel(QIcon rowImage, QIcon headerImage, QStringList headers, QObject* parent = nullptr);

  void Clear() { ReplaceRows({}); }
  void Append(BookRow row) { AppendRow(std::move(row)); }

  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QIcon rowImage_;
  QIcon headerImage_;
};

}  // namespace quill
