#include "widgets/radio_group.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>
#include <QRadioButton>

namespace quill {
namespace {

constexpr int kCaptionLeft = 8;
constexpr int kCaptionPadding = 3;

}  // namespace

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QWidget(parent), caption_(caption), buttons_(new QButtonGroup(this)) {
  // The caption is painted, so a screen reader learns it from the name.
  setAccessibleName(caption);
  auto* layout = new QHBoxLayout(this);
  // The caption sits on the top border; the buttons fill the rest.
  layout->setContentsMargins(kCaptionLeft + 2, fontMetrics().height() - 1, kCaptionLeft, 1);
  layout->setSpacing(0);
  for (int index = 0; index < items.size(); ++index) {
    auto* button = new QRadioButton(items[index], this);
    buttons_->addButton(button, index);
    layout->addWidget(button, 1);
  }
  connect(buttons_, &QButtonGroup::idToggled, this, &RadioGroup::KeepTabOnSelectedItem);
  SetItemIndex(0);
}

void RadioGroup::KeepTabOnSelectedItem() {
  // Only the selected item is a Tab stop, so Tab never lands on an item whose
  // arrow key would change the choice from somewhere else; a click still
  // focuses any item.
  for (QAbstractButton* button : buttons_->buttons())
    button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

int RadioGroup::itemIndex() const { return buttons_->checkedId(); }

void RadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* button = buttons_->button(index)) button->setChecked(true);
}

QStringList RadioGroup::items() const {
  QStringList texts;
  for (QAbstractButton* button : buttons_->buttons()) texts.push_back(button->text());
  return texts;
}

void RadioGroup::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics = fontMetrics();
  const int frameTop = metrics.height() / 2;
  const QRect frame = rect().adjusted(0, frameTop, -1, -1);

  // An etched frame: a shadow line with a light line beside it.
  const QColor shadow = palette().color(QPalette::Mid);
  const QColor light = palette().color(QPalette::Light);
  painter.setPen(light);
  painter.drawRect(frame.translated(1, 1).adjusted(0, 0, -1, -1));
  painter.setPen(shadow);
  painter.drawRect(frame.adjusted(0, 0, -1, -1));

  const int captionWidth = metrics.horizontalAdvance(caption_) + 2 * kCaptionPadding;
  const QRect captionRect(kCaptionLeft, 0, captionWidth, metrics.height());
  painter.fillRect(captionRect, palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(captionRect, Qt::AlignCenter, caption_);
}

}  // namespace quill
