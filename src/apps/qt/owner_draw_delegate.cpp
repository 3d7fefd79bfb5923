#include "apps/qt/owner_draw_delegate.h"

#include <QPainter>

namespace quill {

OwnerDrawDelegate::OwnerDrawDelegate(int rowHeight, DrawItem draw, QObject* parent)
    : QStyledItemDelegate(parent), rowHeight_(rowHeight), draw_(std::move(draw)) {}

void OwnerDrawDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  const bool selected = option.state.testFlag(QStyle::State_Selected);
  const QPalette::ColorGroup group =
      option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
  painter->save();
  painter->setFont(option.font);
  painter->setBrush(option.palette.brush(group, selected ? QPalette::Highlight : QPalette::Base));
  painter->setPen(
      option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  draw_(*painter, index.row(), option.rect, option.state);
  painter->restore();
  if (option.state.testFlag(QStyle::State_HasFocus)) {
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(option);
    focus.backgroundColor =
        option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : nullptr;
    if (style) style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
  }
}

QSize OwnerDrawDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
  return {option.rect.width(), rowHeight_};
}

}  // namespace quill
