#include "widgets/glass_button.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>

namespace quill {
namespace {

constexpr int kTextPadding = 8;
constexpr int kArrowWidth = 7;
constexpr qreal kRadius = 4.0;
// The focus frame keeps clear of the face's frame and inner line.
constexpr int kFocusInset = 3;

void DrawFace(QPainter& painter, const QRectF& rect, bool hovered, bool pressed, bool enabled) {
  QPainterPath outline;
  outline.addRoundedRect(rect, kRadius, kRadius);

  // The face is white; its lower half is a shade darker, so the upper half
  // reads as the sheen of glass.
  QLinearGradient face(rect.topLeft(), rect.bottomLeft());
  const QColor top = pressed ? QColor(226, 226, 226) : QColor(255, 255, 255);
  const QColor middle = pressed ? QColor(212, 212, 212) : QColor(241, 241, 241);
  const QColor lower = pressed   ? QColor(200, 200, 200)
                       : hovered ? QColor(216, 228, 244)
                                 : QColor(222, 222, 222);
  const QColor bottom = pressed ? QColor(222, 222, 222) : QColor(252, 252, 252);
  face.setColorAt(0.0, top);
  face.setColorAt(0.49, middle);
  face.setColorAt(0.5, lower);
  face.setColorAt(1.0, bottom);
  painter.fillPath(outline, face);

  painter.setPen(QPen(enabled ? QColor(48, 48, 48) : QColor(150, 150, 150), 1.0));
  painter.drawPath(outline);
  // An inner white line lifts the face from the frame.
  painter.setPen(QPen(QColor(255, 255, 255, 200), 1.0));
  painter.drawRoundedRect(rect.adjusted(1, 1, -1, -1), kRadius - 1, kRadius - 1);
}

}  // namespace

GlassButton::GlassButton(QWidget* parent) : QAbstractButton(parent) {
  setAttribute(Qt::WA_Hover);
  connect(this, &QAbstractButton::clicked, this, &GlassButton::DropMenu);
}

void GlassButton::SetDropDownMenu(QMenu* menu) {
  if (menu_) disconnect(menu_, nullptr, this, nullptr);
  menu_ = menu;
  // The face shows pressed while the menu is open.
  if (menu_) connect(menu_, &QMenu::aboutToHide, this, [this] { update(); });
  update();
}

QSize GlassButton::sizeHint() const {
  const QFontMetrics metrics(font());
  const int arrow = menu_ ? kArrowWidth + kTextPadding : 0;
  return {metrics.horizontalAdvance(text()) + 2 * kTextPadding + arrow, metrics.height() + 10};
}

void GlassButton::DropMenu() {
  if (!menu_) return;
  const QPoint bottomRight = mapToGlobal(QPoint(width(), height()));
  menu_->popup(QPoint(bottomRight.x() - menu_->sizeHint().width(), bottomRight.y()));
}

void GlassButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const bool pressed = isDown() || (menu_ && menu_->isVisible());
  DrawFace(painter, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), hovered_, pressed, isEnabled());

  const QColor ink = isEnabled() ? QColor(Qt::black) : QColor(140, 140, 140);
  QRect textRect = rect().adjusted(kTextPadding, 0, -kTextPadding, 0);
  if (menu_) {
    const int arrowLeft = width() - kTextPadding - kArrowWidth;
    const qreal middle = height() / 2.0;
    QPainterPath arrow;
    arrow.moveTo(arrowLeft, middle - 2);
    arrow.lineTo(arrowLeft + kArrowWidth, middle - 2);
    arrow.lineTo(arrowLeft + kArrowWidth / 2.0, middle + 2);
    arrow.closeSubpath();
    painter.fillPath(arrow, ink);
    textRect.setRight(arrowLeft - kTextPadding);
  }
  painter.setPen(ink);
  painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text());

  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

void GlassButton::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    click();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

void GlassButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void GlassButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

}  // namespace quill
