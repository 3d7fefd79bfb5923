#include "app/qt/folder_search_guard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <stdexcept>

namespace quill {
namespace {

TEST(FolderSearchGuard, AnErrorLeavesTheWindowAsItWasBeforeTheSearch) {
  QWidget window;
  auto* panel = new QWidget(&window);
  auto* list = new QWidget(panel);
  auto* progress = new QWidget(&window);
  progress->hide();
  window.show();
  QApplication::setOverrideCursor(Qt::PointingHandCursor);  // whatever was shown before

  try {
    const FolderSearchGuard busy(*progress, {list, panel});
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_FALSE(panel->isEnabled());
    EXPECT_FALSE(list->isEnabled());
    EXPECT_TRUE(progress->isVisible());
    EXPECT_TRUE(progress->isEnabled());
    throw std::runtime_error("the search failed");
  } catch (const std::runtime_error&) {
  }

  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(panel->isEnabled());
  EXPECT_TRUE(list->isEnabled());
  EXPECT_FALSE(progress->isVisible());
  QApplication::restoreOverrideCursor();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(FolderSearchGuard, PassesOverWidgetsDestroyedDuringTheSearch) {
  QWidget window;
  auto* progress = new QWidget(&window);
  {
    auto* panel = new QWidget(&window);
    const FolderSearchGuard busy(*progress, {panel});
    delete panel;
    delete progress;
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace quill
