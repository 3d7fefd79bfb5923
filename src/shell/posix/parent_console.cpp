#include "shell/parent_console.h"

namespace quill {

// The standard streams are the terminal's, or where they were sent.
ParentConsole::ParentConsole() noexcept = default;

ParentConsole::~ParentConsole() = default;

void ParentConsole::Write(std::FILE* stream, std::string_view text) const {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace quill
