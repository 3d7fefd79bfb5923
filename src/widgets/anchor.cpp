#include "widgets/anchor.h"

#include <QEvent>
#include <QWidget>

namespace quill {
namespace {

// One axis: a side that is not anchored keeps its size and follows the anchored
// side; anchored on both sides, the extent stretches; anchored on neither, the
// child keeps its design position.
void PlaceAxis(int designStart, int designExtent, int designParent, int parent, bool anchorStart,
               bool anchorEnd, int& start, int& extent) {
  const int endMargin = designParent - designStart - designExtent;
  extent = designExtent;
  start = designStart;
  if (anchorEnd && anchorStart) {
    extent = qMax(0, parent - designStart - endMargin);
  } else if (anchorEnd) {
    start = parent - endMargin - designExtent;
  }
}

}  // namespace

void Anchor::Attach(QWidget* child, QRect designGeometry, Qt::Edges edges, QSize designParentSize) {
  new Anchor(child, designGeometry, edges, designParentSize);
}

Anchor::Anchor(QWidget* child, QRect designGeometry, Qt::Edges edges, QSize designParentSize)
    : QObject(child),
      child_(child),
      designGeometry_(designGeometry),
      edges_(edges),
      designParentSize_(designParentSize) {
  child_->parentWidget()->installEventFilter(this);
  Place();
}

bool Anchor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == child_->parentWidget() && event->type() == QEvent::Resize) Place();
  return false;
}

void Anchor::Place() {
  const QSize parent = child_->parentWidget()->size();
  int x, width, y, height;
  PlaceAxis(designGeometry_.x(), designGeometry_.width(), designParentSize_.width(), parent.width(),
            edges_.testFlag(Qt::LeftEdge), edges_.testFlag(Qt::RightEdge), x, width);
  PlaceAxis(designGeometry_.y(), designGeometry_.height(), designParentSize_.height(),
            parent.height(), edges_.testFlag(Qt::TopEdge), edges_.testFlag(Qt::BottomEdge), y,
            height);
  child_->setGeometry(x, y, width, height);
}

}  // namespace quill
