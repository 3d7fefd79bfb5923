#include "program_session.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "temp_dir.h"
#include "zip_writer.h"

namespace quill::testing {
namespace {

// In the child: stream `target` from the file at `path`.
void Redirect(int target, const char* path, int flags) {
  const int fd = ::open(path, flags, 0600);
  if (fd < 0 || ::dup2(fd, target) < 0) ::_exit(126);
  ::close(fd);
}

// Everything that the terminal holds for its other end. The test keeps the
// terminal open itself, so nothing is lost when the program ends, and reads
// only then: the little that a test run writes fits the terminal's buffer.
std::string DrainTerminal(int master) {
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  std::string out;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(master, buffer, sizeof buffer);
    if (n > 0) {
      out.append(buffer, static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      return out;
    }
  }
}

// Reads the pipe to its end, sending the signal to the program once the
// first line has arrived.
std::string ReadErrorsSignalling(int pipe, pid_t program, int signal) {
  std::string err;
  bool sent = false;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(pipe, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return err;
    err.append(buffer, static_cast<std::size_t>(n));
    if (!sent && err.find('\n') != std::string::npos) {
      ::kill(program, signal);
      sent = true;
    }
  }
}

}  // namespace

ProgramRun RunCliIn(const SessionSetup& setup, const std::vector<std::string>& arguments) {
  const TempDir streams;
  const std::string outPath =
      setup.standardOutput ? setup.standardOutput->string() : (streams / "out").string();
  const std::string errPath = (streams / "err").string();
  int master = -1;
  int terminal = -1;
  if (setup.terminal) {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
      throw std::runtime_error("no pseudo-terminal");
    }
    terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    const winsize size{24, 80, 0, 0};
    ::ioctl(terminal, TIOCSWINSZ, &size);
    // Raw mode: the terminal passes the bytes as written, line ends included.
    termios mode{};
    ::tcgetattr(terminal, &mode);
    ::cfmakeraw(&mode);
    ::tcsetattr(terminal, TCSANOW, &mode);
  }
  int errorPipe[2] = {-1, -1};
  if (setup.signalAfterFirstErrorLine && ::pipe2(errorPipe, O_CLOEXEC) != 0) {
    throw std::runtime_error("no pipe");
  }
  if (setup.user) {
    // The caught streams must be writable by the user the program runs as.
    ::chmod(streams.path().c_str(), 0777);
  }

  std::vector<std::string> strings{QUILLMERE_CLI};
  strings.insert(strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& text : strings) argv.push_back(text.data());
  argv.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("cannot fork");
  if (pid == 0) {
    Redirect(STDIN_FILENO, "/dev/null", O_RDONLY);
    if (setup.terminal) {
      ::close(master);
      ::dup2(terminal, STDOUT_FILENO);
      ::dup2(terminal, STDERR_FILENO);
      ::close(terminal);
    } else {
      Redirect(STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
      if (errorPipe[1] >= 0) {
        ::dup2(errorPipe[1], STDERR_FILENO);
      } else {
        Redirect(STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
      }
    }
    if (setup.user && *setup.user != ::geteuid() &&
        (::setgroups(0, nullptr) != 0 || ::setgid(*setup.user) != 0 ||
         ::setuid(*setup.user) != 0)) {
      ::_exit(126);
    }
    if (setup.openFileLimit) {
      const rlimit limit{*setup.openFileLimit, *setup.openFileLimit};
      if (::setrlimit(RLIMIT_NOFILE, &limit) != 0) ::_exit(126);
    }
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ProgramRun run;
  if (errorPipe[0] >= 0) {
    ::close(errorPipe[1]);
    run.err = ReadErrorsSignalling(errorPipe[0], pid, *setup.signalAfterFirstErrorLine);
    ::close(errorPipe[0]);
  }
  int wait = 0;
  if (::waitpid(pid, &wait, 0) != pid) throw std::runtime_error("lost the program");
  if (setup.terminal) {
    run.out = DrainTerminal(master);
    ::close(terminal);
    ::close(master);
  }
  run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
  if (!setup.terminal) {
    if (!setup.standardOutput) run.out = ReadFile(outPath);
    if (errorPipe[0] < 0) run.err = ReadFile(errPath);
  }
  return run;
}

std::optional<uid_t> UnprivilegedUser() {
  if (::geteuid() != 0) return ::geteuid();
  const passwd* nobody = ::getpwnam("nobody");
  if (!nobody) return std::nullopt;
  // A build or a temporary folder inside a home folder of mode 0700 is out of
  // that user's reach: the program could not even start.
  const std::string temporary = std::filesystem::temp_directory_path().string();
  const uid_t user = nobody->pw_uid;
  const pid_t pid = ::fork();
  if (pid == 0) {
    const bool reaches = ::setgroups(0, nullptr) == 0 && ::setgid(user) == 0 &&
                         ::setuid(user) == 0 && ::access(QUILLMERE_CLI, X_OK) == 0 &&
                         ::access(temporary.c_str(), W_OK | X_OK) == 0;
    ::_exit(reaches ? 0 : 1);
  }
  int wait = 0;
  const bool reaches =
      pid > 0 && ::waitpid(pid, &wait, 0) == pid && WIFEXITED(wait) && WEXITSTATUS(wait) == 0;
  return reaches ? std::optional<uid_t>(user) : std::nullopt;
}

}  // namespace quill::testing
