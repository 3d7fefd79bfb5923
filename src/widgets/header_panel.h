#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace quill {

// A panel that draws a coloured header bar across its top, with a glyph and a
// caption at its left; its children sit below the bar (its contents margins
// keep layouts clear of it).
class HeaderPanel : public QWidget {
 public:
  static constexpr int kBarHeight = 27;
  // The space between the bar and the panel's children.
  static constexpr int kGapBelowBar = 4;

  explicit HeaderPanel(QWidget* parent = nullptr);

  QString caption() const { return caption_; }
  // The caption is also the panel's accessible name.
  void SetCaption(const QString& caption);
  void SetHeaderColor(const QColor& color);
  // A glyph larger than the bar is centred on it; its artwork keeps within.
  void SetGlyph(const QPixmap& glyph);
  // The caption's font and colour.
  void SetCaptionStyle(const QFont& font, const QColor& color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
  QColor headerColor_;
  QPixmap glyph_;
  QFont captionFont_;
  QColor captionColor_;
};

}  // namespace quill
