#pragma once

#include <functional>

#include <QStyle>
#include <QStyledItemDelegate>

namespace quill {

// Rows of a fixed height drawn by their window, as owner-drawn list boxes
// are: the painter arrives prepared with the view's font, the row's
// background as its brush and its text colour as its pen (the highlight
// colours for a selected row), and the focus rectangle is drawn around the
// focused row afterwards.
class OwnerDrawDelegate : public QStyledItemDelegate {
 public:
  // Draws row `index` within `rect`.
  using DrawItem =
      std::function<void(QPainter& canvas, int index, const QRect& rect, QStyle::State state)>;

  OwnerDrawDelegate(int rowHeight, DrawItem draw, QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  int rowHeight_;
  DrawItem draw_;
};

}  // namespace quill
