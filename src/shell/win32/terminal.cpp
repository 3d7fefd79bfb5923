#include "shell/terminal.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/win32/crt_handle.h"
#include "base/win32/wide_text.h"

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

std::optional<bool> WriteToWideConsole(std::FILE* stream, std::string_view text) {
  const int descriptor = _fileno(stream);
  if (descriptor < 0) return std::nullopt;
  const HANDLE console = FileHandleOf(descriptor);
  DWORD mode = 0;
  if (console == INVALID_HANDLE_VALUE || !::GetConsoleMode(console, &mode)) return std::nullopt;
  // What the stream holds was written before this text.
  if (std::fflush(stream) != 0) return false;
  const std::wstring wide = WideOf(text);
  // Consoles refuse very long writes: the text goes in pieces that never part
  // the two halves of a surrogate pair.
  constexpr std::size_t kPiece = 8192;
  for (std::size_t start = 0; start < wide.size();) {
    std::size_t count = std::min(kPiece, wide.size() - start);
    if (start + count < wide.size() && IS_HIGH_SURROGATE(wide[start + count - 1])) --count;
    DWORD written = 0;
    if (!::WriteConsoleW(console, wide.data() + start, static_cast<DWORD>(count), &written,
                         nullptr) ||
        written == 0) {
      errno = EIO;
      return false;
    }
    start += written;
  }
  return true;
}

}  // namespace quill
