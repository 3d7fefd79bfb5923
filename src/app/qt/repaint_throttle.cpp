#include "app/qt/repaint_throttle.h"

namespace quill {

RepaintThrottle::RepaintThrottle(std::initializer_list<QWidget*> widgets,
                                 std::chrono::milliseconds interval)
    : widgets_(widgets.begin(), widgets.end()), interval_(interval) {
  SetRepainting(false);
  sincePainted_.start();
}

RepaintThrottle::~RepaintThrottle() { SetRepainting(true); }

void RepaintThrottle::Changed() {
  if (sincePainted_.elapsed() < interval_.count()) return;
  SetRepainting(true);
  for (const QPointer<QWidget>& widget : widgets_) {
    if (widget) widget->repaint();
  }
  SetRepainting(false);
  sincePainted_.restart();
}

void RepaintThrottle::SetRepainting(bool enabled) {
  // Enabling schedules a repaint of each widget.
  for (const QPointer<QWidget>& widget : widgets_) {
    if (widget) widget->setUpdatesEnabled(enabled);
  }
}

}  // namespace quill
