#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QButtonGroup;

namespace quill {

// A framed group of radio buttons with a caption in its top border, the items
// side by side in equal columns; exactly one item is selected.
class RadioGroup : public QWidget {
 public:
  // Creates the group with `items`, the first one selected.
  RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

  QString caption() const { return caption_; }
  // The index of the selected item.
  int itemIndex() const;
  void SetItemIndex(int index);
  QStringList items() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
  QButtonGroup* buttons_;
};

}  // namespace quill
