#pragma once

#include <QStyledItemDelegate>

namespace quill {

// Draws a marked row's name cell with the mark's sign at its right end, in a
// strip of its own, so the sign never covers the name and the other columns
// keep their texts whole. The sign comes from the model's sign role.
class ZipViewMarkDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace quill
