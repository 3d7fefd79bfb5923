#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli_runner.h"

namespace quill::testing {

// How a run of the program differs from RunProgram's.
struct SessionSetup {
  // Standard output goes to this file (such as /dev/full) instead of being caught.
  std::optional<std::filesystem::path> standardOutput;
  // Standard output and standard error share one pseudo-terminal of 80
  // columns, and `out` is everything that the terminal received.
  bool terminal = false;
  // The program runs as this user (a root test process gives its rights up).
  std::optional<uid_t> user;
  // The program is sent this signal once it has written its first line to
  // standard error, which is a pipe then: the program cannot run further
  // ahead than the pipe holds before the signal arrives.
  std::optional<int> signalAfterFirstErrorLine;
  // The program may hold no more files open than this (RLIMIT_NOFILE).
  std::optional<unsigned> openFileLimit;

  static SessionSetup WritingTo(std::filesystem::path file) {
    SessionSetup setup;
    setup.standardOutput = std::move(file);
    return setup;
  }
  static SessionSetup OnTerminal() {
    SessionSetup setup;
    setup.terminal = true;
    return setup;
  }
  static SessionSetup Interrupted(int signal) {
    SessionSetup setup;
    setup.signalAfterFirstErrorLine = signal;
    return setup;
  }
  static SessionSetup WithOpenFileLimit(unsigned files) {
    SessionSetup setup;
    setup.openFileLimit = files;
    return setup;
  }
  static SessionSetup As(uid_t user) {
    SessionSetup setup;
    setup.user = user;
    return setup;
  }
};

ProgramRun RunCliIn(const SessionSetup& setup, const std::vector<std::string>& arguments);

// A user without the rights of root for permission tests: the test's own when
// it is not root, else "nobody"; nothing when none can be had or when "nobody"
// cannot reach the program or the temporary folder.
std::optional<uid_t> UnprivilegedUser();
// Why a permission test skips when UnprivilegedUser has nobody.
inline constexpr const char* kNoUnprivilegedUser =
    "no user without the rights of root who can reach the program and the temporary folder";

}  // namespace quill::testing
