#include "shell/terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace quill {

bool StandardErrorIsTerminal() noexcept { return ::isatty(STDERR_FILENO) == 1; }

int StandardErrorColumns() noexcept {
  struct winsize size {};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

}  // namespace quill
