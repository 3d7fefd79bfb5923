#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <typeinfo>

#include "app/qt/main_window.h"
#include "app_dialog.h"
#include "qstring_printer.h"
#include "viewer/qt/zip_view_window.h"

namespace quill {
namespace {

// The controls a user meets in a window: every widget but labels (named by
// the text they show), the bare containers that only lay others out, and the
// parts that Qt's composite widgets make for themselves.
void CollectControls(const QWidget& parent, std::vector<QWidget*>& controls) {
  for (QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;  // a menu, another window
    // The widget kit's own classes carry no meta-object of their own.
    const std::type_info& kind = typeid(*child);
    if (kind != typeid(QWidget) && kind != typeid(QFrame) && !qobject_cast<QLabel*>(child)) {
      controls.push_back(child);
    }
    if (!qobject_cast<QAbstractScrollArea*>(child) && !qobject_cast<QToolBar*>(child) &&
        !qobject_cast<QStatusBar*>(child)) {
      CollectControls(*child, controls);
    }
  }
}

// The controls that a screen reader would find without a name.
QStringList Unnamed(const QWidget& window) {
  std::vector<QWidget*> controls;
  CollectControls(window, controls);
  QStringList unnamed;
  for (QWidget* control : controls) {
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(control);
    if (access == nullptr || access->text(QAccessible::Name).trimmed().isEmpty())
      unnamed.push_back(QString::fromLatin1(control->metaObject()->className()) + ' ' +
                        control->objectName());
  }
  return unnamed;
}

using AccessibleNames = testing::AppDialog;

TEST_F(AccessibleNames, EveryControlOfTheThreeWindowsHasOne) {
  TForm1 form(dialogs_);
  TFrmZip frmZip(dialogs_);
  Create();
  EXPECT_EQ(Unnamed(form), QStringList());
  EXPECT_EQ(Unnamed(frmZip), QStringList());
  EXPECT_EQ(Unnamed(*dialog_), QStringList());
}

}  // namespace
}  // namespace quill
