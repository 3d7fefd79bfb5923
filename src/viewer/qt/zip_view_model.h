#pragma once

#include <QIcon>
#include <QStringList>
#include <utility>
#include <vector>

#include "viewer/zip_view_item.h"
#include "widgets/row_table_model.h"

namespace quill {

class ZipImageList;

// The rows of the zip view's list: the caption with the row's image in column
// 0, sub-item i in column i + 1. The rows are replaced as a whole and only an
// explicit order rearranges them; adding rows never sorts. A marked row is
// tinted (translucently, so the tint suits light and dark palettes alike),
// offers a sign of its own shape for its name cell (kMarkSignRole) and says
// what it is in its tooltip.
class ZipViewModel : public RowTableModel<ZipViewItem> {
 public:
  // The sign of a marked row, on its name cell: an icon.
  static constexpr int kMarkSignRole = Qt::UserRole + 1;

  // `images` must outlive the model. `headers` are the column captions;
  // `headerImageColumn` shows image 0 in its header.
  ZipViewModel(const ZipImageList& images, QStringList headers, int headerImageColumn,
               QObject* parent = nullptr);

  void SetItems(std::vector<ZipViewItem> items) { ReplaceRows(std::move(items)); }

  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const ZipImageList& images_;
  int headerImageColumn_;
  QIcon referenceSign_;
  QIcon differsSign_;
};

}  // namespace quill
