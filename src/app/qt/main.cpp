// The desktop program: the main window with its list of found books.

#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/book_paths.h"
#include "app/launch_arguments.h"
#include "app/main_window_texts.h"
#include "app/qt/display_availability.h"
#include "app/qt/main_window.h"
#include "apps/qt/application_list_dialog.h"
#include "base/scoped_user_messages.h"
#include "shell/command_line.h"
#include "shell/parent_console.h"
#include "viewer/qt/zip_view_window.h"
#include "widgets/application.h"
#include "widgets/image_list.h"
#include "widgets/qt_dialogs.h"
#include "widgets/qt_user_messages.h"
#include "widgets/quit_on_termination.h"

#ifndef QUILLMERE_VERSION
#define QUILLMERE_VERSION "unknown"
#endif

namespace {

constexpr int kExitUsage = 2;

std::string UsageErrorText(const std::string& unknownOption) {
  return "quillmere: unknown option '" + unknownOption + "'\nTry 'quillmere --help'.\n";
}

// The paths of the command line as full paths, the way the file dialogs
// hand them over, sorted into books and folders. What is neither is named on
// the standard error stream, and in the window once it is shown.
quill::BookPaths CommandLineBooks(const std::vector<std::string>& given) {
  std::vector<std::string> full;
  for (const std::string& path : given) {
    const QString absolute = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    full.push_back(QDir::toNativeSeparators(QDir::cleanPath(absolute)).toStdString());
  }
  quill::BookPaths books = quill::SortBookPaths(full);
  if (books.ignored.empty()) return books;
  const quill::ParentConsole console;
  for (const std::string& path : books.ignored) {
    console.Write(stderr, "quillmere: " + path + ": " + quill::texts::kNeitherBookNorFolder + "\n");
  }
  return books;
}

// The arguments that Qt has left: its own options are taken out by the
// application object.
std::vector<std::string> ApplicationArguments() {
  QStringList arguments = QCoreApplication::arguments();
  std::vector<std::string> result;
  for (qsizetype i = 1; i < arguments.size(); ++i) result.push_back(arguments[i].toStdString());
  return result;
}

}  // namespace

int main(int argc, char* argv[]) {
  using Action = quill::LaunchArguments::Action;
  // Help and version answer before the application object exists, so they
  // need no display.
  const quill::LaunchArguments asked =
      quill::ParseLaunchArguments(quill::ProgramArguments(argc, argv));
  if (asked.action == Action::kHelp) {
    quill::ParentConsole().Write(stdout, quill::kLaunchUsage);
    return 0;
  }
  if (asked.action == Action::kVersion) {
    quill::ParentConsole().Write(stdout, "quillmere " QUILLMERE_VERSION "\n");
    return 0;
  }
  // Without a display nothing below can start: an unknown option is told as
  // such, anything else with the one line that says what is missing.
  if (quill::DisplayMissing(argc, argv)) {
    quill::ParentConsole().Write(stderr, asked.action == Action::kUsageError
                                             ? UsageErrorText(asked.unknownOption)
                                             : std::string(quill::kNoDisplayLine));
    return kExitUsage;
  }

  // The application object comes first; the message boxes of the core and
  // the error box of an escaped error show through the Qt dialogs.
  std::optional<quill::PlatformStartGuard> starting(std::in_place);
  quill::Application application(argc, argv);
  starting.reset();
  application.setWindowIcon(quill::ArtworkIcon(QStringLiteral("org.quillmere.Quillmere")));
  application.setDesktopFileName(QStringLiteral("org.quillmere.Quillmere"));
  const quill::LaunchArguments launch = quill::ParseLaunchArguments(ApplicationArguments());
  if (launch.action == Action::kUsageError) {
    quill::ParentConsole().Write(stderr, UsageErrorText(launch.unknownOption));
    return kExitUsage;
  }
  // A session that ends or Ctrl+C ends the loop like closing the main window,
  // so the windows below are destroyed and the application list is saved.
  quill::QuitOnTermination quitOnTermination;
  const quill::BookPaths books = CommandLineBooks(launch.paths);

  quill::QtDialogs dialogs;
  quill::QtUserMessages messages(dialogs);
  quill::ScopedUserMessages messageScope(messages);

  // The main window: closing it ends the run.
  quill::TForm1 form1(dialogs);

  // After the main window and before the loop, the zip view window TFrmZip and
  // then the application list dialog Tfrmapp are created, hidden, as the
  // single instances that the main window reaches; creating the dialog loads
  // the application list, which the main window's first showing needs.
  quill::TFrmZip frmZip(dialogs, &form1);
  form1.SetZipView(&frmZip);
  quill::Tfrmapp frmapp(dialogs, &form1);
  form1.SetApplicationListDialog(&frmapp);

  // The window opens in the middle of the screen.
  if (const QScreen* screen = form1.screen()) {
    form1.move(screen->availableGeometry().center() - form1.rect().center());
  }
  form1.show();
  // The books of the command line are added once the loop runs, with the
  // window shown, which then tells what it could not take.
  if (!books.empty() || !books.ignored.empty())
    QTimer::singleShot(0, &form1, [&form1, &books] { form1.AddBookPaths(books); });
  return application.exec();
}
