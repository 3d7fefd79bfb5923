#include "shell/terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace quill {

bool StandardErrorTakesEscapes() noexcept {
  const char* term = std::getenv("TERM");
  return ::isatty(STDERR_FILENO) == 1 && term != nullptr && *term != '\0' &&
         std::string_view(term) != "dumb";
}

bool StandardOutputIsTerminal() noexcept { return ::isatty(STDOUT_FILENO) == 1; }

int StandardErrorColumns() noexcept {
  struct winsize size {};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

std::optional<bool> WriteToWideConsole(std::FILE*, std::string_view) { return std::nullopt; }

}  // namespace quill
