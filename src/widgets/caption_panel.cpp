#include "widgets/caption_panel.h"

#include <QPainter>

namespace quill {

CaptionPanel::CaptionPanel(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(1);
  setAutoFillBackground(true);
}

void CaptionPanel::SetCaption(const QString& caption) {
  caption_ = caption;
  // The caption is painted, so a screen reader learns it from the name.
  setAccessibleName(caption);
  update();
}

void CaptionPanel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(contentsRect(), Qt::AlignCenter, caption_);
}

}  // namespace quill
