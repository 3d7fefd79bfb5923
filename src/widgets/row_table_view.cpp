#include "widgets/row_table_view.h"

#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace quill {
namespace {

bool IsMenuKey(const QKeyEvent& key) {
  return key.key() == Qt::Key_Menu ||
         (key.key() == Qt::Key_F10 && (key.modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier);
}

bool IsEnterKey(const QKeyEvent& key) {
  return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
         (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

RowTableView::RowTableView(QWidget* parent) : QTableView(parent) { setTabKeyNavigation(false); }

void RowTableView::SetOpenHandler(std::function<void()> open) { open_ = std::move(open); }

bool RowTableView::event(QEvent* event) {
  // The platform turns the Menu key (and on some desktops Shift+F10) into a
  // context-menu request of its own; it opens at the row like the keys do.
  if (event->type() == QEvent::ContextMenu && HasCustomMenu() &&
      static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
    emit customContextMenuRequested(MenuPoint());
    return true;
  }
  return QTableView::event(event);
}

void RowTableView::keyPressEvent(QKeyEvent* event) {
  const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
  if (tab && event->modifiers().testFlag(Qt::ControlModifier)) {
    // Ctrl+Tab leaves the list as Tab does, where a list that kept the key
    // would move its current cell and drop the selection.
    const bool backward =
        event->key() == Qt::Key_Backtab || event->modifiers().testFlag(Qt::ShiftModifier);
    focusNextPrevChild(!backward);
  } else if (IsEnterKey(*event) && open_) {
    open_();
  } else if (IsMenuKey(*event) && HasCustomMenu()) {
    emit customContextMenuRequested(MenuPoint());
  } else {
    QTableView::keyPressEvent(event);
    return;
  }
  event->accept();
}

bool RowTableView::HasCustomMenu() const { return contextMenuPolicy() == Qt::CustomContextMenu; }

QPoint RowTableView::MenuPoint() {
  const QModelIndexList selected =
      selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
  const QModelIndex row = selected.isEmpty() ? currentIndex() : selected.constFirst();
  if (!row.isValid()) return {};
  const QModelIndex first = row.siblingAtColumn(0);
  scrollTo(first);
  // Just below the row's first cell, so the menu leaves the row in sight.
  const QRect cell = visualRect(first);
  return {qMax(cell.left(), 0), cell.bottom()};
}

void RowTableView::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  viewport()->update();
}

void RowTableView::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  viewport()->update();
}

void RowTableView::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  if (!hasFocus() || currentIndex().isValid()) return;
  // The rows show the focus on the current cell; without one the area does.
  QPainter painter(viewport());
  QStyleOptionFocusRect frame;
  frame.initFrom(this);
  frame.rect = viewport()->rect();
  frame.backgroundColor = palette().color(QPalette::Base);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}

}  // namespace quill
