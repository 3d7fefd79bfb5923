#include "widgets/header_panel.h"

#include <QPainter>

namespace quill {
namespace {

constexpr int kGlyphLeft = 4;
constexpr int kCaptionGap = 6;

}  // namespace

HeaderPanel::HeaderPanel(QWidget* parent) : QWidget(parent) {
  setContentsMargins(0, kBarHeight + kGapBelowBar, 0, 0);
}

void HeaderPanel::SetCaption(const QString& caption) {
  caption_ = caption;
  // The caption is painted, so a screen reader learns it from the name.
  setAccessibleName(caption);
  update();
}

void HeaderPanel::SetHeaderColor(const QColor& color) {
  headerColor_ = color;
  update();
}

void HeaderPanel::SetGlyph(const QPixmap& glyph) {
  glyph_ = glyph;
  update();
}

void HeaderPanel::SetCaptionStyle(const QFont& font, const QColor& color) {
  captionFont_ = font;
  captionColor_ = color;
  update();
}

void HeaderPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect bar(0, 0, width(), kBarHeight);
  painter.fillRect(bar, headerColor_);
  // A lighter top line and a darker bottom line give the bar its edge.
  painter.setPen(headerColor_.lighter(118));
  painter.drawLine(bar.topLeft(), bar.topRight());
  painter.setPen(headerColor_.darker(135));
  painter.drawLine(bar.bottomLeft(), bar.bottomRight());

  const QSize glyphSize = glyph_.deviceIndependentSize().toSize();
  painter.drawPixmap(kGlyphLeft, (kBarHeight - glyphSize.height()) / 2, glyph_);

  const int captionLeft = kGlyphLeft + glyphSize.width() + kCaptionGap;
  painter.setFont(captionFont_);
  painter.setPen(captionColor_);
  painter.drawText(QRect(captionLeft, 0, width() - captionLeft, kBarHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, caption_);
}

}  // namespace quill
