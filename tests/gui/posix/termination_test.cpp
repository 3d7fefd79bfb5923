// The desktop program itself, asked from outside to end: the run ends as when
// the main window closes, and the application list is saved.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>

#include "apps/application_list.h"
#include "scoped_environment.h"
#include "shell/user_registry.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnvironment;
using testing::TempDir;

// Whether the process has a handler of its own for the signal, as the
// kernel reports it ("SigCgt" in /proc/<pid>/status, a hexadecimal mask).
bool CatchesSignal(qint64 pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("SigCgt:", 0) == 0)
      return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
  }
  return false;
}

ino_t FileIdentity(const fs::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

class EndOfRun : public ::testing::TestWithParam<int> {
 protected:
  TempDir temp_;
  fs::path config_ = temp_ / "config";
  ScopedEnvironment configEnvironment_{"XDG_CONFIG_HOME", config_.string()};
};

TEST_P(EndOfRun, ASignalToEndEndsTheRunNormallyAndTheListIsSaved) {
  if (!fs::exists("/proc/self/status")) GTEST_SKIP() << "no /proc to watch the program start";
  const ApplicationList list = {"/opt/b/reader", "/opt/a/viewer", "/usr/bin/editor"};
  SaveApplicationList(*OpenUserRegistry(), list);
  const fs::path store = config_ / "Quillmere" / "registry.reg";
  const ino_t before = FileIdentity(store);
  ASSERT_NE(before, 0u);

  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(QUILLMERE_PROGRAM), {});
  ASSERT_TRUE(program.waitForStarted(10000));
  for (int i = 0; i < 1000 && !CatchesSignal(program.processId(), GetParam()); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(CatchesSignal(program.processId(), GetParam()));

  ::kill(static_cast<pid_t>(program.processId()), GetParam());
  ASSERT_TRUE(program.waitForFinished(10000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "not killed by the signal";
  EXPECT_EQ(program.exitCode(), 0);
  EXPECT_NE(FileIdentity(store), before) << "the list was written again at the end";
  EXPECT_EQ(LoadApplicationList(*OpenUserRegistry()), list);
}

INSTANTIATE_TEST_SUITE_P(Signals, EndOfRun, ::testing::Values(SIGTERM, SIGINT),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == SIGTERM ? std::string("SIGTERM")
                                                        : std::string("SIGINT");
                         });

}  // namespace
}  // namespace quill
