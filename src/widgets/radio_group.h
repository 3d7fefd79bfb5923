#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QButtonGroup;

namespace quill {

// A framed group of radio buttons with a caption in its top border, the items
// side by side in equal columns; exactly one item is selected. The caption is
// also the group's accessible name. Tab reaches the group at its selected
// item; the arrow keys choose among the items.
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
  void KeepTabOnSelectedItem();

  QString caption_;
  QButtonGroup* buttons_;
};

}  // namespace quill
