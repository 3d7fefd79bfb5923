#include "shell/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <iterator>

namespace quill {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The signal handler may only touch what is async-signal-safe: it notes the
// request in a flag, which Pending reads without a system call (a scan asks
// for every book), and writes one byte into the pipe whose write end it finds
// here, for an event loop that waits on the descriptor.
volatile sig_atomic_t gWriteEnd = -1;
volatile sig_atomic_t gArrived = 0;
struct sigaction gPrevious[std::size(kSignals)];

void OnTerminationSignal(int) {
  const int savedErrno = errno;
  gArrived = 1;
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
  gArrived = 0;

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

bool TerminationSignals::Pending() const { return readEnd_ >= 0 && gArrived != 0; }

void TerminationSignals::Drain() {
  if (readEnd_ < 0) return;
  // Cleared before the pipe is emptied: a request that arrives in between
  // stays pending rather than being lost.
  gArrived = 0;
  char bytes[64];
  while (::read(readEnd_, bytes, sizeof bytes) > 0) {
  }
}

}  // namespace quill
