#include "shell/parent_console.h"

#include <windows.h>

#include <cstdio>

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

ParentConsole::ParentConsole() noexcept {
  const bool output = LeadsSomewhere(STD_OUTPUT_HANDLE);
  const bool error = LeadsSomewhere(STD_ERROR_HANDLE);
  if ((output && error) || !::AttachConsole(ATTACH_PARENT_PROCESS)) return;
  attached_ = true;
  if (!output) std::freopen("CONOUT$", "w", stdout);
  if (!error) std::freopen("CONOUT$", "w", stderr);
}

ParentConsole::~ParentConsole() {
  if (!attached_) return;
  std::fflush(stdout);
  std::fflush(stderr);
  ::FreeConsole();
}

}  // namespace quill
