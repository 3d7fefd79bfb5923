#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/qt/book_list_model.h"
#include "app/qt/main_window.h"
#include "qstring_printer.h"
#include "scripted_dialogs.h"
#include "viewer/qt/zip_view_window.h"
#include "widgets/glass_button.h"
#include "widgets/radio_group.h"

namespace quill {
namespace {

// The main window with its zip view, shown and active, driven by key events
// sent to whichever widget has the focus.
class WindowKeyboardTest : public ::testing::Test {
 protected:
  WindowKeyboardTest() : form(dialogs), frmZip(dialogs) { form.SetZipView(&frmZip); }

  void Show() {
    // Small enough for the offscreen screen, so a menu opens where it is asked to.
    form.resize(600, 400);
    form.move(0, 0);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }

  template <typename Widget>
  Widget* Child(const char* name) {
    auto* child = form.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QTableView* List() { return Child<QTableView>("ListView1"); }
  void AddBooks(int count) {
    auto& books = dynamic_cast<BookListModel&>(*List()->model());
    for (int i = 0; i < count; ++i) {
      const std::string name = "book" + std::to_string(i) + ".epub";
      books.Append({name, "/missing/" + name, "reason " + std::to_string(i)});
    }
  }
  static void Press(int key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
  }
  // The main window's control that holds the focus: the list, the menu
  // button or the resolution choice.
  QWidget* FocusStop() {
    QWidget* focus = QApplication::focusWidget();
    auto* group = Child<QWidget>("RzRadioGroup1");
    return focus && group->isAncestorOf(focus) ? group : focus;
  }

  testing::ScriptedDialogs dialogs;
  TForm1 form;
  TFrmZip frmZip;
};

TEST_F(WindowKeyboardTest, TabCyclesTheListTheResolutionChoiceAndTheMenuButton) {
  AddBooks(3);
  Show();
  QWidget* list = List();
  QWidget* resolution = Child<QWidget>("RzRadioGroup1");
  QWidget* menuButton = Child<QWidget>("rkGlassButton4");
  List()->selectRow(1);
  const QString reason = Child<QLabel>("Label6")->text();
  ASSERT_EQ(reason, "reason 1");
  list->setFocus();

  struct Step {
    int key;
    Qt::KeyboardModifiers modifiers;
    QWidget* focus;
  };
  const Step steps[] = {
      {Qt::Key_Tab, {}, resolution},
      {Qt::Key_Tab, {}, menuButton},
      {Qt::Key_Tab, {}, list},
      {Qt::Key_Backtab, Qt::ShiftModifier, menuButton},
      {Qt::Key_Backtab, Qt::ShiftModifier, resolution},
      {Qt::Key_Backtab, Qt::ShiftModifier, list},
      // The list does not keep Ctrl+Tab either.
      {Qt::Key_Tab, Qt::ControlModifier, resolution},
      {Qt::Key_Backtab, Qt::ShiftModifier, list},
      {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, menuButton},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(i);
    Press(steps[i].key, steps[i].modifiers);
    EXPECT_EQ(FocusStop(), steps[i].focus);
  }
  // The resolution choice is reached at its selected item.
  Child<RadioGroup>("RzRadioGroup1")->SetItemIndex(2);
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), resolution->findChildren<QRadioButton*>().at(2));
  // Leaving and entering the list keeps its selection and the status text.
  ASSERT_EQ(List()->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(List()->selectionModel()->selectedRows()[0].row(), 1);
  EXPECT_EQ(Child<QLabel>("Label6")->text(), reason);
}

TEST_F(WindowKeyboardTest, EachStopShowsTheKeyboardFocus) {
  Show();  // the list is empty, as at start-up
  List()->setFocus();
  for (int stop = 0; stop < 3; ++stop) Press(Qt::Key_Tab);  // back at the list by the keyboard
  for (int stop = 0; stop < 3; ++stop) {
    QWidget* focused = FocusStop();
    SCOPED_TRACE(focused->objectName().toStdString());
    const QImage withFocus = focused->grab().toImage();
    Press(Qt::Key_Tab);
    ASSERT_NE(FocusStop(), focused);
    EXPECT_NE(focused->grab().toImage(), withFocus);
  }
}

TEST_F(WindowKeyboardTest, EnterOpensTheSelectedBookInTheZipViewAndEscapeClosesIt) {
  AddBooks(3);
  Show();
  // What the view shows while it is open; the first event of its modal loop
  // reads it and presses Escape where the focus is.
  QStringList captions;
  const auto watchOpening = [&] {
    QTimer::singleShot(0, &frmZip, [&] {
      if (!frmZip.isVisible()) return;
      captions.push_back(frmZip.windowTitle());
      EXPECT_TRUE(QTest::qWaitForWindowActive(&frmZip));
      EXPECT_TRUE(frmZip.isAncestorOf(QApplication::focusWidget()));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
      if (frmZip.isVisible()) {
        ADD_FAILURE() << "Escape left the zip view open";
        frmZip.close();
      }
    });
  };
  List()->setFocus();

  watchOpening();
  Press(Qt::Key_Return);  // no row selected: nothing opens
  QCoreApplication::processEvents();
  EXPECT_TRUE(captions.isEmpty());

  const struct {
    int row;
    int key;
    Qt::KeyboardModifiers modifiers;
  } presses[] = {{1, Qt::Key_Return, {}}, {2, Qt::Key_Enter, Qt::KeypadModifier}};
  for (const auto& press : presses) {
    List()->selectRow(press.row);
    watchOpening();
    Press(press.key, press.modifiers);
    EXPECT_FALSE(frmZip.isVisible());
    form.activateWindow();  // as the desktop does once the view is gone
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), List());  // back where it was
  }
  EXPECT_EQ(captions,
            (QStringList{"Zipview: /missing/book1.epub", "Zipview: /missing/book2.epub"}));
}

TEST_F(WindowKeyboardTest, MenuKeysOpenTheMenuBelowTheSelectedOrElseTheCurrentRow) {
  AddBooks(5);
  Show();
  auto* menu = Child<QMenu>("PopupMenu1");
  QTableView* list = List();
  struct Case {
    const char* what;
    int selected;  // -1: none
    int current;
    std::function<void()> request;
  };
  const auto key = [](int k, Qt::KeyboardModifiers modifiers) {
    return [=] { Press(k, modifiers); };
  };
  const Case cases[] = {
      {"Shift+F10", 3, 3, key(Qt::Key_F10, Qt::ShiftModifier)},
      {"Menu key", 1, 1, key(Qt::Key_Menu, {})},
      {"Menu key, nothing selected", -1, 2, key(Qt::Key_Menu, {})},
      {"the platform's keyboard request", 4, 4,
       [list] {
         QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(1, 1),
                                   list->mapToGlobal(QPoint(1, 1)));
         QApplication::sendEvent(list, &request);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    list->setFocus();
    list->setCurrentIndex(list->model()->index(c.current, 1));
    if (c.selected < 0) list->clearSelection();
    c.request();
    ASSERT_TRUE(menu->isVisible());
    const QRect cell = list->visualRect(list->model()->index(c.current, 0));
    EXPECT_EQ(menu->pos(), list->viewport()->mapToGlobal(cell.bottomLeft()));
    menu->hide();
  }
}

}  // namespace
}  // namespace quill
