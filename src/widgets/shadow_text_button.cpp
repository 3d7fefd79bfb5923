#include "widgets/shadow_text_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace quill {

ShadowTextButton::ShadowTextButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent) {}

void ShadowTextButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();  // the style draws the bevel; the caption is drawn below
  painter.drawControl(QStyle::CE_PushButton, option);

  const QRect textRect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  const int shift = isDown() ? 1 : 0;
  painter.setPen(QColor(0, 0, 0, 70));
  painter.drawText(textRect.translated(shift + 1, shift + 1), Qt::AlignCenter, text());
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(textRect.translated(shift, shift), Qt::AlignCenter, text());
}

}  // namespace quill
