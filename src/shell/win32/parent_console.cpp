#include "shell/parent_console.h"

#include <windows.h>

#include <string>

#include "base/win32/wide_text.h"

namespace quill {
namespace {

// Whether the stream was given a file, a pipe or a console: a program started
// from a prompt without a console of its own gets none.
bool LeadsSomewhere(DWORD stream) {
  const HANDLE handle = ::GetStdHandle(stream);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

// The console is written to directly, in UTF-16, rather than through the C
// runtime's streams: those of a program without a console cannot be opened
// anew everywhere, and the console shows every character whatever its code
// page.
ParentConsole::ParentConsole() noexcept {
  const bool output = LeadsSomewhere(STD_OUTPUT_HANDLE);
  const bool error = LeadsSomewhere(STD_ERROR_HANDLE);
  if ((output && error) || !::AttachConsole(ATTACH_PARENT_PROCESS)) return;
  const HANDLE screen =
      ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (screen == INVALID_HANDLE_VALUE) {
    ::FreeConsole();
    return;
  }
  screen_ = screen;
  forOutput_ = !output;
  forError_ = !error;
}

ParentConsole::~ParentConsole() {
  if (screen_ == nullptr) return;
  ::CloseHandle(screen_);
  ::FreeConsole();
}

void ParentConsole::Write(std::FILE* stream, std::string_view text) const {
  if ((stream == stdout && forOutput_) || (stream == stderr && forError_)) {
    const std::wstring wide = WideOf(text);
    DWORD written = 0;
    ::WriteConsoleW(screen_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace quill
