#pragma once

#include <QFrame>
#include <QString>

namespace quill {

// A raised panel that draws its caption in its centre, behind its children.
class CaptionPanel : public QFrame {
 public:
  explicit CaptionPanel(QWidget* parent = nullptr);

  QString caption() const { return caption_; }
  // The caption is also the panel's accessible name.
  void SetCaption(const QString& caption);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
};

}  // namespace quill
