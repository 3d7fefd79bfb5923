#pragma once

#include <QPushButton>

namespace quill {

// A push button whose caption is drawn with a soft shadow below and to the
// right of it.
class ShadowTextButton : public QPushButton {
 public:
  explicit ShadowTextButton(const QString& text, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quill
