// Where the windows meet the Windows shell rather than Qt alone: Explorer
// opened on a folder with an item selected, files dropped onto the
// application list, and a program's own icon in that list.

#include <windows.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <string>

#include "app_dialog.h"
#include "apps/qt/application_icon.h"
#include "base/path_text.h"
#include "shell/qt/select_in_explorer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::AppDialog;
using testing::RenderRow;

bool UnderWineWithoutDisplay() {
  const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
  return wine && ::GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0;
}

struct FolderWindow {
  std::wstring title;
  HWND window = nullptr;
};

BOOL CALLBACK MatchFolderWindow(HWND window, LPARAM parameter) {
  auto* found = reinterpret_cast<FolderWindow*>(parameter);
  wchar_t title[512] = {}, kind[64] = {};
  ::GetWindowTextW(window, title, 512);
  ::GetClassNameW(window, kind, 64);
  const std::wstring name = kind;
  if (::IsWindowVisible(window) && found->title == title &&
      (name == L"CabinetWClass" || name == L"ExplorerWClass")) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

TEST(SelectInExplorer, ExplorerOpensTheParentFolderWithTheItem) {
  testing::TempDir temp;
  const fs::path folder = temp / L"Könyvek kiválasztva";
  fs::create_directories(folder);
  testing::WriteFile(folder / L"Példa.epub", "book");
  EXPECT_FALSE(SelectInExplorer(folder / L"missing.epub")) << "nothing to select, nothing shown";

  ASSERT_TRUE(SelectInExplorer(folder / L"Példa.epub"));
  if (UnderWineWithoutDisplay()) GTEST_SKIP() << "Wine's Explorer needs an X display to open";
  FolderWindow found{folder.filename().wstring()};
  for (int waited = 0; waited < 150 && !found.window; ++waited) {
    ::EnumWindows(MatchFolderWindow, reinterpret_cast<LPARAM>(&found));
    if (!found.window) ::Sleep(100);
  }
  ASSERT_TRUE(found.window) << "an Explorer window titled after the book's folder";
  ::PostMessageW(found.window, WM_CLOSE, 0, 0);
}

TEST_F(AppDialog, FilesDroppedFromExplorerAreAddedWithWindowsPaths) {
  const std::string program = App("Leser.EXE"), text = App("notes.txt");
  fs::create_directories(apps_ / "folder.exe");
  Create();
  dialog_->show();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(Q(program)), QUrl::fromLocalFile(Q(text)),
                QUrl::fromLocalFile(Q((apps_ / "folder.exe").string()))});
  // Explorer's drag enters the list before it drops there.
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(List()->viewport(), &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(List()->viewport(), &drop);
  const ApplicationList added = dialog_->Applications();
  ASSERT_EQ(added, ApplicationList{program});
  const std::string& entry = added.front();
  EXPECT_EQ(entry[1], ':') << entry;
  EXPECT_EQ(entry.find('/'), std::string::npos) << "backslashes, as Explorer gives paths";
}

bool HasGreen(const QImage& image, QRect area) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor colour = image.pixelColor(x, y);
      if (colour.green() > colour.red() + 60 && colour.green() > colour.blue() + 60) return true;
    }
  }
  return false;
}

TEST_F(AppDialog, AProgramsRowShowsTheProgramsOwnIcon) {
  // The desktop program carries its icon, a page with a green e-book symbol.
  const fs::path program = fs::absolute(QUILLMERE_PROGRAM).make_preferred();
  const QIcon icon = ApplicationIcon(Q(Utf8Of(program)));
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.availableSizes().value(0), QSize(32, 32)) << "the system's large icon size";
  EXPECT_TRUE(ApplicationIcon(Q(App("notes.txt"))).isNull()) << "a file without icons";

  SaveApplicationList(*OpenUserRegistry(), {Utf8Of(program)});
  Create();
  EXPECT_TRUE(HasGreen(RenderRow(*dialog_, List(), 0), QRect(0, 0, 32, 32)));
}

}  // namespace
}  // namespace quill
