#include "viewer/qt/zip_view_mark_delegate.h"

#include <QIcon>
#include <QPainter>

#include "viewer/qt/zip_view_model.h"

namespace quill {
namespace {

constexpr int kSignStripWidth = 20;

}  // namespace

void ZipViewMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  const QVariant sign = index.data(ZipViewModel::kMarkSignRole);
  if (!sign.isValid() || option.rect.width() <= 2 * kSignStripWidth) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  QStyleOptionViewItem text = option;
  text.rect.setRight(option.rect.right() - kSignStripWidth);
  QStyledItemDelegate::paint(painter, text, index);

  // The strip gets the background that the rest of the row has.
  QRect strip = option.rect;
  strip.setLeft(text.rect.right() + 1);
  if (option.state & QStyle::State_Selected) {
    painter->fillRect(strip, option.palette.brush(QPalette::Highlight));
  } else if (const QVariant tint = index.data(Qt::BackgroundRole); tint.isValid()) {
    painter->fillRect(strip, tint.value<QBrush>());
  }
  const QSize size = option.decorationSize;
  const QRect place(strip.center().x() - size.width() / 2, strip.center().y() - size.height() / 2,
                    size.width(), size.height());
  sign.value<QIcon>().paint(painter, place);
}

}  // namespace quill
