#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

namespace quill {

// Keeps a child widget at fixed distances from chosen edges of its parent, the
// way a form designer anchors a control: a child anchored left and right
// stretches with its parent, one anchored right alone moves with the right
// edge. The distances are taken from the child's geometry within a parent of
// the design size, so the layout reads like the form it was drawn on.
class Anchor : public QObject {
 public:
  // Places `child` at `designGeometry` and anchors it to `edges` of its
  // parent, which has `designParentSize` when the geometry applies. The
  // anchor is owned by the child.
  static void Attach(QWidget* child, QRect designGeometry, Qt::Edges edges, QSize designParentSize);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Anchor(QWidget* child, QRect designGeometry, Qt::Edges edges, QSize designParentSize);
  void Place();

  QWidget* child_;
  QRect designGeometry_;
  Qt::Edges edges_;
  QSize designParentSize_;
};

}  // namespace quill
