#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <cstddef>
#include <vector>

#include "viewer/zip_view_item.h"

namespace quill {

class ZipImageList;

// The rows of the zip view's list: the caption with the row's image in column
// 0, sub-item i in column i + 1. The rows are replaced as a whole and only an
// explicit order rearranges them; adding rows never sorts.
class ZipViewModel : public QAbstractTableModel {
 public:
  // `images` must outlive the model. `headers` are the column captions;
  // `headerImageColumn` shows image 0 in its header.
  ZipViewModel(const ZipImageList& images, QStringList headers, int headerImageColumn,
               QObject* parent = nullptr);

  const std::vector<ZipViewItem>& items() const { return items_; }
  void SetItems(std::vector<ZipViewItem> items);
  // Rearranges the rows: the row at `order[i]` becomes row i. Selections and
  // other persistent indices follow their rows.
  void ApplyOrder(const std::vector<std::size_t>& order);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const ZipImageList& images_;
  QStringList headers_;
  int headerImageColumn_;
  std::vector<ZipViewItem> items_;
};

}  // namespace quill
