#pragma once

#include <QAbstractButton>

class QMenu;

namespace quill {

// A push button in a glossy glass style: a white face with a sheen, a dark
// frame, its caption at the left and, when it has a drop-down menu, an arrow
// at the right. A click drops the menu below the button, aligned to the
// button's right edge. From the keyboard, Space and Enter click it; a focus
// frame inside the face shows the keyboard focus.
class GlassButton : public QAbstractButton {
 public:
  explicit GlassButton(QWidget* parent = nullptr);

  // The menu that a click drops; the button does not own it.
  void SetDropDownMenu(QMenu* menu);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void DropMenu();

  QMenu* menu_ = nullptr;
  bool hovered_ = false;
};

}  // namespace quill
