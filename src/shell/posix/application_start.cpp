#include "shell/application_start.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

extern char** environ;

namespace quill {
namespace {

// Spawn attributes, released when the object ends.
class SpawnAttributes {
 public:
  SpawnAttributes() { ok_ = ::posix_spawnattr_init(&attributes_) == 0; }
  ~SpawnAttributes() {
    if (ok_) ::posix_spawnattr_destroy(&attributes_);
  }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;

  // A session of its own (a signal to this program's terminal does not reach
  // the started one), no blocked signals, and default handling of the
  // signals this program may ignore or catch.
  bool Detach() {
    sigset_t none, defaults;
    sigemptyset(&none);
    sigfillset(&defaults);
    return ok_ && ::posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
           ::posix_spawnattr_setsigdefault(&attributes_, &defaults) == 0 &&
           ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                                        POSIX_SPAWN_SETSIGDEF) == 0;
  }
  const posix_spawnattr_t* get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_{};
  bool ok_ = false;
};

int WaitFor(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

}  // namespace

bool StartApplication(const std::filesystem::path& program, const std::string& argument) noexcept {
  std::error_code error;
  std::string programPath = std::filesystem::absolute(program, error).string();
  if (error) return false;
  std::string argumentCopy = argument;
  char* const arguments[] = {programPath.data(), argumentCopy.data(), nullptr};
  SpawnAttributes attributes;
  if (!attributes.Detach()) return false;

  // A short-lived intermediate child spawns the program and ends at once; it
  // is waited for here, and the program, orphaned, is adopted and reaped by
  // the system's init. So nothing lingers as a zombie and no SIGCHLD handler
  // is needed that could take another child's status from the GUI toolkit.
  // Everything the child uses is prepared before the fork: a child of a
  // threaded process must not allocate.
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    pid_t started = 0;
    const int result =
        ::posix_spawn(&started, arguments[0], nullptr, attributes.get(), arguments, environ);
    ::_exit(result == 0 ? 0 : 127);
  }
  const int status = WaitFor(child);
  return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace quill
