// The desktop program's command line: help and version answer without a
// display, anything else without one is told in one line, and the paths
// given are taken once the window is up.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "app/qt/display_availability.h"
#include "qstring_printer.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

QProcessEnvironment Environment(const QString& platform) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("DISPLAY"));
  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
  return environment;
}

// A program's text as POSIX writes it: Windows ends each line with CR LF.
QString Text(const QByteArray& output) {
  return QString::fromUtf8(output).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

TEST(CommandLine, HelpAndVersionPrintAndExitWithoutADisplay) {
  struct Case {
    QString argument;
    QString printed;
  };
  const Case cases[] = {{"--help", "usage: quillmere [PATH...]\n"},
                        {"-h", "usage: quillmere [PATH...]\n"},
                        {"--version", "quillmere " QUILLMERE_VERSION "\n"}};
  for (const Case& c : cases) {
    QProcess program;
    // Without a display this platform cannot start: a window would end the run.
    program.setProcessEnvironment(Environment(QStringLiteral("xcb")));
    program.start(QStringLiteral(QUILLMERE_PROGRAM), {c.argument});
    ASSERT_TRUE(program.waitForFinished(10000)) << c.argument.toStdString();
    EXPECT_EQ(program.exitCode(), 0) << c.argument.toStdString();
    EXPECT_TRUE(Text(program.readAllStandardOutput()).startsWith(c.printed))
        << c.argument.toStdString();
  }
}

TEST(CommandLine, WithoutADisplayAnythingButHelpIsToldInALineAndExitsWithTwo) {
#ifdef Q_OS_WIN
  GTEST_SKIP() << "Windows always has its display";
#endif
  QProcessEnvironment unchosen = Environment({});
  unchosen.remove(QStringLiteral("QT_QPA_PLATFORM"));
  const QString noDisplay = QString::fromUtf8(kNoDisplayLine.data(), kNoDisplayLine.size());
  struct Case {
    QProcessEnvironment environment;
    QStringList arguments;
    QString printed;
  };
  const Case cases[] = {
      {unchosen, {"--bogus"}, "quillmere: unknown option '--bogus'\nTry 'quillmere --help'.\n"},
      {unchosen, {"book.epub", "folder"}, noDisplay},
      {unchosen, {}, noDisplay},
      // A platform that is chosen but cannot start.
      {Environment(QStringLiteral("xcb")), {"book.epub"}, noDisplay},
  };
  for (const Case& c : cases) {
    QProcess program;
    program.setProcessEnvironment(c.environment);
    program.start(QStringLiteral(QUILLMERE_PROGRAM), c.arguments);
    ASSERT_TRUE(program.waitForFinished(10000)) << c.arguments.join(' ').toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << c.arguments.join(' ').toStdString();
    EXPECT_EQ(program.exitCode(), 2) << c.arguments.join(' ').toStdString();
    EXPECT_EQ(Text(program.readAllStandardError()), c.printed);
  }
}

TEST(CommandLine, PathsThatAreNeitherBooksNorFoldersAreNamedAndTheWindowStays) {
  testing::TempDir dir;
  testing::WriteFile(dir / "notes.txt", "text");
  QProcess program;
  // The platform of the tests: on Windows `terminate` asks the program's
  // windows to close, which only a window of the system's own receives.
  program.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
  program.setReadChannel(QProcess::StandardError);
  program.setWorkingDirectory(QString::fromStdString(dir.path().string()));
  program.start(QStringLiteral(QUILLMERE_PROGRAM), {QStringLiteral("notes.txt")});
  ASSERT_TRUE(program.waitForStarted(10000));
  const QString expected = "quillmere: " + QString::fromStdString((dir / "notes.txt").string()) +
                           ": neither an EPUB file nor a folder\n";
  QByteArray errors;
  while (!Text(errors).contains(expected) && program.waitForReadyRead(10000))
    errors += program.readAllStandardError();
  EXPECT_TRUE(Text(errors).contains(expected)) << errors.toStdString();
  EXPECT_EQ(program.state(), QProcess::Running);
  // The message comes before the window; on Windows the request to close
  // reaches only a window that exists, so it is repeated until one does.
  for (int i = 0; i < 20 && program.state() == QProcess::Running; ++i) {
    program.terminate();
    program.waitForFinished(500);
  }
  ASSERT_EQ(program.state(), QProcess::NotRunning);
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
}

}  // namespace
}  // namespace quill
