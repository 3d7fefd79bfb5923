#pragma once

#include <QTableView>
#include <functional>

namespace quill {

// A table of whole rows that follows the desktop's keyboard conventions:
// - Tab and Shift+Tab (also with Ctrl) move the focus to the window's next or
//   previous control; they never walk the cells.
// - Enter and keypad Enter run the open handler, the keyboard's double-click.
// - With Qt::CustomContextMenu as its context-menu policy, the Menu key,
//   Shift+F10 and the platform's keyboard context-menu request emit
//   customContextMenuRequested at the selected row (the current row when none
//   is selected, the top left of the rows when there is neither), in viewport
//   coordinates as a right click reports its point.
// - With the keyboard focus and no current row (an empty list), a focus frame
//   is drawn around the rows' area, so the focus is never invisible.
class RowTableView : public QTableView {
 public:
  explicit RowTableView(QWidget* parent = nullptr);

  // What Enter and keypad Enter do; without one they work as in any table.
  void SetOpenHandler(std::function<void()> open);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool HasCustomMenu() const;
  // Where a keyboard request opens the context menu, in viewport coordinates.
  QPoint MenuPoint();

  std::function<void()> open_;
};

}  // namespace quill
