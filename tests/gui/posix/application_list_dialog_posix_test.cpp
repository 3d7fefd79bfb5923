// The application list dialog where POSIX programs differ: programs without
// an extension, and desktop launchers with icons of their own.

#include <gtest/gtest.h>

#include "app_dialog.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::AppDialog;
using testing::HasColour;
using testing::RenderRow;
using testing::WriteFile;

TEST_F(AppDialog, DropsAddApplicationsSortedAndWithoutDuplicatesByCase) {
  const std::string lower = App("b.exe"), upper = App("A.exe"), dup = App("B.EXE");
  const std::string text = App("notes.txt"), program = App("reader", true);
  fs::create_directories(apps_ / "folder.exe");
  Create();
  dialog_->JvDragDrop1Drop({}, {Q(lower), Q(upper)});
  EXPECT_EQ(dialog_->Applications(), (ApplicationList{upper, lower}));
  dialog_->JvDragDrop1Drop({}, {Q(dup), Q((apps_ / "folder.exe").string()), Q(text),
                                Q((apps_ / "gone.exe").string()), Q(program)});
  EXPECT_EQ(dialog_->Applications(), (ApplicationList{upper, lower, program}))
      << "the first of equal entries stays; folders, text and missing files are skipped";
}

TEST_F(AppDialog, RowsShowTheIconAndGreyTextForMissingFiles) {
  QImage red(32, 32, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(QString::fromStdString((apps_ / "red.png").string())));
  const fs::path launcher = apps_ / "reader.desktop";
  WriteFile(launcher, "[Desktop Entry]\nExec=reader\nIcon=" + (apps_ / "red.png").string() + "\n");
  SaveApplicationList(*OpenUserRegistry(), {launcher.string(), (apps_ / "gone.exe").string()});
  Create();

  const QImage present = RenderRow(*dialog_, List(), 0);
  EXPECT_EQ(present.pixelColor(2, 2), QColor(Qt::red)) << "the icon at the row's top left";
  EXPECT_EQ(present.pixelColor(34, 16), QColor(Qt::white)) << "a gap before the text";
  EXPECT_TRUE(HasColour(present, QRect(37, 0, 263, 32), Qt::black));

  const QImage missing = RenderRow(*dialog_, List(), 1);
  EXPECT_FALSE(HasColour(missing, QRect(0, 0, 32, 32), Qt::red)) << "no icon for a missing file";
  EXPECT_TRUE(HasColour(missing, QRect(37, 0, 263, 32), QColor(128, 128, 128)));
  EXPECT_FALSE(HasColour(missing, QRect(37, 0, 263, 32), Qt::black));
}

}  // namespace
}  // namespace quill
