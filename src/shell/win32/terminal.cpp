#include "shell/terminal.h"

#include <windows.h>

#include <cstdlib>
#include <string_view>

namespace quill {
namespace {

bool IsConsole(DWORD stream, DWORD& mode) {
  const HANDLE handle = ::GetStdHandle(stream);
  return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

}  // namespace

bool StandardErrorTakesEscapes() noexcept {
  // A console names no TERM; one that does may still say it is dumb.
  const char* term = std::getenv("TERM");
  if (term != nullptr && std::string_view(term) == "dumb") return false;
  DWORD mode = 0;
  if (!IsConsole(STD_ERROR_HANDLE, mode)) return false;
  // The progress line rewrites itself with the terminal's control sequences.
  return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
         ::SetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE),
                          mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

bool StandardOutputIsTerminal() noexcept {
  DWORD mode = 0;
  return IsConsole(STD_OUTPUT_HANDLE, mode);
}

int StandardErrorColumns() noexcept {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(::GetStdHandle(STD_ERROR_HANDLE), &info)) return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

}  // namespace quill
