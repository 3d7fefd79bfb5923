#include "shell/termination_signals.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <iterator>

namespace quill {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};

// The signal handler may only touch what is async-signal-safe: it writes one
// byte into the pipe whose write end it finds here.
volatile sig_atomic_t gWriteEnd = -1;
struct sigaction gPrevious[std::size(kSignals)];

void OnTerminationSignal(int) {
  const int savedErrno = errno;
  const char byte = 1;
  // A full pipe already holds a pending request; nothing more is needed.
  [[maybe_unused]] const ssize_t written = ::write(gWriteEnd, &byte, 1);
  errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals() {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
  readEnd_ = ends[0];
  writeEnd_ = ends[1];
  gWriteEnd = writeEnd_;

  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kSignals); ++i)
    ::sigaction(kSignals[i], &action, &gPrevious[i]);
}

TerminationSignals::~TerminationSignals() {
  if (readEnd_ < 0) return;
  for (std::size_t i = 0; i < std::size(kSignals); ++i)
    ::sigaction(kSignals[i], &gPrevious[i], nullptr);
  gWriteEnd = -1;
  ::close(writeEnd_);
  ::close(readEnd_);
}

bool TerminationSignals::Pending() const {
  if (readEnd_ < 0) return false;
  pollfd request{readEnd_, POLLIN, 0};
  return ::poll(&request, 1, 0) > 0 && (request.revents & POLLIN) != 0;
}

void TerminationSignals::Drain() {
  if (readEnd_ < 0) return;
  char bytes[64];
  while (::read(readEnd_, bytes, sizeof bytes) > 0) {
  }
}

}  // namespace quill
